#include <Tessara/base/SbPList.h>
#include <gtest/gtest.h>

#include "support/DebugErrorRecorder.h"

namespace {

// Distinct addresses to store; the list never dereferences them.
int slots[8];

void* at(int i) {
    return &slots[i];
}

SbPList listOf(std::initializer_list<int> indices) {
    SbPList list;
    for (const int i : indices) list.append(at(i));
    return list;
}

}  // namespace

TEST(SbPList, AppendInsertRemoveKeepOrder) {
    SbPList list = listOf({0, 1, 2});
    list.insert(at(3), 1);
    EXPECT_EQ(list, listOf({0, 3, 1, 2}));
    list.insert(at(4), 0);
    list.insert(at(5), list.getLength());  // inserting at the end appends
    EXPECT_EQ(list, listOf({4, 0, 3, 1, 2, 5}));
    list.remove(0);
    list.remove(2);
    EXPECT_EQ(list, listOf({0, 3, 2, 5}));
    list.remove(3);
    EXPECT_EQ(list, listOf({0, 3, 2}));
    EXPECT_EQ(list.getLength(), 3);
}

TEST(SbPList, FindGivesFirstIndex) {
    SbPList list = listOf({1, 2, 1});
    EXPECT_EQ(list.find(at(1)), 0);
    EXPECT_EQ(list.find(at(2)), 1);
    EXPECT_EQ(list.find(at(7)), -1);
    list.append(nullptr);
    EXPECT_EQ(list.find(nullptr), 3);
    EXPECT_EQ(SbPList().find(nullptr), -1);
}

TEST(SbPList, TruncateAndCopy) {
    SbPList list = listOf({0, 1, 2, 3});
    list.truncate(2);
    EXPECT_EQ(list, listOf({0, 1}));
    list.truncate(0);
    EXPECT_EQ(list.getLength(), 0);
    SbPList other = listOf({5, 6});
    list.copy(other);
    EXPECT_EQ(list, other);
    other.append(at(7));
    EXPECT_NE(list, other);  // a copy, not a view
    EXPECT_EQ(list.getLength(), 2);
}

TEST(SbPList, IndexingReadsAndWrites) {
    SbPList list = listOf({0, 1});
    list[1] = at(6);
    list.set(0, at(5));
    const SbPList& view = list;
    EXPECT_EQ(view[0], at(5));
    EXPECT_EQ(view[1], at(6));
    void** array = list.getArrayPtr();
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array[1], at(6));
    EXPECT_EQ(SbPList().getArrayPtr(), nullptr);
}

TEST(SbPList, OutOfRangeIndexGivesNullDummyAndPosts) {
    SbPList list = listOf({0});
    DebugErrorRecorder recorder;
    void*& dummy = list[5];
    EXPECT_EQ(dummy, nullptr);
    dummy = at(3);  // must not land in the list, nor stick for the next bad index
    EXPECT_EQ(list[-1], nullptr);
    EXPECT_EQ(static_cast<const SbPList&>(list)[1], nullptr);
    EXPECT_EQ(list, listOf({0}));
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 3u);
    EXPECT_TRUE(recorder.contains("SbPList::operator[]", "index 5 is outside a list of 1"));
}

TEST(SbPList, BadEditsPostAndLeaveTheListAlone) {
    SbPList list = listOf({0, 1});
    DebugErrorRecorder recorder;
    list.insert(at(2), 3);
    list.insert(at(2), -1);
    list.remove(2);
    list.remove(-1);
    list.set(2, at(3));
    list.truncate(3);
    list.truncate(-1);
    EXPECT_EQ(list, listOf({0, 1}));
    EXPECT_EQ(recorder.size(), 7u) << recorder.dump();
    EXPECT_TRUE(recorder.contains("SbPList::truncate", "to 3"));
    EXPECT_TRUE(recorder.contains("SbPList::remove"));
    EXPECT_TRUE(recorder.contains("SbPList::insert"));
}

TEST(SbPList, ManyAppendsGrow) {
    SbPList list(4);
    EXPECT_EQ(list.getLength(), 0);
    for (int i = 0; i < 1000; ++i) list.append(at(i % 8));
    EXPECT_EQ(list.getLength(), 1000);
    EXPECT_EQ(list[999], at(999 % 8));
    EXPECT_EQ(list[500], at(500 % 8));
}
