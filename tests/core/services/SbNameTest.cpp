#include <Tessara/base/SbName.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

TEST(SbName, EqualTextsShareOneEntry) {
    const SbName a("Separator");
    const std::string built = std::string("Sepa") + "rator";
    const SbName b(built.c_str());
    const SbName c(SbString("Separator"));
    EXPECT_EQ(a.getString(), b.getString());  // the very same pointer
    EXPECT_EQ(a.getString(), c.getString());
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a != c);
    EXPECT_NE(SbName("Separator").getString(), SbName("separator").getString());
}

TEST(SbName, EmptyName) {
    const SbName empty;
    EXPECT_TRUE(!empty);
    EXPECT_STREQ(empty.getString(), "");
    EXPECT_EQ(empty.getLength(), 0);
    EXPECT_EQ(empty, SbName(""));
    EXPECT_EQ(empty, SbName(static_cast<const char*>(nullptr)));
    EXPECT_EQ(empty, SbName(SbString()));
    EXPECT_FALSE(!SbName("x"));
}

TEST(SbName, ComparesWithPlainText) {
    const SbName name("Cube");
    EXPECT_TRUE(name == "Cube");
    EXPECT_TRUE("Cube" == name);
    EXPECT_TRUE(name != "Cone");
    EXPECT_TRUE("Cone" != name);
    EXPECT_FALSE(name == "Cub");
    EXPECT_TRUE(SbName() == static_cast<const char*>(nullptr));
}

TEST(SbName, LengthAndHashFollowTheText) {
    const SbName name("caf\xC3\xA9");
    EXPECT_EQ(name.getLength(), 4);
    EXPECT_EQ(name.hash(), SbString("caf\xC3\xA9").hash());
    // Latin-1 input is stored as UTF-8, so both spellings are one name.
    EXPECT_EQ(SbName("caf\xE9"), name);
    EXPECT_TRUE(name == "caf\xE9");
}

TEST(SbName, OrdersByTextForMaps) {
    std::map<SbName, int> byName;
    byName[SbName("zeta")] = 1;
    byName[SbName("alpha")] = 2;
    byName[SbName("mid")] = 3;
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

TEST(SbName, IdentifierCharacters) {
    EXPECT_TRUE(SbName::isIdentStartChar('a'));
    EXPECT_TRUE(SbName::isIdentStartChar('Z'));
    EXPECT_TRUE(SbName::isIdentStartChar('_'));
    EXPECT_FALSE(SbName::isIdentStartChar('1'));
    EXPECT_FALSE(SbName::isIdentStartChar('-'));
    EXPECT_FALSE(SbName::isIdentStartChar(static_cast<char>(0xC3)));
    EXPECT_TRUE(SbName::isIdentChar('7'));
    EXPECT_TRUE(SbName::isIdentChar('_'));
    EXPECT_FALSE(SbName::isIdentChar('.'));
    EXPECT_FALSE(SbName::isIdentChar(' '));
    EXPECT_FALSE(SbName::isIdentChar('\0'));
}

TEST(SbName, BaseNameCharacters) {
    for (const char c : std::string("{}[]\",\\+.' \t\n\r")) {
        EXPECT_FALSE(SbName::isBaseNameChar(c)) << "char " << static_cast<int>(c);
        EXPECT_FALSE(SbName::isBaseNameStartChar(c)) << "char " << static_cast<int>(c);
    }
    for (const char c : std::string("aZ_-#$%&*/:;<=>?@^|~!()")) {
        EXPECT_TRUE(SbName::isBaseNameChar(c)) << c;
        EXPECT_TRUE(SbName::isBaseNameStartChar(c)) << c;
    }
    EXPECT_TRUE(SbName::isBaseNameChar('5'));
    EXPECT_FALSE(SbName::isBaseNameStartChar('5'));
    EXPECT_FALSE(SbName::isBaseNameChar('\0'));
    EXPECT_FALSE(SbName::isBaseNameChar('\x7F'));
    EXPECT_TRUE(SbName::isBaseNameChar(static_cast<char>(0xC3)));  // UTF-8 names
    EXPECT_TRUE(SbName::isBaseNameStartChar(static_cast<char>(0xE4)));
}
