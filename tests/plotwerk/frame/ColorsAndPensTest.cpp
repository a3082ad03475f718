// Colour translation and pen choice.

#include <PlotWerk/SoPlotWerk.h>
#include <Tessara/misc/SoPreferences.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "FrameTestAction.h"

namespace {

using A = SoVectorizeAction;

class ColorsAndPensTest : public ::testing::Test {
  protected:
    void SetUp() override { SoPlotWerk::init(); }
    void TearDown() override {
        SoPreferences::removeValue("VXN_PW_BLACK_AND_WHITE");
        SoPlotWerk::finish();
    }
};

TEST_F(ColorsAndPensTest, ColoursAreTranslatedByTheChosenMethod) {
    const struct {
        A::ColorTranslationMethod method;
        bool blackAndWhite;  // the preference, read when an action is made
        SbColor in, out;
    } cases[] = {
        // Swapping exchanges only exact black and white.
        {A::SWAP_BLACK_AND_WHITE, false, SbColor(1, 1, 1), SbColor(0, 0, 0)},
        {A::SWAP_BLACK_AND_WHITE, false, SbColor(0, 0, 0), SbColor(1, 1, 1)},
        {A::SWAP_BLACK_AND_WHITE, false, SbColor(1, 1, 0.9999f), SbColor(1, 1, 0.9999f)},
        {A::INVERT_COLORS, false, SbColor(0.25f, 0, 1), SbColor(0.75f, 1, 0)},
        {A::KEEP_COLORS, false, SbColor(1, 1, 1), SbColor(1, 1, 1)},
        // Black and white forces everything but white to black, after the translation.
        {A::INVERT_COLORS, true, SbColor(0, 0, 0), SbColor(1, 1, 1)},
        {A::INVERT_COLORS, true, SbColor(0.25f, 0.5f, 0.75f), SbColor(0, 0, 0)},
        // What is no finite number would be written as such: it goes to the nearest end.
        {A::KEEP_COLORS, false, SbColor(NAN, INFINITY, -INFINITY), SbColor(0, 1, 0)},
    };
    for (const auto& c : cases) {
        SoPreferences::setBool("VXN_PW_BLACK_AND_WHITE", c.blackAndWhite);
        FrameTestAction action;
        action.setColorTranslationMethod(c.method);
        EXPECT_EQ(action.translateColor(c.in), c.out) << c.method << " " << c.blackAndWhite;
    }
}

// Without pens the width asked is kept. By colour priority the nearest colour decides and,
// among equal colours, the widest pen not wider than asked (the first when none is); by width
// priority the width decides (the narrowest pens when none is narrow enough) and the colour
// among equal widths. A colour or width that is no number is near no pen.
TEST_F(ColorsAndPensTest, APenIsChosenByColourOrByWidth) {
    const SbColor black(0, 0, 0), red(1, 0, 0), green(0, 1, 0), blue(0, 0, 1);
    const SbColor reddish(0.9f, 0.1f, 0.1f);
    const float nominal = 0.35277778f;
    const struct {
        int pens;
        std::vector<SbColor> colours;  // none: the default pens white, black, red, green
        std::vector<float> widths;
        int colourPriority;
        SbColor asked;
        float width;
        int pen;
        float given;
    } cases[] = {
        {0, {}, {}, 1, red, 0.7f, 0, 0.7f},
        {3, {}, {}, 1, reddish, 0.35f, 2, nominal},
        {3, {}, {}, 1, green, 0.1f, 3, nominal},
        {3, {}, {}, 0, reddish, 0.5f, 2, nominal},
        {3, {black, black, black}, {0.2f, 0.6f, 0.4f}, 1, black, 0.5f, 2, 0.4f},
        {3, {black, black, black}, {0.2f, 0.6f, 0.4f}, 1, black, 0.1f, 0, 0.2f},
        {3, {red, blue, green}, {0.5f, 0.3f, 0.3f}, 0, green, 0.1f, 2, 0.3f},
        {3, {red, blue, green}, {0.5f, 0.3f, 0.3f}, 0, blue, 0.5f, 0, 0.5f},
        {3, {}, {}, 1, SbColor(NAN, 0, 0), 0.35f, 0, nominal},
        {3, {red, blue, green}, {0.5f, 0.3f, 0.3f}, 0, red, 0.1f, 1, 0.3f},
        {3, {red, blue, green}, {0.5f, 0.3f, 0.3f}, 0, green, NAN, 2, 0.3f},
    };
    for (const auto& c : cases) {
        FrameTestAction action;
        action.setPenDescription(c.pens, c.colours.empty() ? nullptr : c.colours.data(),
                                 c.widths.empty() ? nullptr : c.widths.data(), A::MILLIMETER);
        action.setColorPriority(c.colourPriority);
        int pen = -1;
        float width = 0;
        action.penAssignment(c.asked, c.width, &pen, &width);
        EXPECT_EQ(pen, c.pen) << c.asked[0] << " " << c.asked[1] << " " << c.width;
        EXPECT_FLOAT_EQ(width, c.given) << c.asked[0] << " " << c.asked[1] << " " << c.width;
    }
}

}  // namespace
