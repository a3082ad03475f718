#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/io/SoOutput.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <string>

#include "IoTestSupport.h"
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

std::string nextWord(SoInput& in) {
    SbString word;
    return in.read(word) ? word.getStdString() : std::string("<nothing>");
}

struct NumberCase {
    const char* text;
    char type;  // i int32, u uint32, s short, S unsigned short, f float, d double
    bool ok;
    double value;
};

// Reads `c.text` as its type behind a comment; what is read must be all of it, and what is
// rejected must be left to be read again.
template <class T>
void checkNumber(const NumberCase& c) {
    TextInput t(std::string(" # a comment { [\n\t") + c.text + " next");
    T value{};
    ASSERT_EQ(t.in.read(value), c.ok);
    if (!c.ok) {
        EXPECT_EQ(nextWord(t.in), c.text);
        return;
    }
    const T expected = static_cast<T>(c.value);
    if (std::isnan(c.value)) {
        EXPECT_TRUE(std::isnan(static_cast<double>(value)));
    } else {
        EXPECT_EQ(value, expected);
        EXPECT_EQ(std::signbit(static_cast<double>(value)), std::signbit(c.value));
    }
    EXPECT_EQ(nextWord(t.in), "next");
}

const char* const kCommaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "fr_FR"};

}  // namespace

TEST(SoInput, Numbers) {
    const double inf = std::numeric_limits<float>::infinity();
    const NumberCase cases[] = {
        {"12", 'i', true, 12},
        {"+7", 'i', true, 7},
        {"-0x1F", 'i', true, -31},
        {"0777", 'i', true, 0777},
        {"2147483647", 'i', true, 2147483647.0},
        {"-2147483648", 'i', true, -2147483648.0},
        {"0xFFFFFFFF", 'i', true, -1},  // a hexadecimal bit pattern
        {"4294967295", 'u', true, 4294967295.0},
        {"-32768", 's', true, -32768},
        {"0xFFFF", 's', true, -1},
        {"65535", 'S', true, 65535},
        {"2147483648", 'i', false, 0},
        {"-1", 'u', false, 0},
        {"65536", 'S', false, 0},
        {"08", 'i', false, 0},  // 8 is no octal digit
        {"1.5", 'i', false, 0},
        {"0x", 'i', false, 0},
        {"12abc", 'i', false, 0},
        {"1.5e3", 'f', true, 1500},
        {"-2.5E-2", 'f', true, -0.025},
        {".5", 'd', true, 0.5},
        {"0.1", 'd', true, 0.1},
        {"nan", 'f', true, std::nan("")},
        {"-inf", 'f', true, -inf},
        {"1e-50", 'f', true, 0.0},  // underflow is zero, not an error
        {"-1e-50", 'f', true, -0.0},
        {"3.4028235e38", 'f', true, std::numeric_limits<float>::max()},
        {"1e-45", 'f', true, std::numeric_limits<float>::denorm_min()},
        {"1e39", 'f', false, 0},  // beyond the largest float
        {"1.2.3", 'f', false, 0},
        {"--1", 'f', false, 0},
        {"abc", 'd', false, 0},
    };
    const std::map<char, void (*)(const NumberCase&)> check = {
        {'i', checkNumber<int32_t>}, {'u', checkNumber<uint32_t>},
        {'s', checkNumber<short>},   {'S', checkNumber<unsigned short>},
        {'f', checkNumber<float>},   {'d', checkNumber<double>}};
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        check.at(c.type)(c);
    }
}

TEST(SoInput, StringsNamesAndPutBack) {
    TextInput t(
        "\"q\\\"uo\\\\te\" bare \"gr\xC3\xBC\xC3\x9F \xE2\x82\xAC\" \"a\\nb\\tc\\qd\" "
        "\"multi\nline\" "
        "\"\" ident-part base-name.rest 9lives \"no end \\\" here");
    EXPECT_EQ(nextWord(t.in), "q\"uo\\te");
    EXPECT_EQ(nextWord(t.in), "bare");
    EXPECT_EQ(nextWord(t.in), "gr\xC3\xBC\xC3\x9F \xE2\x82\xAC");
    EXPECT_EQ(nextWord(t.in), "a\nb\tc\\qd");  // unknown escapes stay as written
    EXPECT_EQ(nextWord(t.in), "multi\nline");
    EXPECT_EQ(nextWord(t.in), "");
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
    t.in.putBack(c);
    t.in.putBack("xy ");
    EXPECT_EQ(nextWord(t.in), "xy");
    EXPECT_EQ(nextWord(t.in), ".rest");
    EXPECT_FALSE(t.in.read(n, true));  // a digit cannot start a name
    EXPECT_FALSE(t.in.read(n, false));
    EXPECT_EQ(nextWord(t.in), "9lives");
    EXPECT_FALSE(t.in.read(n, true));
    SbString s;
    EXPECT_FALSE(t.in.read(s));  // the string never ends
}

