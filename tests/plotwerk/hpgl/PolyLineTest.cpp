// Polylines: pens from colours, encoded coordinates with the fractions carried from step to
// step, widths, and line types written only when they change.

#include <Tessara/misc/SoPreferences.h>

#include <cmath>

#include "plotwerk/hpgl/HPGLFixture.h"
#include "support/DebugErrorRecorder.h"

namespace {

const SbColor red(1, 0, 0);
const SbColor white(1, 1, 1);

TEST_F(HPGLTest, APolylineSelectsItsPenAndStartsWithAnAbsolutePenUpMove) {
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0), mm(1, 1), mm(0, 0)}, red);
    EXPECT_EQ(action->sinceMark(), "PW0.352778PE:?\xC6<=\xBF\xBFO\xC0\xBF\xBFO\xC0P\xC0P\xC0;\n");
}

TEST_F(HPGLTest, PensChangeOnlyWithTheColour) {
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, red);
    action->mark();
    action->line({mm(0, 0), mm(1, 0)}, SbColor(0.99f, 0.1f, 0.2f));
    EXPECT_EQ(action->sinceMark(), "PE<=\xBF\xBFO\xC0\xBF;\n");
    action->mark();
    action->line({mm(0, 0), mm(1, 0)}, white);
    EXPECT_EQ(action->sinceMark(), "PE:}\xC6<=\xBF\xBFO\xC0\xBF;\n");
}

TEST_F(HPGLTest, ThePaletteIndexPacksThreeThreeAndTwoBits) {
    startAtCorner();
    struct Case {
        SbColor color;
        const char* pen;
    };
    // 37 = 001 001 01; 146 = 100 100 10; 28 = 000 111 00.
    const Case cases[] = {{SbColor(0.15f, 0.15f, 0.3f), "PE:I\xC0<="},
                          {SbColor(0.6f, 0.6f, 0.6f), "PE:c\xC3<="},
                          {SbColor(0, 1, 0), "PE:\xF7<="},
                          {SbColor(0, 0, 0), "PE:\xBF<="}};
    for (const Case& c : cases) {
        action->mark();
        action->line({mm(0, 0), mm(1, 0)}, c.color);
        EXPECT_NE(action->sinceMark().find(c.pen), std::string::npos) << c.pen;
    }
}

TEST_F(HPGLTest, WithPensThePenTableChooses) {
    const SbColor colors[3] = {SbColor(0, 0, 0), SbColor(1, 0, 0), SbColor(0, 0, 1)};
    const float widths[3] = {0.35f, 0.35f, 0.35f};
    action->setPenDescription(3, colors, widths);
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, SbColor(0.1f, 0.2f, 0.9f));
    EXPECT_EQ(action->sinceMark().find("PE:\xC3<="), 10u);  // pen 2
}

TEST_F(HPGLTest, StepsShorterThanAPlotterUnitCarryOver) {
    startAtCorner();
    // 1/64 mm apart, 0.625 plotter units: whole units are reached at the 2nd, 4th, 5th and
    // 7th point, and the drawing ends at 4 units, the truncated 4.375 of the exact length.
    std::vector<SbVec4f> points;
    for (int k = 0; k <= 7; ++k) points.push_back(mm(k / 64.0f, 0));
    action->line(points, red);
    EXPECT_EQ(action->sinceMark(),
              "PW0.352778PE:?\xC6<=\xBF\xBF\xC1\xBF\xC1\xBF\xC1\xBF\xC1\xBF;\n");
}

TEST_F(HPGLTest, NegativeCoordinatesTruncateTowardZero) {
    startAtCorner();
    action->line({mm(-0.0625f, -1.0625f), mm(0, 0)}, red);
    // -2.5 and -42.5 are written as -2 and -42; the step takes the exact remainder.
    EXPECT_EQ(action->sinceMark(), "PW0.352778PE:?\xC6<=\xC4T\xC0\xC3S\xC0;\n");
}

TEST_F(HPGLTest, WidthIsWrittenInMillimetresWhenItChanges) {
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, red, 0.0f);
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f);
    action->line({mm(0, 0), mm(1, 0)}, red, 3.0f);
    action->setNominalWidth(0.5f);
    action->line({mm(0, 0), mm(1, 0)}, red, 3.0f);
    const std::vector<std::string> lines = linesOf(action->sinceMark());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(0, 10), "PW0.352778");
    EXPECT_EQ(lines[1].substr(0, 4), "PE<=");
    EXPECT_EQ(lines[2].substr(0, 14), "PW1.058333PE<=");
    EXPECT_EQ(lines[3].substr(0, 14), "PW1.500000PE<=");
}

