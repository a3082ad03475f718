// Number text for files: printf's digits, whatever the process locale says.

#include <Tessara/base/SbNumberFormat.h>
#include <Tessara/base/SbString.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/io/SoOutput.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// printf under the C locale is the reference for every conversion the formatter offers.
std::string printfText(const char* format, double value, int precision) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "C");
    char text[512];
    std::snprintf(text, sizeof text, format, precision, value);
    std::setlocale(LC_NUMERIC, previous.c_str());
    return text;
}

std::string fixed(double value, int decimals) {
    std::string out;
    SbNumberFormat::appendFixed(out, value, decimals);
    return out;
}

std::string significant(double value, int digits) {
    std::string out;
    SbNumberFormat::appendSignificant(out, value, digits);
    return out;
}

// The edge values at every precision, then random values at random precisions.
TEST(NumberFormatTest, FixedAndSignificantAsPrintfWritesThem) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<std::pair<double, int>> cases;
    for (const double value : {0.0, -0.0, 0.5, -0.5, 2.5, 1e300, -1e300, 1e-300, 5e-324, nan, -nan,
                               inf, -inf, 123456789.0, 0.125, 999999.5})
        for (const int precision : {0, 1, 2, 6, 9, 17}) cases.emplace_back(value, precision);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-40, 40), precision(0, 12);
    for (int i = 0; i < 2000; ++i)
        cases.emplace_back(mantissa(random) * std::pow(10.0, exponent(random)), precision(random));
    for (const auto& [value, digits] : cases) {
        ASSERT_EQ(fixed(value, digits), printfText("%.*f", value, digits))
            << value << " " << digits;
        ASSERT_EQ(significant(value, digits), printfText("%.*g", value, digits)) << value;
    }
}

TEST(NumberFormatTest, StatementsTakeTheirConversionsInOrder) {
    const struct {
        std::string written;
        const char* expected;
    } cases[] = {
        {SbNumberFormat::format("%d %d moveto", 12, -3), "12 -3 moveto"},
        {SbNumberFormat::format("BoundingBox: 0 0 %4d %4d", 5, 61234),
         "BoundingBox: 0 0    5 61234"},
        {SbNumberFormat::format("%.2f %f", 0.125, 1.0f), "0.12 1.000000"},
        {SbNumberFormat::format("PS-Adobe-%u.0 (%s) 100%%", 3u, "x"), "PS-Adobe-3.0 (x) 100%"},
        {SbNumberFormat::format("%g|%g", 1234567.0, 0.0001), "1.23457e+06|0.0001"},
        {SbNumberFormat::format("%d", 2.9), "2"},
        {SbNumberFormat::format("%ld %lld", 4L, -5LL), "4 -5"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.written, c.expected);
}

// Files written in one country must read in another: no decimal comma either way, whichever
// way the text is made or read.
TEST(NumberFormatTest, ADecimalCommaLocaleChangesNothing) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    const std::string text = SbNumberFormat::format("%f %g %.2f", 0.5, 1.5, -2.25);
    const SbString formatted = SbString::formatC("%.2f|%g", 3.25, 0.5);
    SbString number;
    number.setNum(-2.75);
    SoOutput out;
    out.setBuffer();
    out.write(1.5f);
    out.write(' ');
    out.write(2.25);
    SoInput in;
    in.setBuffer("1.5 -2.25e1 0.1", 15);
    float a = 0, b = 0;
    double c = 0;
    const bool read = in.read(a) && in.read(b) && in.read(c);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(text, "0.500000 1.5 -2.25");
    EXPECT_EQ(formatted, "3.25|0.5");
    EXPECT_EQ(number, "-2.75");
    EXPECT_EQ(out.getString(), "1.5 2.25");
    EXPECT_TRUE(read);
    EXPECT_EQ(a, 1.5f);
    EXPECT_EQ(b, -22.5f);
    EXPECT_EQ(c, 0.1);
}

}  // namespace
