#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/misc/SbFileHelper.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "support/DebugErrorRecorder.h"

namespace {

// An input over text that lives as long as the test.
class TextInput {
  public:
    explicit TextInput(std::string text) : text_(std::move(text)) {
        in.setBuffer(text_.data(), text_.size());
    }
    SoInput in;

  private:
    std::string text_;
};

template <class T>
T readAs(SoInput& in) {
    T value{};
    EXPECT_TRUE(in.read(value));
    return value;
}

std::string nextWord(SoInput& in) {
    SbString word;
    return in.read(word) ? word.getStdString() : std::string("<nothing>");
}

}  // namespace

TEST(SoInput, ReadsNamesNumbersAndStringsAcrossCommentsAndWhiteSpace) {
    TextInput t(
        "  # a comment { [ \n\tabc_1 # another\n12 -0x1F 0777 1.5e3 -2.5E-2 .5 +7\n"
        "\"q\\\"uo\\\\te\" bare");
    SbName name;
    ASSERT_TRUE(t.in.read(name, true));
    EXPECT_STREQ(name.getString(), "abc_1");
    EXPECT_EQ(readAs<int32_t>(t.in), 12);
    EXPECT_EQ(readAs<int32_t>(t.in), -31);
    EXPECT_EQ(readAs<int32_t>(t.in), 0777);
    EXPECT_EQ(readAs<float>(t.in), 1500.0f);
    EXPECT_EQ(readAs<float>(t.in), -0.025f);
    EXPECT_EQ(readAs<double>(t.in), 0.5);
    EXPECT_EQ(readAs<int32_t>(t.in), 7);
    EXPECT_EQ(nextWord(t.in), "q\"uo\\te");
    EXPECT_EQ(nextWord(t.in), "bare");
    EXPECT_TRUE(t.in.eof());
}

