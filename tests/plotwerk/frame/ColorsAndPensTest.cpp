// Colour translation and pen choice.

#include <PlotWerk/SoPlotWerk.h>
#include <Tessara/misc/SoPreferences.h>
#include <gtest/gtest.h>

#include "FrameTestAction.h"

namespace {

class ColorsAndPensTest : public ::testing::Test {
  protected:
    void SetUp() override { SoPlotWerk::init(); }
    void TearDown() override {
        SoPreferences::removeValue("VXN_PW_BLACK_AND_WHITE");
        SoPlotWerk::finish();
    }
    void useFourPens(FrameTestAction& action) {
        action.setPenDescription(3, nullptr, nullptr, SoVectorizeAction::MILLIMETER);
    }
};

TEST_F(ColorsAndPensTest, SwapExchangesOnlyExactBlackAndWhite) {
    FrameTestAction action;
    EXPECT_EQ(action.translateColor(SbColor(1, 1, 1)), SbColor(0, 0, 0));
    EXPECT_EQ(action.translateColor(SbColor(0, 0, 0)), SbColor(1, 1, 1));
    EXPECT_EQ(action.translateColor(SbColor(0.5f, 0.5f, 0.5f)), SbColor(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(action.translateColor(SbColor(1, 1, 0.9999f)), SbColor(1, 1, 0.9999f));
}

TEST_F(ColorsAndPensTest, InvertAndKeep) {
    FrameTestAction action;
    action.setColorTranslationMethod(SoVectorizeAction::INVERT_COLORS);
    EXPECT_EQ(action.translateColor(SbColor(0.25f, 0, 1)), SbColor(0.75f, 1, 0));
    action.setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    EXPECT_EQ(action.translateColor(SbColor(1, 1, 1)), SbColor(1, 1, 1));
}

TEST_F(ColorsAndPensTest, BlackAndWhitePreferenceForcesEverythingButWhiteToBlack) {
    SoPreferences::setBool("VXN_PW_BLACK_AND_WHITE", true);
    FrameTestAction action;
    action.setColorTranslationMethod(SoVectorizeAction::INVERT_COLORS);
    EXPECT_EQ(action.translateColor(SbColor(0, 0, 0)), SbColor(1, 1, 1));
    EXPECT_EQ(action.translateColor(SbColor(0.25f, 0.5f, 0.75f)), SbColor(0, 0, 0));
    SoPreferences::setBool("VXN_PW_BLACK_AND_WHITE", false);
    FrameTestAction later;  // the last constructed action's reading wins
    EXPECT_EQ(action.translateColor(SbColor(0.25f, 0.5f, 0.75f)), SbColor(0.75f, 0.5f, 0.25f));
}

TEST_F(ColorsAndPensTest, NoPensKeepsTheRequestedWidth) {
    FrameTestAction action;
    int pen = -1;
    float width = 0;
    action.penAssignment(SbColor(1, 0, 0), 0.7f, &pen, &width);
    EXPECT_EQ(pen, 0);
    EXPECT_FLOAT_EQ(width, 0.7f);
}

TEST_F(ColorsAndPensTest, ColourPriorityPicksTheNearestColour) {
    FrameTestAction action;
    useFourPens(action);
    int pen = -1;
    float width = 0;
    action.penAssignment(SbColor(0.9f, 0.1f, 0.1f), 0.35f, &pen, &width);
    EXPECT_EQ(pen, 2);
    EXPECT_FLOAT_EQ(width, 0.35277778f);
    action.penAssignment(SbColor(0, 1, 0), 0.1f, &pen, &width);
    EXPECT_EQ(pen, 3);
}

TEST_F(ColorsAndPensTest, WidthPriorityLetsTheColourDecideAmongEqualWidths) {
    FrameTestAction action;
    useFourPens(action);
    action.setColorPriority(0);
    int pen = -1;
    float width = 0;
    action.penAssignment(SbColor(0.9f, 0.1f, 0.1f), 0.5f, &pen, &width);
    EXPECT_EQ(pen, 2);
}

TEST_F(ColorsAndPensTest, ColourTiesGoToTheWidestPenNotWiderThanAsked) {
    FrameTestAction action;
    const SbColor colors[3] = {SbColor(0, 0, 0), SbColor(0, 0, 0), SbColor(0, 0, 0)};
    const float widths[3] = {0.2f, 0.6f, 0.4f};
    action.setPenDescription(3, colors, widths, SoVectorizeAction::MILLIMETER);
    int pen = -1;
    float width = 0;
    action.penAssignment(SbColor(0, 0, 0), 0.5f, &pen, &width);
    EXPECT_EQ(pen, 2);
    EXPECT_FLOAT_EQ(width, 0.4f);
    action.penAssignment(SbColor(0, 0, 0), 0.1f, &pen, &width);  // none narrow enough
    EXPECT_EQ(pen, 0);
}

TEST_F(ColorsAndPensTest, WidthPriorityFallsBackToTheNarrowestPens) {
    FrameTestAction action;
    const SbColor colors[3] = {SbColor(1, 0, 0), SbColor(0, 0, 1), SbColor(0, 1, 0)};
    const float widths[3] = {0.5f, 0.3f, 0.3f};
    action.setPenDescription(3, colors, widths, SoVectorizeAction::MILLIMETER);
    action.setColorPriority(0);
    int pen = -1;
    float width = 0;
    action.penAssignment(SbColor(0, 1, 0), 0.1f, &pen, &width);
    EXPECT_EQ(pen, 2);
    action.penAssignment(SbColor(0, 0, 1), 0.5f, &pen, &width);  // exact width wins
    EXPECT_EQ(pen, 0);
}

}  // namespace
