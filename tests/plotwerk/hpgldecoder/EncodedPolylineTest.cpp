// Encoded polylines (PE): the base-64 and base-32 numbers, the sign folding, and the flags
// for pen up, absolute coordinates, pen selection and fractional bits.

#include <gtest/gtest.h>

#include "HPGLBytes.h"

using namespace hpglbytes;
using Points = std::vector<std::pair<double, double>>;

// 0 is 191, 1 is 193 and -1 is 194: every small value is a single terminating digit.
TEST(EncodedNumbers, SmallValuesAreOneTerminatingDigit) {
    const HPGLPlot plot = decodeFramed("SP1PE<=" + bytes({191, 191, 193, 194, 194, 193}) + ";");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(xy(plot.polylines[0].points), (Points{{0, 0}, {1, -1}, {0, 0}}));
}

// 100 folds to 200 = 3 * 64 + 8: the low digit 8 comes first (71), then 3 terminating (194).
TEST(EncodedNumbers, TwoDigitValuesComeLeastSignificantFirst) {
    const std::string minus100 = bytes({72, 194});  // 201 = 3 * 64 + 9
    const HPGLPlot plot =
        decodeFramed("PE<=" + bytes({71, 194}) + minus100 + bytes({71, 194, 191}) + ";");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(xy(plot.polylines[0].points), (Points{{100, -100}, {200, -100}}));
}

// 5000 folds to 10000 = 2 * 4096 + 28 * 64 + 16; -5000 to 10001.
TEST(EncodedNumbers, ThreeDigitValues) {
    const HPGLPlot plot =
        decodeFramed("PE=" + bytes({79, 91, 193, 80, 91, 193}) + bytes({191, 191}) + ";");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(xy(plot.polylines[0].points), (Points{{0, 0}, {5000, -5000}, {5000, -5000}}));
}

// In 7-bit mode digits carry five bits: 63..94 go on, 95..126 end the number.
TEST(EncodedNumbers, SevenBitModeUsesBase32) {
    // 0 -> 95; 1 -> 97; -1 -> 98; 100 -> 200 = 6 * 32 + 8 -> 71, 101.
    const HPGLPlot plot = decodeFramed("PE7<=" + bytes({95, 95, 97, 98, 71, 101, 95}) + ";");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(xy(plot.polylines[0].points), (Points{{0, 0}, {1, -1}, {101, -1}}));
}

// A byte that ends a number in 8-bit mode is no digit at all in 7-bit mode.
TEST(EncodedNumbers, EightBitDigitIsRejectedInSevenBitMode) {
    const HPGLPlot plot = decodeFramed("PE7=" + bytes({193, 95}) + ";PA0,0");
    EXPECT_TRUE(plot.hasError("bad byte 0xC1")) << errorsOf(plot);
    EXPECT_TRUE(plot.polylines.empty());
}

// Absolute values across the whole coordinate range, in both modes, each landing exactly.
TEST(EncodedNumbers, WholeCoordinateRangeRoundTrips) {
    const std::vector<long long> values = {
        0,    1,     -1,    31,      -32,      63,       64,         -64,
        4095, -4096, 65535, 1048579, -1048579, 33554431, 1073741823, -1073741824};
    for (bool seven : {false, true}) {
        std::string body = std::string("PE") + (seven ? "7" : "");
        Points expected = {{0, 0}};
        for (long long v : values) {
            body += "=" + pair(v, -v - 1, seven);
            expected.emplace_back(static_cast<double>(v), static_cast<double>(-v - 1));
        }
        const HPGLPlot plot = decodeFramed(body + ";");
        ASSERT_TRUE(plot.clean()) << "7-bit " << seven << "\n" << errorsOf(plot);
        ASSERT_EQ(plot.polylines.size(), 1u);
        EXPECT_EQ(xy(plot.polylines[0].points), expected) << "7-bit " << seven;
    }
}

