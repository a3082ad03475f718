#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/io/SoOutput.h>
#include <gtest/gtest.h>

#include <cmath>
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

// Numbers and strings in their shortest text, one level in; indentation never goes below
// zero, and columns count characters.
TEST(SoOutput, NumbersAndStringsInTheirShortestText) {
    SoOutput out;
    out.setBuffer();
    out.decrementIndent();
    out.incrementIndent();
    out.newLine();
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
    const std::string line =
        "  0.1 1 -2.5 1e+10 0.3 3.4028235e+38 1e-45 -0 123456792 nan -inf 0.1 -2147483648 "
        "4294967295 \"a \\\"b\\\" c\\\\d\\ne \xC3\xA9\"";
    EXPECT_EQ(out.getString(), "\n" + line);
    EXPECT_EQ(out.getColumn(), static_cast<int>(line.size()) - 1);  // é is two bytes
}
