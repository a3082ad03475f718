#include <Tessara/base/SbString.h>
#include <gtest/gtest.h>
#include <iconv.h>

#include <random>
#include <sstream>
#include <string>
#include <unordered_set>

#include "support/DebugErrorRecorder.h"

namespace {

// Text encoded by the C library's converter, independent of the one under test.
template <typename Text>
Text encode(const std::u32string& text, std::string encoding) {
    const char16_t one = 1;
    const std::string order = *reinterpret_cast<const char*>(&one) ? "LE" : "BE";
    if (sizeof(typename Text::value_type) > 1) encoding += order;
    const iconv_t cd = iconv_open(encoding.c_str(), ("UTF-32" + order).c_str());
    std::string in(reinterpret_cast<const char*>(text.data()), text.size() * 4), out(in);
    char *from = in.data(), *to = out.data();
    size_t left = in.size(), room = out.size();
    EXPECT_NE(iconv(cd, &from, &left, &to, &room), static_cast<size_t>(-1));
    iconv_close(cd);
    return Text(reinterpret_cast<const typename Text::value_type*>(out.data()),
                (out.size() - room) / sizeof(typename Text::value_type));
}

std::string utf8(const std::u32string& text) {
    return encode<std::string>(text, "UTF-8");
}

std::u16string utf16(const std::u32string& text) {
    return encode<std::u16string>(text, "UTF-16");
}

// Characters at the edges of each UTF-8 length, of Latin-1 and of the surrogates.
const char32_t kCharacters[] = {'a',    'Z',    ' ',    '\n',    0x7F,    0x80,    0xE9,
                                0xFF,   0x100,  0x7FF,  0x800,   0xD7FF,  0xE000,  0x20AC,
                                0x4E2D, 0xFFFD, 0xFFFF, 0x10000, 0x1F600, 0x10FFFF};

std::u32string randomText(std::mt19937& rng, int maxLength) {
    std::u32string text;
    for (int n = static_cast<int>(rng() % static_cast<unsigned>(maxLength + 1)); n > 0; --n)
        text += kCharacters[rng() % std::size(kCharacters)];
    return text;
}

}  // namespace

// Lengths, substrings, searches and conversions count characters, whatever their width.
TEST(SbString, CharacterOperationsAgreeWithCodePoints) {
    std::mt19937 rng(11);
    for (int run = 0; run < 400; ++run) {
        const std::u32string model = randomText(rng, 8);
        const SbString s(utf8(model));
        SCOPED_TRACE(s.getString());
        const int length = static_cast<int>(model.size());
        ASSERT_EQ(s.getLength(), length);
        EXPECT_EQ(s.getByteLength(), static_cast<int>(utf8(model).size()));
        EXPECT_EQ(s.isEmpty(), model.empty());
        EXPECT_EQ(std::u16string(s.toUtf16()), utf16(model));
        EXPECT_EQ(SbString::fromUtf16(utf16(model).c_str()), s);
        EXPECT_EQ(SbString(std::wstring(model.begin(), model.end()).c_str()), s);
        std::string latin1;
        bool unicode = false;
        for (const char32_t c : model) {
            latin1 += c <= 0xFF ? static_cast<char>(c) : '?';
            unicode = unicode || c > 0xFF;
        }
        EXPECT_EQ(std::string(s.toLatin1()), latin1);
        EXPECT_EQ(s.isUnicode(), unicode);
        if (!unicode) {
            EXPECT_EQ(SbString::fromLatin1(latin1.c_str()), s);
        }

        // A range from start to end, both included; end -1 means to the end.
        const int start = static_cast<int>(rng() % static_cast<unsigned>(length + 1));
        const int end = start - 1 + static_cast<int>(rng() % (length - start + 1u));
        const int last = end == -1 ? length - 1 : end;
        const std::u32string middle = model.substr(start, last - start + 1);
        EXPECT_EQ(s.getSubString(start, end), SbString(utf8(middle)));
        SbString cut(s);
        EXPECT_EQ(std::string(cut.toLatin1()), latin1);
        cut.deleteSubString(start, end);  // and the converted text follows
        EXPECT_EQ(cut, SbString(utf8(model.substr(0, start) + model.substr(last + 1))));
        EXPECT_EQ(std::string(cut.toLatin1()).size(), model.size() - middle.size());
        const auto expectIndex = [](size_t index) {
            return index == std::u32string::npos ? -1 : static_cast<int>(index);
        };
        const std::u32string other = randomText(rng, 3);
        for (const std::u32string& needle : {middle, other}) {
            EXPECT_EQ(s.find(utf8(needle)), expectIndex(model.find(needle)));
            EXPECT_EQ(s.rfind(utf8(needle)), expectIndex(model.rfind(needle)));
        }
        // UTF-8 byte order is code point order.
        EXPECT_EQ(s < SbString(utf8(other)), model < other);
        EXPECT_EQ(s == SbString(utf8(other)), model == other);
        std::u32string lower = model, upper = model;
        for (char32_t& c : lower) c = c >= 'A' && c <= 'Z' ? c + 32 : c;
        for (char32_t& c : upper) c = c >= 'a' && c <= 'z' ? c - 32 : c;
        EXPECT_EQ(s.toLower(), SbString(utf8(lower)));
        EXPECT_EQ(s.toUpper(), SbString(utf8(upper)));
    }
}