// '>' 2 makes every later coordinate a count of quarter units.
TEST(EncodedNumbers, FractionalBitsDivideCoordinates) {
    const HPGLPlot plot = decodeFramed("PE>" + encoded(2) + "<=" + pair(10, -6) + pair(1, 0) + "=" +
                                       pair(-3, 4099) + ";");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(xy(plot.polylines[0].points), (Points{{2.5, -1.5}, {2.75, -1.5}, {-0.75, 1024.75}}));
}

// '<' lifts the pen for the one pair after it only; the following pairs draw.
TEST(EncodedFlags, PenUpAppliesToTheNextPairOnly) {
    const HPGLPlot plot = decodeFramed("PA1000,1000;PE<" + pair(10, 0) + pair(0, 10) +
                                       pair(-10, 0) + "<" + pair(0, 100) + pair(5, 5) + ";");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 2u);
    EXPECT_EQ(xy(plot.polylines[0].points), (Points{{1010, 1000}, {1010, 1010}, {1000, 1010}}));
    EXPECT_EQ(xy(plot.polylines[1].points), (Points{{1000, 1110}, {1005, 1115}}));
}

// '=' makes the next pair absolute; relative pairs after it go on from that point.
TEST(EncodedFlags, AbsoluteFlagTakesTheNextPairOnly) {
    const HPGLPlot plot =
        decodeFramed("PA7,7PE<=" + pair(100, 100) + "=" + pair(500, 40) + pair(10, 10) + ";");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(xy(plot.polylines[0].points), (Points{{100, 100}, {500, 40}, {510, 50}}));
}

// Relative pairs start at the pen position left by earlier commands, and later relative
// commands start where the PE ended.
TEST(EncodedFlags, RelativePairsAccumulate) {
    const HPGLPlot plot = decodeFramed("PA2000,3000;PE" + pair(5, 5) + pair(-2, 7) + pair(-3, -12) +
                                       ";PR;PD10,0;PU;");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(xy(plot.polylines[0].points),
              (Points{{2000, 3000}, {2005, 3005}, {2003, 3012}, {2000, 3000}, {2010, 3000}}));
}

// ':' selects a pen: the path ends and the next one starts where the pen stood.
TEST(EncodedFlags, PenSelectInsidePESplitsThePath) {
    const HPGLPlot plot = decodeFramed("NP4SP1PE<=" + pair(0, 0) + pair(10, 0) + ":" + encoded(2) +
                                       pair(0, 10) + ";");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 2u);
    EXPECT_EQ(plot.polylines[0].pen.number, 1);
    EXPECT_EQ(xy(plot.polylines[0].points), (Points{{0, 0}, {10, 0}}));
    EXPECT_EQ(plot.polylines[1].pen.number, 2);
    EXPECT_EQ(xy(plot.polylines[1].points), (Points{{10, 0}, {10, 10}}));
}

// A pen outside NP, a flag between x and y and a PE ending after a flag are all reported.
TEST(EncodedFlags, MisplacedFlagsAndBadPensAreReported) {
    const HPGLPlot badPen = decodeFramed("NP4PE:" + encoded(4) + pair(1, 1) + ";");
    EXPECT_TRUE(badPen.hasError("pen 4 out of range")) << errorsOf(badPen);
    const HPGLPlot split = decodeFramed("PE" + encoded(1) + "<" + encoded(1) + ";");
    EXPECT_TRUE(split.hasError("where a number belongs")) << errorsOf(split);
    const HPGLPlot dangling = decodeFramed("PE" + pair(1, 1) + "=;");
    EXPECT_TRUE(dangling.hasError("after a flag")) << errorsOf(dangling);
    const HPGLPlot badFraction = decodeFramed("PE>" + encoded(-1) + pair(1, 1) + ";");
    EXPECT_TRUE(badFraction.hasError("fractional bit count")) << errorsOf(badFraction);
}
