#include <Tessara/base/SbName.h>
#include <Tessara/base/SbPList.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/DebugErrorRecorder.h"

namespace {

// Distinct addresses to store; the list never dereferences them.
int slots[8];

bool sameItems(SbPList& list, const std::vector<void*>& model) {
    void** array = list.getArrayPtr();
    const SbPList& view = list;
    if (list.getLength() != static_cast<int>(model.size()) || !array != model.empty()) return false;
    for (int i = 0; i < list.getLength(); ++i)
        if (view[i] != model[static_cast<size_t>(i)] || array[i] != view[i]) return false;
    return true;
}

}  // namespace

// Names are compared by pointer all over the type system: one text, one entry.
TEST(SbName, EqualTextsShareOneEntry) {
    const SbName a("caf\xC3\xA9");
    const std::string built = std::string("ca") + "f\xC3\xA9";
    EXPECT_EQ(a.getString(), SbName(built.c_str()).getString());
    EXPECT_EQ(a.getString(), SbName(SbString(built)).getString());
    EXPECT_EQ(a.getString(), SbName("caf\xE9").getString());  // Latin-1 is stored as UTF-8
    EXPECT_NE(a.getString(), SbName("CAF\xC3\xA9").getString());
    EXPECT_TRUE(a == "caf\xE9");
    EXPECT_TRUE("caf\xC3\xA9" == a);
    EXPECT_TRUE(a != "caf");
    EXPECT_EQ(a.getLength(), 4);  // characters, not bytes
    for (const SbName& empty :
         {SbName(), SbName(""), SbName(static_cast<const char*>(nullptr)), SbName(SbString())}) {
        EXPECT_TRUE(!empty);
        EXPECT_EQ(empty.getString(), SbName().getString());
        EXPECT_EQ(empty.getLength(), 0);
        EXPECT_TRUE(empty == static_cast<const char*>(nullptr));
    }
    EXPECT_FALSE(!a);
    // Ordered by text, so that names can key maps.
    EXPECT_TRUE(SbName("alpha") < SbName("mid") && SbName("mid") < SbName("zeta"));
    EXPECT_FALSE(SbName("a") < SbName("a"));
}

TEST(SbName, InterningFromManyThreadsGivesOneEntry) {
    std::vector<const char*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] {
            for (int round = 0; round < 200; ++round) {
                static_cast<void>(SbName(std::to_string(round).c_str()));
            }
            seen[i] = SbName("shared-by-threads").getString();
        });
    }
    for (auto& thread : threads) thread.join();
    for (const char* pointer : seen) EXPECT_EQ(pointer, seen[0]);
    EXPECT_EQ(SbName("150"), SbName(SbString(150)));
}

// Random edits, each also made to a std::vector: the list must follow it in every step.
TEST(SbPList, EditsKeepOrderLikeAVector) {
    std::mt19937 rng(7);
    for (int run = 0; run < 20; ++run) {
        SbPList list(4);
        std::vector<void*> model;
        for (int step = 0; step < 60; ++step) {
            void* item = &slots[rng() % 8];
            const int size = static_cast<int>(model.size());
            const int at = size == 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(size));
            switch (rng() % 6) {
                case 0:
                    list.append(item);
                    model.push_back(item);
                    break;
                case 1: {
                    const int before = rng() % 2 ? at : size;  // at the end appends
                    list.insert(item, before);
                    model.insert(model.begin() + before, item);
                    break;
                }
                case 2:
                    if (size == 0) break;
                    list.remove(at);
                    model.erase(model.begin() + at);
                    break;
                case 3:
                    if (size == 0) break;
                    list.set(at, item);
                    list[at] = item;
                    model[static_cast<size_t>(at)] = item;
                    break;
                case 4:
                    list.truncate(at);
                    model.resize(static_cast<size_t>(at));
                    break;
                default: {
                    const auto found = std::find(model.begin(), model.end(), item);
                    EXPECT_EQ(list.find(item),
                              found == model.end() ? -1 : static_cast<int>(found - model.begin()));
                }
            }
            ASSERT_TRUE(sameItems(list, model)) << "run " << run << " step " << step;
        }
        SbPList copy;
        copy.copy(list);
        EXPECT_EQ(copy, list);
        copy.append(nullptr);  // a copy, not a view
        EXPECT_NE(copy, list);
        EXPECT_EQ(copy.find(nullptr), copy.getLength() - 1);
    }
}

TEST(SbPList, BadIndicesPostAndLeaveTheListAlone) {
    SbPList list;
    list.append(&slots[0]);
    list.append(&slots[1]);
    const SbPList before = list;
    DebugErrorRecorder recorder;
    list.insert(&slots[2], 3);
    list.insert(&slots[2], -1);
    list.remove(2);
    list.remove(-1);
    list.set(2, &slots[3]);
    list.truncate(3);
    list.truncate(-1);
    void*& dummy = list[5];
    EXPECT_EQ(dummy, nullptr);
    dummy = &slots[3];  // must not land in the list, nor stick for the next bad index
    EXPECT_EQ(list[-1], nullptr);
    EXPECT_EQ(static_cast<const SbPList&>(list)[2], nullptr);
    EXPECT_EQ(list, before);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 10u) << recorder.dump();
    EXPECT_TRUE(recorder.contains("SbPList::operator[]", "5"));
}