// Bytes that are no UTF-8 are taken as Latin-1, one character per byte.
TEST(SbString, InvalidUtf8IsLatin1) {
    // Latin-1, overlong forms, a surrogate, a code point above U+10FFFF, a sequence cut short,
    // a lone continuation byte, a bad continuation byte and a lead byte no UTF-8 has.
    const std::string cases[] = {
        "caf\xE9",          "\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF", "\xED\xA0\x80",
        "\xF4\x90\x80\x80", "\xE2\x82", "\x80",         "\xC3\x28",         "\xF5\x80\x80\x80"};
    for (const std::string& bytes : cases) {
        EXPECT_FALSE(SbString::isValidUtf8(bytes.data(), bytes.size())) << bytes;
        const SbString s(bytes);
        EXPECT_EQ(s.getLength(), static_cast<int>(bytes.size())) << bytes;
        EXPECT_EQ(s, SbString::fromLatin1(bytes.c_str()));
        EXPECT_STREQ(s.toLatin1(), bytes.c_str());
        EXPECT_TRUE(s == bytes.c_str());  // comparing with such a pointer converts it too
        EXPECT_TRUE(SbString::isValidUtf8(s.getString(), s.getByteLength()));
    }
    SbString appended("caf");
    appended += static_cast<char>(0xE9);
    EXPECT_EQ(appended, SbString("caf\xE9"));
    // Lone surrogates in UTF-16 become replacement characters.
    const char16_t broken[] = {u'a', 0xD800, u'b', 0xDC00, u'z', 0xD83D, 0};
    EXPECT_EQ(SbString::fromUtf16(broken), SbString(utf8(U"a\uFFFDb\uFFFDz\uFFFD")));
}

TEST(SbString, BadIndicesAndRangesPostAndGiveNothing) {
    SbString s("abc");
    DebugErrorRecorder recorder;
    EXPECT_EQ(s[2], 'c');
    EXPECT_EQ(s[3], '\0');
    EXPECT_EQ(s[-1], '\0');
    for (const auto& [start, end] :
         std::initializer_list<std::pair<int, int>>{{-1, 1}, {1, 3}, {2, 0}, {4, -1}})
        EXPECT_EQ(s.getSubString(start, end), SbString()) << start << ".." << end;
    s.deleteSubString(3, 4);
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 7u) << recorder.dump();
    EXPECT_TRUE(recorder.contains("SbString::getSubString", "4"));  // the bad start
    EXPECT_EQ(s.getSubString(3), SbString());  // the empty tail is a valid range
    EXPECT_EQ(SbString("hello", 1, -1), "ello");
    EXPECT_EQ(recorder.size(), 7u);
}

// A string may be appended or assigned its own text; converted buffers follow later changes.
TEST(SbString, AppendingAndAssigningItsOwnText) {
    for (const SbString& empty :
         {SbString(static_cast<const char*>(nullptr)),
          SbString(static_cast<const wchar_t*>(nullptr)), SbString::fromLatin1(nullptr)})
        EXPECT_TRUE(empty == static_cast<const char*>(nullptr));
    SbString s("xy\xC3\xA9");
    s += s;
    s += static_cast<const char*>(nullptr);
    EXPECT_EQ(s, "xy\xC3\xA9xy\xC3\xA9");
    EXPECT_STREQ(s.toLatin1(), "xy\xE9xy\xE9");
    s += s.getString() + 4;
    EXPECT_EQ(s, "xy\xC3\xA9xy\xC3\xA9xy\xC3\xA9");
    s = s.getString() + 8;  // a pointer into its own text
    EXPECT_EQ(s, "xy\xC3\xA9");
    EXPECT_STREQ(s.toLatin1(), "xy\xE9");
    EXPECT_EQ("x" + SbString("y") + "z", "xyz");
    SbString copy(s);
    copy.makeEmpty();
    EXPECT_STREQ(copy.toLatin1(), "");
    EXPECT_EQ(s, "xy\xC3\xA9");
    std::ostringstream out;
    out << s << '|';
    EXPECT_EQ(out.str(), std::string(s.getString()) + "|");
    EXPECT_EQ(SbString("x").hash(), SbString::hash("x"));
    EXPECT_EQ((std::unordered_set<SbString>{SbString("a"), SbString("b"), SbString("a")}).size(),
              2u);
    const std::string big(5000, 'q');  // longer than any first guess of the room needed
    EXPECT_EQ(SbString::format("[%s]", big.c_str()), SbString(("[" + big + "]").c_str()));
}