TEST(SoInput, HeaderIsTheExactFirstLine) {
    const std::string header(iotest::kHeader, std::string(iotest::kHeader).size() - 1);
    const struct {
        std::string text;
        bool valid;
    } cases[] = {
        {header + "\n", true},
        {header + "  \t\r\nSeparator {}", true},
        {header, true},
        {header + " extra\n", false},
        {" " + header + "\n", false},
        {"# " + header.substr(1), false},
        {"", false},
    };
    for (const auto& c : cases) {
        TextInput t(c.text);
        EXPECT_EQ(t.in.isValidFile(), c.valid) << c.text;
    }
    EXPECT_EQ(TextInput(header + "   \nCube {}").in.getHeader(), header.c_str());
    EXPECT_EQ(TextInput("Cube {}").in.getHeader(), "");
}

TEST(SoInput, ErrorsCarryFileLineAndColumn) {
    TextInput t(std::string(iotest::kHeader) + "# note\n  first \xC3\xA9t\xC3\xA9 second");
    SbName n;
    ASSERT_TRUE(t.in.read(n, true));
    EXPECT_EQ(t.in.getLineNumber(), 3);
    EXPECT_EQ(t.in.getColumnNumber(), 3);
    EXPECT_EQ(nextWord(t.in), "\xC3\xA9t\xC3\xA9");
    ASSERT_TRUE(t.in.read(n, true));
    EXPECT_EQ(t.in.getColumnNumber(), 13);  // columns count characters, not bytes
    DebugErrorRecorder recorder;
    t.in.postError("Test::source", "bad %s", "thing");
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].source, "Test::source");
    EXPECT_EQ(recorder.messages()[0].message, "<buffer>:3:13: bad thing");
}

TEST(SoInput, FilesAreNamedInErrors) {
    const std::string path = ::testing::TempDir() + "io_input_test.tsc";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs(iotest::kHeader, file);
    std::fputs("Separator {\n  Sphere { radius }\n}\n", file);
    std::fclose(file);
    DebugErrorRecorder recorder;
    SoInput in;
    ASSERT_TRUE(in.openFile(path.c_str()));
    EXPECT_EQ(in.getFileName(), path.c_str());
    EXPECT_EQ(SoDB::readAll(&in), nullptr);
    in.closeFile();
    std::remove(path.c_str());
    ASSERT_GE(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].message.rfind(path + ":3:", 0), 0u) << recorder.dump();

    recorder.clear();
    EXPECT_FALSE(in.openFile("/nonexistent/dir/scene.tsc", true));
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_FALSE(in.openFile("/nonexistent/dir/scene.tsc"));
    EXPECT_TRUE(recorder.contains("SoInput::openFile", "/nonexistent/dir/scene.tsc"));
    EXPECT_TRUE(in.eof());
    char c = 0;
    EXPECT_FALSE(in.read(c));
}

// Files written in one country must read in another: no decimal comma either way.
TEST(SoInput, NumbersIgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* found = nullptr;
    for (const char* name : kCommaLocales)
        if (!found && std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',')
            found = name;
    TextInput t("1.5 -2.25e1 0.1");
    float a = 0, b = 0;
    double c = 0;
    EXPECT_TRUE(t.in.read(a) && t.in.read(b) && t.in.read(c));
    SoOutput out;
    out.setBuffer();
    out.write(1.5f);
    out.write(' ');
    out.write(2.25);
    std::setlocale(LC_ALL, previous.c_str());
    if (!found) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(a, 1.5f) << found;
    EXPECT_EQ(b, -22.5f);
    EXPECT_EQ(c, 0.1);
    EXPECT_EQ(out.getString(), "1.5 2.25");
}
