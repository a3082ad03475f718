// Character-based substring/find and the encoding conversions of SbString.
#include <Tessara/base/SbString.h>
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "support/DebugErrorRecorder.h"

namespace {

// é U+00E9, € U+20AC, 中 U+4E2D, 😀 U+1F600, as UTF-8 bytes.
const char* const kE = "\xC3\xA9";
const char* const kEuro = "\xE2\x82\xAC";
const char* const kZhong = "\xE4\xB8\xAD";
const char* const kGrin = "\xF0\x9F\x98\x80";

SbString join(std::initializer_list<const char*> parts) {
    std::string bytes;
    for (const char* part : parts) bytes += part;
    return SbString(bytes);
}

}  // namespace

TEST(SbStringText, SubStringCountsCharacters) {
    const SbString s = join({"a", kE, kEuro, "b", kZhong});  // 5 characters
    EXPECT_EQ(s.getSubString(1, 2), join({kE, kEuro}));
    EXPECT_EQ(s.getSubString(3), join({"b", kZhong}));
    EXPECT_EQ(s.getSubString(4, 4), SbString(kZhong));
    EXPECT_EQ(s.getSubString(0), s);
    EXPECT_EQ(s.getSubString(5), SbString());  // the empty tail is a valid range
}

TEST(SbStringText, BadSubStringRangesPostAndGiveEmpty) {
    const SbString s("abc");
    DebugErrorRecorder recorder;
    EXPECT_EQ(s.getSubString(-1, 1), SbString());
    EXPECT_EQ(s.getSubString(1, 3), SbString());
    EXPECT_EQ(s.getSubString(2, 0), SbString());
    EXPECT_EQ(s.getSubString(4), SbString());
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 4u) << recorder.dump();
    EXPECT_TRUE(recorder.contains("SbString::getSubString", "outside a string of 3"));
}

TEST(SbStringText, RangeConstructorTakesCharacters) {
    const std::string bytes = std::string("x") + kEuro + kZhong + "y";
    EXPECT_EQ(SbString(bytes.c_str(), 1, 2), join({kEuro, kZhong}));
    EXPECT_EQ(SbString("hello", 1, -1), "ello");
    EXPECT_EQ(SbString("hello", 0, 0), "h");
}

TEST(SbStringText, DeleteSubString) {
    SbString s = join({"a", kE, kEuro, "b"});
    s.deleteSubString(1, 2);
    EXPECT_EQ(s, "ab");
    SbString t = join({"x", kZhong, kGrin});
    t.deleteSubString(1);
    EXPECT_EQ(t, "x");
    DebugErrorRecorder recorder;
    t.deleteSubString(3, 4);
    EXPECT_EQ(t, "x");
    EXPECT_TRUE(recorder.contains("SbString::deleteSubString"));
}

TEST(SbStringText, FindGivesCharacterIndices) {
    const SbString s = join({kE, kEuro, "ab", kZhong, "ab"});
    EXPECT_EQ(s.find("ab"), 2);
    EXPECT_EQ(s.rfind("ab"), 5);
    EXPECT_EQ(s.find(kZhong), 4);
    EXPECT_EQ(s.rfind(kE), 0);
    EXPECT_EQ(s.find("zz"), -1);
    EXPECT_EQ(s.rfind("zz"), -1);
    EXPECT_EQ(SbString().find("a"), -1);
}

TEST(SbStringText, InvalidUtf8IsReadAsLatin1) {
    const SbString s("caf\xE9 \xA4");  // Latin-1 "café ¤"
    EXPECT_EQ(s, join({"caf", kE, " \xC2\xA4"}));
    EXPECT_EQ(s.getLength(), 6);
    EXPECT_TRUE(SbString::isValidUtf8(s.getString(), s.getByteLength()));
}

TEST(SbStringText, MalformedSequencesAreNotTakenAsUtf8) {
    EXPECT_FALSE(SbString::isValidUtf8("\xC0\xAF", 2));          // overlong '/'
    EXPECT_FALSE(SbString::isValidUtf8("\xED\xA0\x80", 3));      // surrogate U+D800
    EXPECT_FALSE(SbString::isValidUtf8("\xF4\x90\x80\x80", 4));  // above U+10FFFF
    EXPECT_FALSE(SbString::isValidUtf8("\xE2\x82", 2));          // cut short
    EXPECT_TRUE(SbString::isValidUtf8(kGrin, 4));
    // An overlong byte pair therefore becomes two Latin-1 characters.
    EXPECT_EQ(SbString("\xC0\xAF").getLength(), 2);
    EXPECT_EQ(SbString(std::string("\xC0\xAF")), SbString::fromLatin1("\xC0\xAF"));
}

