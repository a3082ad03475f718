// Page settings, units and the pen table.

#include <PlotWerk/SoPlotWerk.h>
#include <gtest/gtest.h>

#include "FrameTestAction.h"

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { SoPlotWerk::init(); }
    void TearDown() override { SoPlotWerk::finish(); }
};

TEST_F(SettingsTest, DefaultsMatchAPortraitA4Drawing) {
    FrameTestAction action;
    EXPECT_EQ(action.getDrawingDimensions(), SbVec2f(190, 277));
    EXPECT_EQ(action.getStartPosition(), SbVec2f(10, 10));
    EXPECT_EQ(action.getOrientation(), SoVectorizeAction::PORTRAIT);
    float width = 0;
    SbColor color;
    action.getBorder(&width, &color);
    EXPECT_FLOAT_EQ(width, 2.0f);
    EXPECT_EQ(color, SbColor(1, 1, 1));
    EXPECT_EQ(action.getBackgroundColor(&color), 0);
    EXPECT_EQ(color, SbColor(0, 0, 0));
    EXPECT_FLOAT_EQ(action.getNominalWidth(), 0.35277778f);
    EXPECT_FLOAT_EQ(action.getLinePatternSize(), 5.6444445f);
    EXPECT_FLOAT_EQ(action.getPixelImageSize(), 0.35277778f);
    EXPECT_FLOAT_EQ(action.getMiterLimit(), 1.5f);
    EXPECT_EQ(action.getColorTranslationMethod(), SoVectorizeAction::SWAP_BLACK_AND_WHITE);
    EXPECT_EQ(action.getColorPriority(), 1);
    EXPECT_EQ(action.getPenNum(), 0);
    EXPECT_EQ(action.getHLHSRMode(), SoVectorizeAction::HLHSR_OFF);
    EXPECT_FLOAT_EQ(action.getHLHSRRasterQuality(), 0.5f);
    EXPECT_EQ(action.getHLHSRRasterCaching(), 1);
    EXPECT_EQ(action.getHLHSRRasterTileSize(), 2048);
    EXPECT_EQ(action.isLightingEnabled(), 0);
    EXPECT_EQ(action.getShadeModel(), SoVectorizeAction::FLAT);
}

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
    action.setLinePatternSize(3.0f, bogus);
    EXPECT_FLOAT_EQ(action.getLinePatternSize(), 0.0f);
    EXPECT_FLOAT_EQ(action.getNominalWidth(bogus), 0.0f);
}

TEST_F(SettingsTest, MiterLimitIsAtLeastOne) {
    FrameTestAction action;
    action.setMiterLimit(0.5f);
    EXPECT_FLOAT_EQ(action.getMiterLimit(), 1.0f);
    action.setMiterLimit(4.0f);
    EXPECT_FLOAT_EQ(action.getMiterLimit(), 4.0f);
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

TEST_F(SettingsTest, DefaultPensDependOnTheCountAsked) {
    FrameTestAction action;
    action.setPenDescription(3, nullptr, nullptr, SoVectorizeAction::MILLIMETER);
    ASSERT_EQ(action.getPenNum(), 4);
    SbColor colors[4];
    float widths[4];
    action.getPenDescription(colors, widths, SoVectorizeAction::MILLIMETER);
    EXPECT_EQ(colors[0], SbColor(1, 1, 1));
    EXPECT_EQ(colors[1], SbColor(0, 0, 0));
    EXPECT_EQ(colors[2], SbColor(1, 0, 0));
    EXPECT_EQ(colors[3], SbColor(0, 1, 0));
    for (float w : widths) EXPECT_FLOAT_EQ(w, 0.35277778f);
    action.setPenDescription(1, nullptr, nullptr, SoVectorizeAction::MILLIMETER);
    EXPECT_EQ(action.getPenNum(), 2);
    action.setPenDescription(6, nullptr, nullptr, SoVectorizeAction::MILLIMETER);
    EXPECT_EQ(action.getPenNum(), 8);
}

TEST_F(SettingsTest, PenTablesAreCappedAndConverted) {
    FrameTestAction action;
    std::vector<SbColor> colors(300, SbColor(0.5f, 0.5f, 0.5f));
    action.setPenDescription(300, colors.data(), nullptr, SoVectorizeAction::MILLIMETER);
    EXPECT_EQ(action.getPenNum(), 256);
    const SbColor two[2] = {SbColor(1, 0, 0), SbColor(0, 0, 1)};
    const float inches[2] = {0.01f, 0.02f};
    action.setPenDescription(2, two, inches, SoVectorizeAction::INCH);
    SbColor outColors[2];
    float outMm[2];
    action.getPenDescription(outColors, outMm, SoVectorizeAction::MILLIMETER);
    EXPECT_FLOAT_EQ(outMm[0], 0.254f);
    EXPECT_FLOAT_EQ(outMm[1], 0.508f);
    EXPECT_EQ(outColors[1], SbColor(0, 0, 1));
    action.setPenDescription(0, nullptr, nullptr, SoVectorizeAction::MILLIMETER);
    EXPECT_EQ(action.getPenNum(), 0);
}

}  // namespace
