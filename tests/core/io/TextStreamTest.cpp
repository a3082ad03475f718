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
    const std::string text = std::string(" # a comment { [\n\t") + c.text + " next";
    SoInput in;
    in.setBuffer(text.data(), text.size());
    T value{};
    ASSERT_EQ(in.read(value), c.ok);
    if (!c.ok) {
        EXPECT_EQ(nextWord(in), c.text);
        return;
    }
    const T expected = static_cast<T>(c.value);
    if (std::isnan(c.value)) {
        EXPECT_TRUE(std::isnan(static_cast<double>(value)));
    } else {
        EXPECT_EQ(value, expected);
        EXPECT_EQ(std::signbit(static_cast<double>(value)), std::signbit(c.value));
    }
    EXPECT_EQ(nextWord(in), "next");
}

const char* const kCommaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "fr_FR"};

}  // namespace

TEST(SoInput, Numbers) {
    const double inf = std::numeric_limits<float>::infinity();
    const NumberCase cases[] = {
        {"+7", 'i', true, 7},
        {"-0x1F", 'i', true, -31},
        {"0777", 'i', true, 0777},
        {"-2147483648", 'i', true, -2147483648.0},
        {"0xFFFFFFFF", 'i', true, -1},  // a hexadecimal bit pattern
        {"4294967295", 'u', true, 4294967295.0},
        {"0xFFFF", 's', true, -1},
        {"2147483648", 'i', false, 0},
        {"-1", 'u', false, 0},
        {"65536", 'S', false, 0},
        {"08", 'i', false, 0},  // 8 is no octal digit
        {"1.5", 'i', false, 0},
        {"12abc", 'i', false, 0},
        {"-2.5E-2", 'f', true, -0.025},
        {".5", 'd', true, 0.5},
        {"nan", 'f', true, std::nan("")},
        {"-inf", 'f', true, -inf},
        {"-1e-50", 'f', true, -0.0},  // underflow is zero, not an error
        {"3.4028235e38", 'f', true, std::numeric_limits<float>::max()},
        {"1e-45", 'f', true, std::numeric_limits<float>::denorm_min()},
        {"1e39", 'f', false, 0},  // beyond the largest float
        {"1.2.3", 'f', false, 0},
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

TEST(SoInput, HeaderIsTheExactFirstLine) {
    const std::string header(iotest::kHeader, std::string(iotest::kHeader).size() - 1);
    const struct {
        std::string text;
        bool valid;
    } cases[] = {
        {header + "  \t\r\nSeparator {}", true},
        {header, true},
        {header + " extra\n", false},
        {" " + header + "\n", false},
        {"", false},
    };
    for (const auto& c : cases) {
        DebugErrorRecorder recorder;
        EXPECT_EQ(iotest::readText(c.text) != nullptr, c.valid) << c.text;
    }
    SoInput in;
    const std::string text = header + "   \nCube {}";
    in.setBuffer(text.data(), text.size());
    EXPECT_EQ(in.getHeader(), header.c_str());
    in.setBuffer(text.data() + 1, text.size() - 1);
    EXPECT_EQ(in.getHeader(), "");
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
    SoInput in;
    in.setBuffer("1.5 -2.25e1 0.1", 15);
    float a = 0, b = 0;
    double c = 0;
    EXPECT_TRUE(in.read(a) && in.read(b) && in.read(c));
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

TEST(SoOutput, NumbersAndStringsInTheirShortestText) {
    SoOutput out;
    out.setBuffer();
    // Floats use the shortest text that reads back to the same float.
    const float values[] = {0.1f,          1.0f,   -2.5f, 1e10f,        0.3f,
                            3.4028235e38f, 1e-45f, -0.0f, 123456792.0f, std::nanf("")};
    for (const float v : values) {
        out.write(v);
        out.write(' ');
    }
    out.write(-std::numeric_limits<float>::infinity());
    out.write(' ');
    out.write(0.1);
    out.write(' ');
    out.write(int32_t{-2147483647 - 1});
    out.write(' ');
    out.write(uint32_t{4294967295u});
    out.write(' ');
    out.writeQuoted(SbString("a \"b\" c\\d\ne \xC3\xA9"));
    EXPECT_EQ(out.getString(),
              "0.1 1 -2.5 1e+10 0.3 3.4028235e+38 1e-45 -0 123456792 nan -inf 0.1 -2147483648 "
              "4294967295 \"a \\\"b\\\" c\\\\d\\ne \xC3\xA9\"");
}

TEST(SoOutput, IndentationNeverNegativeAndColumnsCountCharacters) {
    SoOutput out;
    out.setBuffer();
    out.decrementIndent();  // never below zero
    out.incrementIndent();
    out.newLine();
    out.write("\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(out.getColumn(), 5);  // columns count characters
    EXPECT_EQ(out.getString(), "\n  \xC3\xA9t\xC3\xA9");
}

TEST(SoOutput, AFailedWriteIsReported) {
    DebugErrorRecorder recorder;
    SoOutput out;
    ASSERT_TRUE(out.openFile("/dev/full"));
    for (int i = 0; i < 100000; ++i) out.write("data that cannot be stored ");
    out.closeFile();
    EXPECT_TRUE(recorder.contains("SoOutput::closeFile")) << recorder.dump();
    EXPECT_FALSE(out.openFile("/nonexistent/dir/out.tsc"));
    EXPECT_TRUE(recorder.contains("SoOutput::openFile", "/nonexistent/dir/out.tsc"));
}