TEST(SbStringText, Latin1RoundTrip) {
    const SbString s = SbString::fromLatin1("na\xEFve \xE9t\xE9");  // "naïve été"
    EXPECT_EQ(s.getLength(), 9);
    EXPECT_FALSE(s.isUnicode());
    EXPECT_STREQ(s.toLatin1(), "na\xEFve \xE9t\xE9");
    // Valid UTF-8 still goes through fromLatin1 byte by byte.
    EXPECT_EQ(SbString::fromLatin1(kE), SbString("\xC3\x83\xC2\xA9"));
}

TEST(SbStringText, Latin1ReplacesWhatItCannotHold) {
    const SbString s = join({kE, kEuro, "x", kZhong, kGrin});
    EXPECT_STREQ(s.toLatin1(), "\xE9?x??");
    EXPECT_TRUE(s.isUnicode());
}

TEST(SbStringText, IsUnicodeStartsAbove0xFF) {
    EXPECT_FALSE(SbString("plain").isUnicode());
    EXPECT_FALSE(SbString("\xC3\xBF").isUnicode());  // U+00FF still fits Latin-1
    EXPECT_TRUE(SbString("\xC4\x80").isUnicode());   // U+0100 does not
    EXPECT_TRUE(SbString(kEuro).isUnicode());
    EXPECT_TRUE(SbString(kZhong).isUnicode());
}

TEST(SbStringText, Utf16RoundTripIncludingSurrogatePairs) {
    const SbString s = join({"a", kE, kEuro, kZhong, kGrin});
    const std::u16string expected = u"a\u00E9\u20AC\u4E2D\U0001F600";
    EXPECT_EQ(std::u16string(s.toUtf16()), expected);
    EXPECT_EQ(expected.size(), 6u);  // the emoji takes a surrogate pair
    EXPECT_EQ(SbString::fromUtf16(expected.c_str()), s);
    EXPECT_EQ(SbString(expected.c_str()), s);
}

TEST(SbStringText, LoneSurrogatesBecomeReplacementCharacters) {
    const char16_t broken[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    EXPECT_EQ(SbString::fromUtf16(broken), SbString("a\xEF\xBF\xBD"
                                                    "b\xEF\xBF\xBD"));
    const char16_t trailingHigh[] = {u'z', 0xD83D, 0};
    EXPECT_EQ(SbString::fromUtf16(trailingHigh), SbString("z\xEF\xBF\xBD"));
}

TEST(SbStringText, ConvertedBuffersFollowChanges) {
    SbString s("ab");
    EXPECT_STREQ(s.toLatin1(), "ab");
    EXPECT_EQ(std::u16string(s.toUtf16()), u"ab");
    s += kE;
    EXPECT_STREQ(s.toLatin1(), "ab\xE9");
    EXPECT_EQ(std::u16string(s.toUtf16()), u"ab\u00E9");
    SbString copy(s);
    s.makeEmpty();
    EXPECT_STREQ(s.toLatin1(), "");
    EXPECT_STREQ(copy.toLatin1(), "ab\xE9");
}

TEST(SbStringText, WideCharacterConstructor) {
    EXPECT_EQ(SbString(L"x\u00E9\u20AC\U0001F600"), join({"x", kE, kEuro, kGrin}));
    EXPECT_EQ(SbString(static_cast<const wchar_t*>(nullptr)), SbString());
}

// Numbers written through formatC/setNum must not follow the process locale.
TEST(SbStringText, FormatCIgnoresTheProcessLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"};
    bool commaLocale = false;
    for (const char* name : candidates) {
        if (std::setlocale(LC_NUMERIC, name) && SbString::format("%.1f", 1.5) == "1,5") {
            commaLocale = true;
            break;
        }
    }
    EXPECT_EQ(SbString::formatC("%.2f|%g", 3.25, 0.5), "3.25|0.5");
    SbString number;
    number.setNum(-2.75);
    EXPECT_EQ(number, "-2.75");
    std::setlocale(LC_NUMERIC, previous.c_str());
    if (!commaLocale) {
        std::cout << "[   NOTE   ] no decimal-comma locale installed; checked under " << previous
                  << " only\n";
    }
}
