#include <Tessara/base/SbString.h>
#include <gtest/gtest.h>

#include <sstream>
#include <unordered_set>

#include "support/DebugErrorRecorder.h"

// "h€llo 中" spelled out in bytes so the test does not depend on the source encoding.
static const char* const kMixed = "h\xE2\x82\xACllo \xE4\xB8\xAD";

TEST(SbStringBasics, EmptyAndNullAreTheSame) {
    SbString empty;
    SbString fromNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_TRUE(fromNull.isEmpty());
    EXPECT_STREQ(empty.getString(), "");
    EXPECT_EQ(empty.getLength(), 0);
    EXPECT_EQ(empty, fromNull);
    EXPECT_EQ(empty, "");
}

TEST(SbStringBasics, LengthCountsCharactersNotBytes) {
    SbString s(kMixed);
    EXPECT_EQ(s.getLength(), 7);
    EXPECT_EQ(s.getByteLength(), 11);
    EXPECT_FALSE(s.isEmpty());
    s.makeEmpty();
    EXPECT_TRUE(s.isEmpty());
    EXPECT_EQ(s.getByteLength(), 0);
}

TEST(SbStringBasics, NumberConstructorAndSetNum) {
    EXPECT_STREQ(SbString(-42).getString(), "-42");
    SbString s;
    s.setNum(2147483647);
    EXPECT_EQ(s, "2147483647");
    s.setNum(0.5);
    EXPECT_EQ(s, "0.5");
    s.setNum(1.0 / 3.0);
    EXPECT_EQ(s, "0.333333");  // "%g" keeps six significant digits
    s.setNum(1e20);
    EXPECT_EQ(s, "1e+20");
}

TEST(SbStringBasics, AppendAndConcatenate) {
    SbString s("ab");
    s += SbString("cd");
    s += "ef";
    s += 'g';
    EXPECT_EQ(s, "abcdefg");
    EXPECT_EQ(SbString("x") + SbString("y"), "xy");
    EXPECT_EQ(SbString("x") + "y", "xy");
    EXPECT_EQ("x" + SbString("y"), "xy");
    s += static_cast<const char*>(nullptr);
    EXPECT_EQ(s, "abcdefg");
}

TEST(SbStringBasics, AppendingItselfDoublesTheText) {
    SbString s("ab\xC3\xA9");
    s += s;
    EXPECT_EQ(s,
              "ab\xC3\xA9"
              "ab\xC3\xA9");
    SbString t("xyz");
    t += t.getString();
    EXPECT_EQ(t, "xyzxyz");
    t = t.getString() + 3;  // assigning a pointer into our own text
    EXPECT_EQ(t, "xyz");
}

TEST(SbStringBasics, AppendedHighByteCharIsLatin1) {
    SbString s("caf");
    s += static_cast<char>(0xE9);
    EXPECT_EQ(s, "caf\xC3\xA9");
    EXPECT_EQ(s.getLength(), 4);
}

TEST(SbStringBasics, ComparisonWithStringsAndPointers) {
    const SbString abc("abc");
    EXPECT_TRUE(abc == "abc");
    EXPECT_TRUE("abc" == abc);
    EXPECT_TRUE(abc != "abd");
    EXPECT_TRUE("abd" != abc);
    EXPECT_FALSE(abc == "ab");
    EXPECT_TRUE(abc < SbString("abd"));
    EXPECT_TRUE(abc < "b");
    EXPECT_TRUE("ab" < abc);
    EXPECT_FALSE(abc < "abc");
    // Byte order of UTF-8 is code point order: é (U+00E9) sorts before € (U+20AC).
    EXPECT_TRUE(SbString("\xC3\xA9") < SbString("\xE2\x82\xAC"));
    EXPECT_TRUE(SbString("z") < SbString("\xC3\xA9"));
}

TEST(SbStringBasics, CompareWithLatin1PointerConvertsIt) {
    const SbString cafe("caf\xC3\xA9");
    EXPECT_TRUE(cafe == "caf\xE9");
    EXPECT_FALSE(cafe != "caf\xE9");
}

TEST(SbStringBasics, ByteAccessAndBadIndex) {
    const SbString s("\xC3\xA9x");
    EXPECT_EQ(s[0], static_cast<char>(0xC3));
    EXPECT_EQ(s[2], 'x');
    DebugErrorRecorder recorder;
    EXPECT_EQ(s[3], '\0');
    EXPECT_EQ(s[-1], '\0');
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 2u);
    EXPECT_TRUE(recorder.contains("SbString::operator[]", "byte index 3"));
}

TEST(SbStringBasics, CopiesAreIndependent) {
    SbString a("one");
    SbString b(a);
    b += "two";
    EXPECT_EQ(a, "one");
    EXPECT_EQ(b, "onetwo");
    SbString c(std::move(b));
    EXPECT_EQ(c, "onetwo");
    EXPECT_TRUE(b.isEmpty());  // NOLINT: moved-from strings are documented as empty
    a = c;
    c.makeEmpty();
    EXPECT_EQ(a, "onetwo");
}

TEST(SbStringBasics, HashIsFnv1aAndFitsUnorderedSets) {
    EXPECT_EQ(SbString().hash(), 2166136261u);
    EXPECT_EQ(SbString("a").hash(), 0xE40C292Cu);  // published FNV-1a test vector
    EXPECT_EQ(SbString("foobar").hash(), 0xBF9CF968u);
    EXPECT_EQ(SbString("x").hash(), SbString::hash("x"));
    std::unordered_set<SbString> set{SbString("a"), SbString("b"), SbString("a")};
    EXPECT_EQ(set.size(), 2u);
}

TEST(SbStringBasics, AsciiCaseChangeLeavesOtherCharactersAlone) {
    const SbString s("AbC \xC3\x89t\xC3\xA9 z9");  // "AbC Été z9"
    EXPECT_EQ(s.toLower(), "abc \xC3\x89t\xC3\xA9 z9");
    EXPECT_EQ(s.toUpper(), "ABC \xC3\x89T\xC3\xA9 Z9");
    EXPECT_EQ(s, "AbC \xC3\x89t\xC3\xA9 z9");  // the original is untouched
}

TEST(SbStringBasics, StreamsAsUtf8) {
    std::ostringstream out;
    out << SbString(kMixed) << '|';
    EXPECT_EQ(out.str(), std::string(kMixed) + "|");
}

TEST(SbStringBasics, FormatBuildsLongTexts) {
    EXPECT_EQ(SbString::format("%s-%d-%c", "ab", 7, 'z'), "ab-7-z");
    const std::string big(5000, 'q');
    const SbString formatted = SbString::format("[%s]", big.c_str());
    EXPECT_EQ(formatted.getByteLength(), 5002);
    EXPECT_EQ(formatted.getSubString(1, 5000), SbString(big));
}
