// Polylines: pens from colours, encoded coordinates with the fractions carried from step to
// step, widths, and line types written only when they change.

#include <Tessara/misc/SoPreferences.h>

#include <cmath>
#include <tuple>

#include "plotwerk/hpgl/HPGLFixture.h"
#include "support/DebugErrorRecorder.h"

namespace {

const SbColor red(1, 0, 0);

// Byte for byte: the pen, the first point absolute, then relative steps, each taking the
// fraction that the truncation of the one before left.
TEST_F(HPGLTest, PolylinesAreEncodedStepsThatCarryTheirFractions) {
    struct Case {
        std::vector<SbVec4f> points;
        std::string encoded;
        const char* why;
    };
    // 1/64 mm apart, 0.625 plotter units: whole units are reached at the 2nd, 4th, 5th and
    // 7th point, and the drawing ends at 4 units, the truncated 4.375 of the exact length.
    std::vector<SbVec4f> fine;
    for (int k = 0; k <= 7; ++k) fine.push_back(mm(k / 64.0f, 0));
    const Case cases[] = {
        {{mm(0, 0), mm(1, 0), mm(1, 1), mm(0, 0)},
         "\xBF\xBFO\xC0\xBF\xBFO\xC0P\xC0P\xC0",
         "one-digit and two-digit steps of either sign"},
        {fine, "\xBF\xBF\xC1\xBF\xC1\xBF\xC1\xBF\xC1\xBF", "steps shorter than a unit"},
        {{mm(-0.0625f, -1.0625f), mm(0, 0)},
         "\xC4T\xC0\xC3S\xC0",
         "-2.5 and -42.5 truncate toward zero; the step takes the exact remainder"},
        {{mm(1e8f, -1e8f)},
         "}~~~~\xC2@\x3F\x3F\x3F\x3F\xC3",
         "beyond what an int holds, the largest and smallest int in six digits"},
    };
    for (const Case& c : cases) {
        HPGLTestAction plotter;
        plotter.setStartPosition(0.0f, 0.0f);
        plotter.startDocument();
        plotter.line(c.points, red);
        EXPECT_EQ(plotter.sinceMark(), "PW0.352778PE:?\xC6<=" + c.encoded + ";\n") << c.why;
    }
}

// Near colours share a pen; the width is the line width in points times the nominal width.
TEST_F(HPGLTest, PenAndWidthAreWrittenWhenTheyChange) {
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, red, 0.0f);
    action->line({mm(0, 0), mm(1, 0)}, SbColor(0.99f, 0.1f, 0.2f), 1.0f);
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 1, 1), 3.0f);
    action->setNominalWidth(0.5f);
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 1, 1), 3.0f);
    EXPECT_EQ(action->sinceMark(),
              "PW0.352778PE:?\xC6<=\xBF\xBFO\xC0\xBF;\n"
              "PE<=\xBF\xBFO\xC0\xBF;\n"
              "PW1.058333PE:}\xC6<=\xBF\xBFO\xC0\xBF;\n"
              "PW1.500000PE<=\xBF\xBFO\xC0\xBF;\n");
}

// Dashes become a user line type of the pattern's runs, each pattern bit the pattern size
// (16 points) times the factor. A line type is written only when it changes; a factor means
// nothing to a solid line.
TEST_F(HPGLTest, LineTypesAreThePatternRunsWrittenWhenTheyChange) {
    startAtCorner();
    const std::tuple<unsigned short, int, std::string> steps[] = {
        {0xFF00, 1, "UL8,45.16 ,45.16 LT8,5.06,1\n"},
        {0xFF00, 1, "PE<="},
        {0x00F0, 1, "UL8,22.58 ,67.73 LT8,5.06,1\n"},
        {0xFFFF, 1, "LTPE<="},
        {0xFFFF, 3, "PE<="},
        {0x0FF0, 2, "UL8,90.31 ,90.31 LT8,10.12,1\n"},
        {0x0FF0, 1, "UL8,45.16 ,45.16 LT8,5.06,1\n"},
    };
    for (const auto& [pattern, factor, expected] : steps) {
        action->mark();
        action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, pattern, factor);
        EXPECT_EQ(action->sinceMark().substr(0, expected.size()), expected)
            << std::hex << pattern << " x" << factor;
    }
}

// Older plot readers took the pattern length in points rather than in hundredths of an inch.
TEST_F(HPGLTest, TheCompatibilitySettingShortensThePatternLength) {
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFF00);
    SoPreferences::setValue("VXN_COMPAT_HPGL_PLOTWERK_370", "1");
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xF0F0);
    SoPreferences::setValue("VXN_COMPAT_HPGL_PLOTWERK_370", "0");
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFF00);
    SoPreferences::removeValue("VXN_COMPAT_HPGL_PLOTWERK_370");
    const HPGLPlot plot = decoded();
    ASSERT_EQ(plot.polylines.size(), 3u);
    EXPECT_NEAR(plot.polylines[0].lineType.length / plot.polylines[1].lineType.length, 2.54, 0.01);
    EXPECT_EQ(plot.polylines[2].lineType.length, plot.polylines[0].lineType.length);
}

// Nothing to draw writes nothing; without colours a primitive is black.
TEST_F(HPGLTest, EmptyPrimitivesAreLeftOutAndColourlessOnesAreBlack) {
    startAtCorner();
    DebugErrorRecorder recorder;
    const SbVec4f points[2] = {mm(0, 0), mm(1, 0)};
    action->printPolyLine(nullptr, 3, &red, 0, 1.0f, 0xFFFF, 1);
    action->printPolyLine(points, 0, &red, 0, 1.0f, 0xFFFF, 1);
    action->printPolygon(points, 0, &red, 0, "", "", nullptr);
    action->printPolyMark(points, 0, &red, 0, 1.0f);
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_EQ(action->sinceMark(), "");
    action->printPolyLine(points, 2, nullptr, 0, 1.0f, 0xFFFF, 1);
    EXPECT_EQ(action->sinceMark(), "PW0.352778PE:\xBF<=\xBF\xBFO\xC0\xBF;\n");
}

}  // namespace