TEST_F(HPGLTest, DashesBecomeAUserLineTypeOfTheirRuns) {
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFF00);
    // Shifted to 0x00FF: eight on, eight off, each bit the pattern size (16 points).
    const std::string dashed = "UL8,45.16 ,45.16 LT8,5.06,1\n";
    EXPECT_EQ(action->sinceMark().substr(0, dashed.size()), dashed);

    struct Case {
        unsigned short pattern;
        int factor;
        const char* expected;
    };
    const Case cases[] = {
        {0x0F0F, 1, "UL8,22.58 ,22.58 ,22.58 ,22.58 LT8,5.06,1\n"},
        {0x00F0, 1, "UL8,22.58 ,67.73 LT8,5.06,1\n"},
        {0x0000, 1, "UL8,90.31 LT8,5.06,1\n"},
        {0x0FF0, 2, "UL8,90.31 ,90.31 LT8,10.12,1\n"},
    };
    for (const Case& c : cases) {
        action->mark();
        action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, c.pattern, c.factor);
        EXPECT_EQ(action->sinceMark().substr(0, std::string(c.expected).size()), c.expected)
            << std::hex << c.pattern;
    }
}

TEST_F(HPGLTest, EveryRunOfAnAlternatingPatternIsWritten) {
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xAAAA);
    std::string expected = "UL8";
    for (int run = 0; run < 16; ++run) expected += ",5.64 ";
    expected += "LT8,5.06,1\n";
    EXPECT_EQ(action->sinceMark().substr(0, expected.size()), expected);
}

TEST_F(HPGLTest, LineTypesAreWrittenOnlyWhenTheyChange) {
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFF00);
    action->mark();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFF00);
    EXPECT_EQ(action->sinceMark().substr(0, 4), "PE<=");
    action->mark();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFFFF);
    EXPECT_EQ(action->sinceMark().substr(0, 6), "LTPE<=");
    action->mark();
    // A factor means nothing to a solid line.
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFFFF, 3);
    EXPECT_EQ(action->sinceMark().substr(0, 4), "PE<=");
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFF00, 1);
    action->mark();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFF00, 2);
    EXPECT_EQ(action->sinceMark().substr(0, 20), "UL8,90.31 ,90.31 LT8");
}

TEST_F(HPGLTest, TheCompatibilitySettingShortensThePatternLength) {
    SoPreferences::setValue("VXN_COMPAT_HPGL_PLOTWERK_370", "1");
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFF00);
    SoPreferences::setValue("VXN_COMPAT_HPGL_PLOTWERK_370", "0");
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xF0F0);
    SoPreferences::removeValue("VXN_COMPAT_HPGL_PLOTWERK_370");
    const std::string text = action->sinceMark();
    EXPECT_NE(text.find("LT8,1.99,1\n"), std::string::npos);
    EXPECT_NE(text.find("LT8,5.06,1\n"), std::string::npos);
    EXPECT_NEAR(5.06 / 1.99, 2.54, 0.01);
}

TEST_F(HPGLTest, NothingToDrawWritesNothing) {
    startAtCorner();
    action->printPolyLine(nullptr, 3, &red, 0, 1.0f, 0xFFFF, 1);
    action->line({}, red);
    EXPECT_EQ(action->sinceMark(), "");
}

}  // namespace

namespace {

TEST_F(HPGLTest, PrimitivesWithNonFiniteCoordinatesAreReportedAndLeftOut) {
    startAtCorner();
    DebugErrorRecorder recorder;
    const float nan = std::nanf("");
    action->line({mm(0, 0), mm(1, INFINITY), mm(1, 1)}, SbColor(1, 0, 0));
    action->fill({mm(nan, 0), mm(1, 0), mm(1, 1)}, SbColor(1, 0, 0));
    EXPECT_EQ(action->sinceMark(), "");
    EXPECT_TRUE(recorder.contains("SoVectorizeHPGLAction::printPolyLine", "not finite"));
    EXPECT_TRUE(recorder.contains("SoVectorizeHPGLAction::printPolygon", "not finite"));
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0));
    EXPECT_EQ(action->sinceMark(), "PW0.352778PE:?\xC6<=\xBF\xBFO\xC0\xBF;\n");
}

}  // namespace
