// The pointer array under the record list (growth, removal), and the list itself: it owns
// and deletes its records and sorts them by depth.

#include <algorithm>
#include <random>

#include "HlhsrFixture.h"
#include "support/DebugErrorRecorder.h"

using namespace hlhsr;

namespace {

int items[1000];

void* item(int k) {
    return &items[k];
}

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

TEST(PointerList, RemovalTakesTheClampedRangeAndSettingGrowsTheList) {
    const struct {
        int start, n;
        std::vector<int> left;
    } cases[] = {
        {1, 2, {0, 3, 4, 5}}, {0, 2, {2, 3, 4, 5}},        {4, -1, {0, 1, 2, 3}},
        {3, 10, {0, 1, 2}},   {-1, 1, {0, 1, 2, 3, 4, 5}}, {6, 1, {0, 1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        PiPList list;
        for (int k = 0; k < 6; ++k) list.append(item(k));
        list.remove(c.start, c.n);
        std::vector<int> left;
        for (int k = 0; k < list.getLength(); ++k)
            left.push_back(static_cast<int>(static_cast<int*>(list.get(k)) - items));
        EXPECT_EQ(left, c.left) << "remove(" << c.start << ", " << c.n << ")";
        EXPECT_EQ(list.get(list.getLength()), nullptr);
    }
    PiPList list;
    list[150] = item(150);
    EXPECT_EQ(list.getLength(), 151);
    EXPECT_EQ(list.get(100), nullptr);
    DebugErrorRecorder errors;
    list.set(-1, item(1));
    EXPECT_TRUE(errors.contains("PiPList::set", "Negative"));
    EXPECT_EQ(list.getLength(), 151);
}

TEST(RecordList, DeletesExactlyTheRecordsItTakesOut) {
    int deletions = 0;
    {
        SoGraphicPrimitiveList list;
        for (int k = 0; k < 150; ++k) list.add(new CountedMark(&deletions, k % 10));
        list.remove(1, 2);
        EXPECT_EQ(deletions, 2);
        EXPECT_EQ(tagsOf(list).at(1), 3);
        list.removeAt(0);
        EXPECT_EQ(deletions, 3);
        EXPECT_EQ(tagsOf(list).at(0), 3);
        list.remove(140, -1);
        EXPECT_EQ(deletions, 10);
        DebugErrorRecorder errors;
        list.removeAt(140);
        list.remove(200, 1);
        EXPECT_EQ(deletions, 10);
        EXPECT_TRUE(errors.contains("SoGraphicPrimitiveList::removeAt", "out of"));
    }
    EXPECT_EQ(deletions, 150) << "the rest, with the list";
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