TEST(SoInput, IntegerLimitsPerType) {
    TextInput t("2147483647 -2147483648 0xFFFFFFFF 4294967295 32767 -32768 0xFFFF 65535");
    EXPECT_EQ(readAs<int32_t>(t.in), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(readAs<int32_t>(t.in), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(readAs<int32_t>(t.in), -1);  // a hexadecimal bit pattern
    EXPECT_EQ(readAs<uint32_t>(t.in), 4294967295u);
    EXPECT_EQ(readAs<short>(t.in), 32767);
    EXPECT_EQ(readAs<short>(t.in), -32768);
    EXPECT_EQ(readAs<short>(t.in), -1);
    EXPECT_EQ(readAs<unsigned short>(t.in), 65535);
}

TEST(SoInput, RejectedNumbersAreLeftToBeReadAgain) {
    TextInput t("2147483648 -1 65536 08 1.5 0x 12abc 1e39 1.2.3 --1 abc");
    int32_t i = 0;
    uint32_t u = 0;
    unsigned short us = 0;
    float f = 0;
    EXPECT_FALSE(t.in.read(i));
    EXPECT_EQ(nextWord(t.in), "2147483648");
    EXPECT_FALSE(t.in.read(u));
    EXPECT_EQ(nextWord(t.in), "-1");
    EXPECT_FALSE(t.in.read(us));
    EXPECT_EQ(nextWord(t.in), "65536");
    EXPECT_FALSE(t.in.read(i));  // 8 is no octal digit
    EXPECT_EQ(nextWord(t.in), "08");
    EXPECT_FALSE(t.in.read(i));  // not an integer
    EXPECT_EQ(nextWord(t.in), "1.5");
    EXPECT_FALSE(t.in.read(i));
    EXPECT_EQ(nextWord(t.in), "0x");
    EXPECT_FALSE(t.in.read(i));
    EXPECT_EQ(nextWord(t.in), "12abc");
    EXPECT_FALSE(t.in.read(f));  // beyond the largest float
    EXPECT_EQ(nextWord(t.in), "1e39");
    EXPECT_FALSE(t.in.read(f));
    EXPECT_EQ(nextWord(t.in), "1.2.3");
    EXPECT_FALSE(t.in.read(f));
    EXPECT_EQ(nextWord(t.in), "--1");
    EXPECT_FALSE(t.in.read(f));
    EXPECT_EQ(nextWord(t.in), "abc");
}

TEST(SoInput, SpecialFloats) {
    TextInput t("nan -inf inf 1e-50 -1e-50 3.4028235e38 1e-45 1.17549435e-38");
    EXPECT_TRUE(std::isnan(readAs<float>(t.in)));
    EXPECT_EQ(readAs<float>(t.in), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(readAs<float>(t.in), std::numeric_limits<float>::infinity());
    const float tiny = readAs<float>(t.in);  // underflow is zero, not an error
    EXPECT_EQ(tiny, 0.0f);
    EXPECT_FALSE(std::signbit(tiny));
    EXPECT_TRUE(std::signbit(readAs<float>(t.in)));
    EXPECT_EQ(readAs<float>(t.in), std::numeric_limits<float>::max());
    EXPECT_EQ(readAs<float>(t.in), std::numeric_limits<float>::denorm_min());
    EXPECT_EQ(readAs<float>(t.in), std::numeric_limits<float>::min());
}

TEST(SoInput, StringsKeepUtf8AndKnowTheirEscapes) {
    TextInput t("\"gr\xC3\xBC\xC3\x9F \xE2\x82\xAC\" \"a\\nb\\tc\\qd\" \"multi\nline\" \"\"");
    EXPECT_EQ(nextWord(t.in), "gr\xC3\xBC\xC3\x9F \xE2\x82\xAC");
    EXPECT_EQ(nextWord(t.in), "a\nb\tc\\qd");  // unknown escapes stay as written
    EXPECT_EQ(nextWord(t.in), "multi\nline");
    EXPECT_EQ(nextWord(t.in), "");
    EXPECT_TRUE(t.in.eof());
}

TEST(SoInput, UnterminatedStringFails) {
    TextInput t("\"no end \\\" here");
    SbString s;
    EXPECT_FALSE(t.in.read(s));
}

TEST(SoInput, NamesStopAtTheirCharacterClass) {
    TextInput t("ident-part base-name.rest 9lives");
    SbName n;
    ASSERT_TRUE(t.in.read(n, true));
    EXPECT_STREQ(n.getString(), "ident");
    ASSERT_TRUE(t.in.read(n, false));  // '-' is a base-name character
    EXPECT_STREQ(n.getString(), "-part");
    ASSERT_TRUE(t.in.read(n, false));
    EXPECT_STREQ(n.getString(), "base-name");  // '.' is not
    char c = 0;
    ASSERT_TRUE(t.in.read(c));
    EXPECT_EQ(c, '.');
    ASSERT_TRUE(t.in.read(n, true));
    EXPECT_STREQ(n.getString(), "rest");
    EXPECT_FALSE(t.in.read(n, true));  // a digit cannot start a name
    EXPECT_FALSE(t.in.read(n, false));
    int32_t i = 0;
    EXPECT_FALSE(t.in.read(i));  // nor is it a number
    EXPECT_EQ(nextWord(t.in), "9lives");
}

TEST(SoInput, PutBackCharactersAndWords) {
    TextInput t("ab cd");
    char c = 0;
    ASSERT_TRUE(t.in.read(c));
    t.in.putBack(c);
    t.in.putBack("xy ");
    EXPECT_EQ(nextWord(t.in), "xy");
    EXPECT_EQ(nextWord(t.in), "ab");
    EXPECT_EQ(nextWord(t.in), "cd");
    EXPECT_TRUE(t.in.eof());
}

TEST(SoInput, HeaderIsTheExactFirstLine) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"#Tessara V1.0 ascii\n", true},   {"#Tessara V1.0 ascii  \t\r\nSeparator {}", true},
        {"#Tessara V1.0 ascii", true},     {"#Tessara V1.0 binary\n", false},
        {" #Tessara V1.0 ascii\n", false}, {"#Tessara V1.0 ascii extra\n", false},
        {"# Tessara V1.0 ascii\n", false}, {"", false},
    };
    for (const auto& c : cases) {
        TextInput t(c.text);
        EXPECT_EQ(t.in.isValidFile(), c.valid) << c.text;
    }
    TextInput valid("#Tessara V1.0 ascii   \nCube {}");
    EXPECT_EQ(valid.in.getHeader(), "#Tessara V1.0 ascii");
    TextInput none("Cube {}");
    EXPECT_EQ(none.in.getHeader(), "");
}

