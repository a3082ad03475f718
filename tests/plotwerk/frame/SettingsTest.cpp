// Page settings, units and the pen table.

#include <PlotWerk/SoPlotWerk.h>
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "FrameTestAction.h"
#include "support/DebugErrorRecorder.h"

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { SoPlotWerk::init(); }
    void TearDown() override { SoPlotWerk::finish(); }
};

TEST_F(SettingsTest, UnitsConvertBothWays) {
    FrameTestAction action;
    action.setDrawingDimensions(8.5f, 11.0f, SoVectorizeAction::INCH);
    const SbVec2f mm = action.getDrawingDimensions(SoVectorizeAction::MILLIMETER);
    EXPECT_FLOAT_EQ(mm[0], 215.9f);
    EXPECT_FLOAT_EQ(mm[1], 279.4f);
    EXPECT_FLOAT_EQ(action.getDrawingDimensions(SoVectorizeAction::METER)[0], 0.2159f);
    action.setNominalWidth(0.5f, SoVectorizeAction::METER);
    EXPECT_FLOAT_EQ(action.getNominalWidth(SoVectorizeAction::MILLIMETER), 500.0f);
    // A unit outside the enumeration converts to 0 both ways.
    const auto bogus = static_cast<SoVectorizeAction::DimensionUnit>(7);
    action.setStartPosition(3.0f, 3.0f, bogus);
    EXPECT_FLOAT_EQ(action.getStartPosition()[0], 0.0f);
    EXPECT_FLOAT_EQ(action.getNominalWidth(bogus), 0.0f);
    // A miter limit is at least one.
    action.setMiterLimit(0.5f);
    EXPECT_FLOAT_EQ(action.getMiterLimit(), 1.0f);
}

// What is no finite number would reach the files as such: the setting keeps its value and an
// error is posted. So do a length longer than any sheet, a nominal width (text sizes are
// divided by it) and a line pattern size of 0 or less.
void pens(FrameTestAction& a, float colour, float width) {
    const SbColor colors[2] = {SbColor(1, 0, 0), SbColor(colour, 0, 0)};
    const float widths[2] = {0.3f, width};
    a.setPenDescription(2, colors, widths);
}

TEST_F(SettingsTest, SettingsRefuseWhatIsNoFiniteNumber) {
    using A = FrameTestAction;
    const float far = 2 * SoVectorizeAction::kLongestLength;
    const struct {
        void (*set)(A&, float);
        std::vector<float> refused = {NAN};
    } settings[] = {
        {[](A& a, float v) { a.setDrawingDimensions(v, 1); }, {NAN, far}},
        {[](A& a, float v) { a.setStartPosition(1, v); }, {NAN, -far}},
        {[](A& a, float v) { a.setBorder(v); }},
        {[](A& a, float v) { a.setNominalWidth(v); }, {NAN, -INFINITY, 0, -1, far}},
        {[](A& a, float v) { a.setLinePatternSize(v); }, {INFINITY, 0, -1, far}},
        {[](A& a, float v) { a.setPixelImageSize(v); }, {NAN, far}},
        {[](A& a, float v) { a.setMiterLimit(v); }},
        {[](A& a, float v) { a.setHLHSRRasterQuality(v); }},
        {[](A& a, float v) { a.setPolygonOffset(v); }},
        {[](A& a, float v) { a.setLineOffset(v); }},
        {[](A& a, float v) { a.setMarkerOffset(v); }},
        {[](A& a, float v) { pens(a, v, 0.3f); }},
        {[](A& a, float v) { pens(a, 0.0f, v); }, {NAN, far}},
    };
    for (const auto& setting : settings) {
        FrameTestAction action;
        const std::vector<float> before = settingsOf(action);
        for (const float value : setting.refused) {
            DebugErrorRecorder errors;
            setting.set(action, value);
            EXPECT_EQ(settingsOf(action), before) << value << " taken";
            EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 1u) << value << " not said";
        }
    }
}

// A width the scene gives that no pen has prints one nominal width, as the scene's thinnest
// (0) does; one beyond any sheet prints as long as the longest. Both are said.
TEST_F(SettingsTest, EveryPrintedWidthIsAWidthOnASheet) {
    FrameTestAction action;
    const float nominal = action.getNominalWidth();
    const float longest = SoVectorizeAction::kLongestLength;
    const struct {
        float width, printed;
        bool said;
    } cases[] = {{0, nominal, false},
                 {2.5f, 2.5f * nominal, false},
                 {NAN, nominal, true},
                 {INFINITY, nominal, true},
                 {longest / nominal / 2, longest / 2, false},
                 {2 * longest / nominal, longest, true}};
    for (const auto& c : cases) {
        DebugErrorRecorder errors;
        EXPECT_FLOAT_EQ(action.getPrintedWidth(c.width), c.printed) << c.width;
        EXPECT_EQ(errors.countSeverity(SoDebugError::WARNING), c.said ? 1u : 0u) << c.width;
    }
}

TEST_F(SettingsTest, StartPositionMovesThePageOutsideAPageAndAddsInsideOne) {
    FrameTestAction action;
    action.setStartPosition(20, 30);
    EXPECT_FLOAT_EQ(action.getOffsetX(), 20.0f);
    EXPECT_FLOAT_EQ(action.getOffsetY(), 30.0f);
    action.beginPage(SbVec2f(1, 2), SbVec2f(210, 297), SoVectorizeAction::MILLIMETER);
    action.setStartPosition(5, 6);
    EXPECT_FLOAT_EQ(action.getOffsetX(), 6.0f);
    EXPECT_FLOAT_EQ(action.getOffsetY(), 8.0f);
    action.setDrawingDimensions(50, 60);  // inside a page the page size stays
    action.endPage();
    EXPECT_FLOAT_EQ(action.getOffsetX(), 1.0f);  // the last page's position until set again
}

// Default pens come in even numbers, white, black, red and green first; a table holds at
// most 256 pens and converts their widths.
TEST_F(SettingsTest, PenTables) {
    FrameTestAction action;
    action.setPenDescription(3, nullptr, nullptr, SoVectorizeAction::MILLIMETER);
    ASSERT_EQ(action.getPenNum(), 4);
    SbColor colors[4];
    float widths[4];
    action.getPenDescription(colors, widths, SoVectorizeAction::MILLIMETER);
    EXPECT_EQ(std::vector<SbColor>(colors, colors + 4),
              (std::vector<SbColor>{SbColor(1, 1, 1), SbColor(0, 0, 0), SbColor(1, 0, 0),
                                    SbColor(0, 1, 0)}));
    for (float w : widths) EXPECT_FLOAT_EQ(w, action.getNominalWidth());
    const std::pair<int, int> counts[] = {{1, 2}, {6, 8}, {0, 0}, {300, 256}};
    for (const auto& [asked, made] : counts) {
        const std::vector<SbColor> grey(asked, SbColor(0.5f, 0.5f, 0.5f));
        action.setPenDescription(asked, asked > 8 ? grey.data() : nullptr, nullptr);
        EXPECT_EQ(action.getPenNum(), made) << asked;
    }
    const SbColor two[2] = {SbColor(1, 0, 0), SbColor(0, 0, 1)};
    const float inches[2] = {0.01f, 0.02f};
    action.setPenDescription(2, two, inches, SoVectorizeAction::INCH);
    action.getPenDescription(colors, widths, SoVectorizeAction::MILLIMETER);
    EXPECT_FLOAT_EQ(widths[0], 0.254f);
    EXPECT_FLOAT_EQ(widths[1], 0.508f);
    EXPECT_EQ(colors[1], SbColor(0, 0, 1));
}

}  // namespace
