// The pointer array under the record list (growth, removal), and the list itself: it owns
// and deletes its records, remembers their types, caches its extent and sorts by depth.

#include <algorithm>
#include <random>

#include "HlhsrFixture.h"

using namespace hlhsr;

namespace {

int items[1000];

void* item(int k) {
    return &items[k];
}

/// A mark that counts its own destruction.
class CountedMark : public SoPolyMark {
  public:
    explicit CountedMark(int* deletions, float depth = 0.0f, int k = 0) : deletions(deletions) {
        const SbVec4f p = pt(0, 0, depth);
        const SbColor c = tag(k);
        set(1, &p, &c, 0, 1.0f, nullptr, 0.0f);
        id = k;
    }
    ~CountedMark() override { ++*deletions; }

  private:
    int* deletions;
};

}  // namespace

// ---- PiPList ----

TEST(PointerList, StartsWithRoomForAHundred) {
    PiPList list;
    EXPECT_EQ(list.getLength(), 0);
    EXPECT_EQ(list.getCapacity(), 100);
    for (int k = 0; k < 100; ++k) EXPECT_EQ(list.append(item(k)), k + 1);
    EXPECT_EQ(list.getCapacity(), 100);
}

TEST(PointerList, GrowsToTwiceTheNeededCount) {
    PiPList list;
    for (int k = 0; k < 101; ++k) list.append(item(k));
    EXPECT_EQ(list.getCapacity(), 202);
    for (int k = 0; k < 101; ++k) ASSERT_EQ(list.get(k), item(k));
    list.set(300, item(300));
    EXPECT_EQ(list.getCapacity(), 602);
    EXPECT_EQ(list.getLength(), 301);
    EXPECT_EQ(list.get(150), nullptr);
    EXPECT_EQ(list.get(300), item(300));
}

TEST(PointerList, GetPastTheEndIsNullAndTheIndexOperatorGrows) {
    PiPList list;
    list.append(item(0));
    EXPECT_EQ(list.get(1), nullptr);
    EXPECT_EQ(list.get(-1), nullptr);
    list[4] = item(4);
    EXPECT_EQ(list.getLength(), 5);
    EXPECT_EQ(list.get(4), item(4));
    EXPECT_EQ(list.get(2), nullptr);
    list.set(1, item(1));
    EXPECT_EQ(list.getLength(), 5);
}

TEST(PointerList, RemoveShiftsTheRestDown) {
    PiPList list;
    for (int k = 0; k < 6; ++k) list.append(item(k));
    list.remove(1, 2);
    ASSERT_EQ(list.getLength(), 4);
    EXPECT_EQ(list.get(0), item(0));
    EXPECT_EQ(list.get(1), item(3));
    EXPECT_EQ(list.get(3), item(5));
}

TEST(PointerList, NegativeCountTruncates) {
    PiPList list;
    for (int k = 0; k < 6; ++k) list.append(item(k));
    list.remove(4, -1);
    EXPECT_EQ(list.getLength(), 4);
    EXPECT_EQ(list.get(3), item(3));
}

TEST(PointerList, RemovalAtTheStartAndThroughTheEndIsClamped) {
    PiPList list;
    for (int k = 0; k < 6; ++k) list.append(item(k));
    list.remove(0, 2);
    ASSERT_EQ(list.getLength(), 4);
    EXPECT_EQ(list.get(0), item(2));
    list.remove(2, 10);
    ASSERT_EQ(list.getLength(), 2);
    EXPECT_EQ(list.get(1), item(3));
    list.remove(-1, 1);
    list.remove(2, 1);
    EXPECT_EQ(list.getLength(), 2);
}

// ---- The record list ----

TEST(RecordList, DestructionDeletesEveryRecord) {
    int deletions = 0;
    {
        SoGraphicPrimitiveList list;
        for (int k = 0; k < 150; ++k) list.add(new CountedMark(&deletions));
    }
    EXPECT_EQ(deletions, 150);
}

TEST(RecordList, RemoveDeletesExactlyTheRecordsItTakesOut) {
    int deletions = 0;
    SoGraphicPrimitiveList list;
    for (int k = 0; k < 6; ++k) list.add(new CountedMark(&deletions, 0.0f, k));
    list.remove(1, 2);
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{0, 3, 4, 5}));
    list.remove(2, -1);
    EXPECT_EQ(deletions, 4);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{0, 3}));
    list.remove(5, 1);
    EXPECT_EQ(deletions, 4);
}