TEST(SoInput, ErrorsCarryFileLineAndColumn) {
    TextInput t("#Tessara V1.0 ascii\n# note\n  first \xC3\xA9t\xC3\xA9 second");
    SbName n;
    ASSERT_TRUE(t.in.read(n, true));
    EXPECT_EQ(t.in.getLineNumber(), 3);
    EXPECT_EQ(t.in.getColumnNumber(), 3);
    SbString word;
    ASSERT_TRUE(t.in.read(word));
    ASSERT_TRUE(t.in.read(n, true));
    EXPECT_STREQ(n.getString(), "second");
    EXPECT_EQ(t.in.getColumnNumber(), 13);  // columns count characters, not bytes
    DebugErrorRecorder recorder;
    t.in.postError("Test::source", "bad %s", "thing");
    ASSERT_EQ(recorder.size(), 1u);
    const auto post = recorder.messages()[0];
    EXPECT_EQ(post.severity, SoDebugError::ERROR);
    EXPECT_EQ(post.source, "Test::source");
    EXPECT_EQ(post.message, "<buffer>:3:13: bad thing");
}

TEST(SoInput, ReadsFilesAndNamesThem) {
    const std::string path = ::testing::TempDir() + "io_input_test.tsc";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("#Tessara V1.0 ascii\n\n  42 \"text\"", file);
    std::fclose(file);
    SoInput in;
    ASSERT_TRUE(in.openFile(path.c_str()));
    EXPECT_TRUE(in.isValidFile());
    EXPECT_EQ(in.getFileName(), path.c_str());
    EXPECT_EQ(readAs<int32_t>(in), 42);
    EXPECT_EQ(in.getLineNumber(), 3);
    EXPECT_EQ(in.getColumnNumber(), 3);
    EXPECT_EQ(nextWord(in), "text");
    EXPECT_TRUE(in.eof());
    in.closeFile();
    SbFileHelper::removeFile(path.c_str());
}

TEST(SoInput, MissingFileIsReportedUnlessAllowed) {
    DebugErrorRecorder recorder;
    SoInput in;
    EXPECT_FALSE(in.openFile("/nonexistent/dir/scene.tsc", true));
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_FALSE(in.openFile("/nonexistent/dir/scene.tsc"));
    EXPECT_TRUE(recorder.contains("SoInput::openFile", "/nonexistent/dir/scene.tsc"));
    EXPECT_TRUE(in.eof());
    char c = 0;
    EXPECT_FALSE(in.read(c));
}

// Reading numbers must not depend on the decimal separator of the process locale.
TEST(SoInput, NumbersIgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8",  "fr_FR.UTF-8", "de_DE",
                                "fr_FR",       "nl_NL.UTF-8", "it_IT.UTF-8", "ru_RU.UTF-8"};
    const char* found = nullptr;
    for (const char* name : candidates) {
        if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') {
            found = name;
            break;
        }
    }
    if (!found) {
        std::setlocale(LC_ALL, previous.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    TextInput t("1.5 -2.25e1 0.1");
    const float a = readAs<float>(t.in);
    const float b = readAs<float>(t.in);
    const double c = readAs<double>(t.in);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(a, 1.5f) << found;
    EXPECT_EQ(b, -22.5f);
    EXPECT_EQ(c, 0.1);
}
