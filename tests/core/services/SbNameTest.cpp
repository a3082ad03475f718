#include <Tessara/base/SbName.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

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
    EXPECT_FALSE(a != SbName(built.c_str()));
    EXPECT_EQ(a.getLength(), 4);
    EXPECT_EQ(a.hash(), SbString(built).hash());
    for (const SbName& empty :
         {SbName(), SbName(""), SbName(static_cast<const char*>(nullptr)), SbName(SbString())}) {
        EXPECT_TRUE(!empty);
        EXPECT_EQ(empty.getString(), SbName().getString());
        EXPECT_EQ(empty.getLength(), 0);
        EXPECT_TRUE(empty == static_cast<const char*>(nullptr));
    }
    EXPECT_FALSE(!a);
}

TEST(SbName, OrdersByTextForMaps) {
    std::map<SbName, int> byName{{SbName("zeta"), 1}, {SbName("alpha"), 2}, {SbName("mid"), 3}};
    std::vector<std::string> order;
    for (const auto& entry : byName) order.emplace_back(entry.first.getString());
    EXPECT_EQ(order, (std::vector<std::string>{"alpha", "mid", "zeta"}));
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

// What may appear in a scene file's type names and in its DEF names.
TEST(SbName, CharacterClasses) {
    const struct {
        bool (*test)(char);
        std::string yes;
        std::string no;
    } classes[] = {
        {SbName::isIdentStartChar, "aZ_", std::string("19-.\xC3 \0", 7)},
        {SbName::isIdentChar, "aZ_7", std::string("-. \xC3\0", 5)},
        {SbName::isBaseNameChar, "aZ_-#$%&*/:;<=>?@^|~!()5\xC3",
         std::string("{}[]\",\\+.' \t\n\r\x7F\0", 16)},
        {SbName::isBaseNameStartChar, "aZ_-#$%&*/:;<=>?@^|~!()\xE4",
         std::string("5{}[]\",\\+.' \t\n\r\x7F\0", 17)},
    };
    for (const auto& c : classes) {
        for (const char ch : c.yes) EXPECT_TRUE(c.test(ch)) << c.yes << ": " << int(ch);
        for (const char ch : c.no) EXPECT_FALSE(c.test(ch)) << c.yes << ": " << int(ch);
    }
}