TEST(RecordList, RemoveAtDeletesAndClosesTheGap) {
    int deletions = 0;
    SoGraphicPrimitiveList list;
    for (int k = 0; k < 4; ++k) list.add(new CountedMark(&deletions, 0.0f, k));
    list.removeAt(0);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{1, 2, 3}));
    list.removeAt(7);
    EXPECT_EQ(list.getLength(), 3);
    list.swap(0, 2);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{3, 2, 1}));
}

TEST(RecordList, RemembersEveryTypeEverAdded) {
    SoGraphicPrimitiveList list;
    EXPECT_FALSE(list.hasType(SoGraphicPrimitive::POLYGON));
    list.add(square(0, 0, 1, 1, 0));
    list.add(mark(pt(0, 0, 0)));
    EXPECT_TRUE(list.hasType(SoGraphicPrimitive::POLYGON));
    EXPECT_TRUE(list.hasType(SoGraphicPrimitive::POLYMARK));
    EXPECT_FALSE(list.hasType(SoGraphicPrimitive::POLYLINE));
    list.remove(0, -1);
    EXPECT_TRUE(list.hasType(SoGraphicPrimitive::POLYGON));
}

TEST(RecordList, ExtentCoversBoxesAndDepthsAndFollowsAdditions) {
    SoGraphicPrimitiveList list;
    list.add(polygon({pt(-0.5f, 0, 0.25f), pt(0, 0.5f, 0.75f), pt(0.25f, -0.25f, 0.5f)}));
    EXPECT_EQ(list.getBBox(), SbBox3f(-0.5f, -0.25f, 0.25f, 0.25f, 0.5f, 0.75f));
    list.add(mark(pt(1, 1, 0.125f)));
    EXPECT_EQ(list.getBBox(), SbBox3f(-0.5f, -0.25f, 0.125f, 1, 1, 0.75f));
    list.removeAt(1);
    EXPECT_EQ(list.getBBox(), SbBox3f(-0.5f, -0.25f, 0.25f, 0.25f, 0.5f, 0.75f));
}

TEST(RecordList, SortPutsTheFarthestFirst) {
    SoGraphicPrimitiveList list;
    const float depths[5] = {0.5f, 0.9f, 0.1f, 0.7f, 0.3f};
    for (int k = 0; k < 5; ++k) list.add(mark(pt(0, 0, depths[k]), k));
    list.sort(0);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{1, 3, 0, 4, 2}));
}

TEST(RecordList, EqualDepthsKeepTheirStorageOrder) {
    SoGraphicPrimitiveList list;
    // Ids given in storage order; enough equal keys that a heap sort would scramble them.
    for (int k = 0; k < 40; ++k) list.add(mark(pt(0, 0, k % 3 == 0 ? 0.5f : 0.25f), k));
    list.sort(0);
    std::vector<int> expected;
    for (int k = 0; k < 40; k += 3) expected.push_back(k);
    for (int k = 0; k < 40; ++k) {
        if (k % 3 != 0) expected.push_back(k);
    }
    EXPECT_EQ(tagsOf(list), expected);
}

TEST(RecordList, SortFromAnIndexLeavesTheHeadAlone) {
    SoGraphicPrimitiveList list;
    const float depths[5] = {0.1f, 0.2f, 0.3f, 0.9f, 0.5f};
    for (int k = 0; k < 5; ++k) list.add(mark(pt(0, 0, depths[k]), k));
    list.sort(2);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{0, 1, 3, 4, 2}));
}

TEST(RecordList, SortMatchesAStableSortOnRandomDepths) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> depth(0, 20);
    for (int round = 0; round < 20; ++round) {
        SoGraphicPrimitiveList list;
        std::vector<std::pair<float, int>> reference;
        const int n = 1 + round * 17;
        for (int k = 0; k < n; ++k) {
            const float z = depth(random) / 20.0f;
            list.add(mark(pt(0, 0, z), k % 256));
            list.getPrimitive(k)->id = k;
            reference.emplace_back(z, k);
        }
        list.sort(0);
        std::stable_sort(reference.begin(), reference.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (int k = 0; k < n; ++k) ASSERT_EQ(list.getPrimitive(k)->id, reference[k].second);
    }
}
