// The record list: it owns and deletes its records, clamps the ranges it removes and sorts
// its records by depth; the pointer array under it grows to any index it is given.

#include <algorithm>
#include <random>

#include "HlhsrFixture.h"
#include "support/DebugErrorRecorder.h"

using namespace hlhsr;

namespace {

/// A mark that counts its own destruction.
class CountedMark : public SoPolyMark {
  public:
    CountedMark(int* deletions, int k) : deletions(deletions) {
        const SbVec4f p = pt(0, 0, 0);
        const SbColor c = tag(k);
        set(1, &p, &c, 0, 1.0f, nullptr, 0.0f);
    }
    ~CountedMark() override { ++*deletions; }

  private:
    int* deletions;
};

}  // namespace

// A range is clamped to the list; what it takes out is deleted, the rest with the list.
TEST(RecordList, RemovalDeletesExactlyTheClampedRange) {
    const struct {
        int start, n;
        std::vector<int> left;
    } cases[] = {
        {1, 2, {0, 3, 4, 5}}, {0, 2, {2, 3, 4, 5}},        {4, -1, {0, 1, 2, 3}},
        {3, 10, {0, 1, 2}},   {-1, 1, {0, 1, 2, 3, 4, 5}}, {6, 1, {0, 1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        int deletions = 0;
        {
            SoGraphicPrimitiveList list;
            for (int k = 0; k < 6; ++k) list.add(new CountedMark(&deletions, k));
            list.remove(c.start, c.n);
            EXPECT_EQ(tagsOf(list), c.left) << "remove(" << c.start << ", " << c.n << ")";
            EXPECT_EQ(deletions, 6 - static_cast<int>(c.left.size()));
            EXPECT_EQ(list.getPrimitive(list.getLength()), nullptr);
            DebugErrorRecorder errors;
            list.removeAt(static_cast<int>(c.left.size()));
            EXPECT_TRUE(errors.contains("SoGraphicPrimitiveList::removeAt", "out of"));
            list.removeAt(0);
            EXPECT_EQ(deletions, 7 - static_cast<int>(c.left.size()));
        }
        EXPECT_EQ(deletions, 6);
    }
    PiPList list;
    list[150] = &list;
    EXPECT_EQ(list.getLength(), 151);
    EXPECT_EQ(list.get(100), nullptr);
    DebugErrorRecorder errors;
    list.set(-1, &list);
    EXPECT_TRUE(errors.contains("PiPList::set", "Negative"));
    EXPECT_EQ(list.getLength(), 151);
}

TEST(RecordList, SortFromAnIndexIsAStableSortFarthestFirst) {
    // Few distinct depths: many ties, which a heap sort alone would scramble.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> depth(0, 20);
    for (int round = 0; round < 40; ++round) {
        SoGraphicPrimitiveList list;
        std::vector<std::pair<float, int>> expected;
        const int n = 1 + round * 9;
        for (int k = 0; k < n; ++k) {
            const float z = depth(random) / 20.0f;
            list.add(mark(pt(0, 0, z)));
            list.getPrimitive(k)->id = k;
            expected.emplace_back(z, k);
        }
        const int from = std::uniform_int_distribution<int>(0, n)(random);
        list.sort(from);
        std::stable_sort(expected.begin() + from, expected.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (int k = 0; k < n; ++k) {
            ASSERT_EQ(list.getPrimitive(k)->id, expected[k].second) << k;
        }
    }
}
