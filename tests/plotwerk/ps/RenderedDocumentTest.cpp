// Documents read back by a real PostScript interpreter: every primitive at every level and
// in both colour kinds runs without error, and what is drawn lands where it should.

#include <Tessara/nodes/SoMarkerSet.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "plotwerk/ps/PSScene.h"
#include "support/DebugErrorRecorder.h"
#include "support/GhostscriptRender.h"

namespace {

using Pixel = GhostscriptResult::Rgb;
using PageImage = GhostscriptResult::Image;

/// The sheet position of a drawing position: the default start position is (10, 10) mm.
constexpr float kSheet = 10.0f;

bool isDark(const Pixel& p) {
    return p.r < 100 && p.g < 100 && p.b < 100;
}
bool isRed(const Pixel& p) {
    return p.r > 200 && p.g < 80 && p.b < 80;
}
bool isGreen(const Pixel& p) {
    return p.g > 200 && p.r < 80 && p.b < 80;
}
bool isBlue(const Pixel& p) {
    return p.b > 200 && p.r < 80 && p.g < 80;
}

/// Non-white pixels in a box of sheet millimetres.
int inkIn(const PageImage& image, double x0, double y0, double x1, double y1) {
    const double perMm = image.dpi / 25.4;
    int count = 0;
    for (int px = static_cast<int>(x0 * perMm); px <= static_cast<int>(x1 * perMm); ++px) {
        for (int py = static_cast<int>(y0 * perMm); py <= static_cast<int>(y1 * perMm); ++py) {
            if (!image.pixel(px, image.height - 1 - py).isWhite()) ++count;
        }
    }
    return count;
}

/// One kind of primitive, drawn by direct calls on an open document.
struct Primitive {
    std::string name;
    std::function<void(PSTestAction&)> draw;
};

std::vector<SbVec4f> longPoints(int n, float yMm) {
    std::vector<SbVec4f> points;
    for (int i = 0; i < n; ++i) {
        points.push_back(mm(20.0f + 0.5f * i, yMm + 10.0f * std::sin(0.1f * i)));
    }
    return points;
}

const std::vector<unsigned char>& stripedMask() {
    static const std::vector<unsigned char> mask = [] {
        std::vector<unsigned char> m(128);
        for (int row = 0; row < 32; ++row) {
            for (int k = 0; k < 4; ++k) m[row * 4 + k] = (row / 4) % 2 ? 0xFF : 0x00;
        }
        return m;
    }();
    return mask;
}

std::vector<Primitive> everyPrimitive() {
    const SbColor red(1, 0, 0), green(0, 0.6f, 0), blue(0, 0, 1);
    return {
        {"polyline",
         [=](PSTestAction& a) {
             a.line({mm(20, 20), mm(60, 30), mm(40, 50)}, red, 2);
         }},
        {"dashed polyline",
         [=](PSTestAction& a) {
             a.line({mm(20, 60), mm(170, 60)}, blue, 3, 0xF0F0, 2);
             a.line({mm(20, 65), mm(170, 65)}, blue, 1, 0xAAAA, 1);
         }},
        {"long polyline", [=](PSTestAction& a) { a.line(longPoints(250, 80), green, 1); }},
        {"multicolour polyline",
         [=](PSTestAction& a) {
             const SbVec4f p[] = {mm(100, 20), mm(120, 30), mm(140, 20)};
             const SbColor c[] = {red, green, blue};
             a.printPolyLine(p, 3, c, 1, 2.0f, 0xFF00, 1);
         }},
        {"polygon",
         [=](PSTestAction& a) {
             a.fill({mm(20, 100), mm(60, 100), mm(40, 130)}, red);
         }},
        {"long polygon", [=](PSTestAction& a) { a.fill(longPoints(250, 150), green); }},
        {"patterned polygon",
         [=](PSTestAction& a) {
             a.fill({mm(80, 100), mm(120, 100), mm(120, 130), mm(80, 130)}, blue,
                    stripedMask().data());
             a.fill({mm(130, 100), mm(170, 100), mm(150, 130)}, red, stripedMask().data());
         }},
        {"smooth polygon",
         [=](PSTestAction& a) {
             a.fill({mm(20, 180), mm(60, 180), mm(60, 210), mm(20, 210)}, {red, green, blue, red});
         }},
        {"dot markers",
         [=](PSTestAction& a) {
             a.dots({mm(80, 180), mm(90, 185), mm(100, 180)}, blue, 4);
             const SbVec4f p[] = {mm(110, 180), mm(120, 185)};
             const SbColor c[] = {red, green};
             a.printPolyMark(p, 2, c, 1, 3.0f);
         }},
        {"bitmap markers",
         [=](PSTestAction& a) {
             SoMarkerSet* set = new SoMarkerSet;
             set->ref();
             set->markerIndex.setValues(
                 {SoMarkerSet::CIRCLE_FILLED_9_9, SoMarkerSet::CROSS_7_7, SoMarkerSet::STAR_5_5});
             const SbVec4f p[] = {mm(130, 180), mm(140, 185), mm(150, 180), mm(160, 185)};
             const SbColor c[] = {red, green, blue, red};
             a.printPolyMark(p, 4, c, 0, set);
             set->unref();
         }},
        {"text",
         [=](PSTestAction& a) {
             a.text2(30, 230, "left f(x) 90\xB0", 1, red, 14);
             a.text2(170, 230, "right a\\b", 2, blue, 14, "Times-Roman");
             a.text2(100, 245, "centre", 3, green, 20, "Courier", 0.3f);
         }},
        {"images",
         [=](PSTestAction& a) {
             std::vector<unsigned char> rgb(6 * 4 * 3), grey(6 * 4), rgba(3 * 2 * 4);
             for (std::size_t i = 0; i < rgb.size(); ++i)
                 rgb[i] = static_cast<unsigned char>(i * 9);
             for (std::size_t i = 0; i < grey.size(); ++i)
                 grey[i] = static_cast<unsigned char>(i * 11);
             for (std::size_t i = 0; i < rgba.size(); ++i)
                 rgba[i] = static_cast<unsigned char>(i * 7);
             a.image(30, 255, rgb, SbVec2s(6, 4), SbVec2s(36, 24), 3);
             a.image(80, 255, grey, SbVec2s(6, 4), SbVec2s(36, 24), 1, SoImage::CENTER,
                     SoImage::HALF);
             a.image(130, 255, rgba, SbVec2s(3, 2), SbVec2s(30, 20), 4, SoImage::RIGHT,
                     SoImage::TOP);
         }},
    };
}

/// A whole document framed as an apply frames it, with the given primitives inside.
std::string documentOf(PSTestAction& action, const std::vector<Primitive>& primitives) {
    action.setBackgroundColor(1, SbColor(0.95f, 0.95f, 0.8f));
    action.writeHeader();
    action.printBackground();
    action.setHardwareClip();
    for (const Primitive& primitive : primitives) primitive.draw(action);
    action.printBorder();
    action.writeFooter();
    return action.text();
}

/// What a level and colour kind make of the document with every primitive.
struct Variant {
    unsigned int level;
    int colored;
};

/// Names the variant in failure messages.
void PrintTo(const Variant& v, std::ostream* out) {
    *out << "level " << v.level << (v.colored ? " colour" : " grey");
}

class EveryPrimitive : public PSTest, public ::testing::WithParamInterface<Variant> {
  protected:
    void SetUp() override {
        if (!ghostscriptAvailable()) GTEST_SKIP() << "Ghostscript (gs) is not installed";
        PSTest::SetUp();
        action->getPSVectorOutput()->setLevel(GetParam().level);
        action->getPSVectorOutput()->setColored(GetParam().colored);
    }

    /// The name of each primitive that fails on its own, for a failure message.
    std::string culprits() {
        std::string names;
        for (const Primitive& primitive : everyPrimitive()) {
            PSTestAction single;
            single.getPSVectorOutput()->setLevel(GetParam().level);
            single.getPSVectorOutput()->setColored(GetParam().colored);
            if (!renderPostScript(documentOf(single, {primitive})).ok()) {
                names += primitive.name + "; ";
            }
        }
        return names;
    }
};

TEST_P(EveryPrimitive, RendersWithoutErrorAndInksThePage) {
    DebugErrorRecorder warnings;  // the long dash pattern is truncated below level 3
    const GhostscriptResult result = renderPostScript(documentOf(*action, everyPrimitive()));
    EXPECT_TRUE(result.ran);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_TRUE(result.ok()) << result.messages << "\nfailing on their own: " << culprits();
    EXPECT_EQ(result.pageCount, 1);
    ASSERT_FALSE(result.image.empty());
    // The background covers the drawing; the primitives stand out from it.
    const PageImage& page = result.image;
    const Pixel background = page.atMillimetres(kSheet + 180, kSheet + 150);
    EXPECT_FALSE(background.isWhite());
    auto differs = [](const Pixel& a, const Pixel& b) {
        return std::abs(a.r - b.r) > 30 || std::abs(a.g - b.g) > 30 || std::abs(a.b - b.b) > 30;
    };
    int drawn = 0, dark = 0;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            const Pixel p = page.pixel(x, y);
            drawn += !p.isWhite() && differs(p, background);
            dark += isDark(p);
        }
    }
    EXPECT_GT(drawn, 3000) << "polygons, lines, markers, text and images";
    EXPECT_GT(dark, 100) << "text, markers and the border are dark";
}

INSTANTIATE_TEST_SUITE_P(LevelsAndKinds, EveryPrimitive,
                         ::testing::Values(Variant{1, 1}, Variant{2, 1}, Variant{3, 1},
                                           Variant{1, 0}, Variant{2, 0}, Variant{3, 0}),
                         [](const ::testing::TestParamInfo<Variant>& info) {
                             return "Level" + std::to_string(info.param.level) +
                                    (info.param.colored ? "Colour" : "Grey");
                         });

class Rendered : public PSScene {
  protected:
    void SetUp() override {
        if (!ghostscriptAvailable()) GTEST_SKIP() << "Ghostscript (gs) is not installed";
        PSScene::SetUp();
    }

    GhostscriptResult render(int dpi = 36) {
        GhostscriptOptions options;
        options.dpi = dpi;
        GhostscriptResult result = renderPostScript(action->text(), options);
        EXPECT_TRUE(result.ok()) << result.messages;
        EXPECT_FALSE(result.image.empty());
        return result;
    }

    /// Opens a document on the default 190 x 277 mm drawing for direct calls.
    void openDocument() {
        action->setDrawingDimensions(190.0f, 277.0f);
        action->writeHeader();
    }
};

TEST_F(Rendered, ARedSquareSceneIsRedWhereTheCameraPutsIt) {
    action->setBorder(2.0f, SbColor(0, 0, 0));
    root->addChild(rectangle(SbColor(1, 0, 0), -0.5f, -0.5f, 0.5f, 0.5f));
    action->apply(root);
    const GhostscriptResult result = render(72);
    const PageImage& page = result.image;
    // Object -0.5..0.5 is 25..75 mm on the drawing, 35..85 mm on the sheet.
    EXPECT_TRUE(isRed(page.atMillimetres(60, 60)));
    EXPECT_TRUE(isRed(page.atMillimetres(37, 37)));
    EXPECT_TRUE(isRed(page.atMillimetres(83, 83)));
    EXPECT_TRUE(page.atMillimetres(32, 60).isWhite());
    EXPECT_TRUE(page.atMillimetres(88, 60).isWhite());
    EXPECT_TRUE(page.atMillimetres(60, 30).isWhite());
    // The border runs along the drawing's edges, 10 and 110 mm.
    EXPECT_TRUE(isDark(page.atMillimetres(10, 60)));
    EXPECT_TRUE(isDark(page.atMillimetres(110, 60)));
    EXPECT_TRUE(page.atMillimetres(5, 60).isWhite());
    EXPECT_TRUE(page.atMillimetres(115, 60).isWhite());
}

TEST_F(Rendered, ADashedLineHasGapsAndASolidOneHasNone) {
    action->setBorder(0.0f);
    root->addChild(styledLine(SbColor(0, 0, 0), SbVec3f(-0.8f, 0.2f, 0), SbVec3f(0.8f, 0.2f, 0),
                              4.0f, 0xFF00));
    root->addChild(styledLine(SbColor(0, 0, 0), SbVec3f(-0.8f, -0.2f, 0), SbVec3f(0.8f, -0.2f, 0),
                              4.0f, 0xFFFF));
    action->apply(root);
    const GhostscriptResult result = render(72);
    // The lines lie at 60 and 40 mm on the drawing (70 and 50 on the sheet), from 20 to 100
    // mm across the sheet. Dashes of 8 bits are 2.8 mm: walk the middle 70 mm.
    auto walk = [&result](double y, int& inked, int& changes) {
        inked = 0;
        changes = 0;
        bool previous = false;
        for (double x = 25.0; x <= 95.0; x += 0.25) {
            const bool ink = isDark(result.image.atMillimetres(x, y));
            inked += ink;
            if (x > 25.0 && ink != previous) ++changes;
            previous = ink;
        }
    };
    int inked = 0, changes = 0;
    walk(70.0, inked, changes);
    EXPECT_GT(changes, 16) << "some twelve dashes along 70 mm";
    EXPECT_GT(inked, 90);
    EXPECT_LT(inked, 190);
    walk(50.0, inked, changes);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(inked, 281);
}

TEST_F(Rendered, AGreyDocumentHasNoColouredPixel) {
    setGrey();
    setLevel(3);
    openDocument();
    action->setHardwareClip();
    for (const Primitive& primitive : everyPrimitive()) primitive.draw(*action);
    action->printBorder();
    action->writeFooter();
    const GhostscriptResult result = render(36);
    int coloured = 0, ink = 0;
    for (int y = 0; y < result.image.height; ++y) {
        for (int x = 0; x < result.image.width; ++x) {
            coloured += result.image.pixel(x, y).isColoured();
            ink += !result.image.pixel(x, y).isWhite();
        }
    }
    EXPECT_EQ(coloured, 0);
    EXPECT_GT(ink, 1000);
}

TEST_F(Rendered, ALandscapeDrawingIsTurnedAQuarterOnTheSheet) {
    for (int landscape = 0; landscape <= 1; ++landscape) {
        SCOPED_TRACE(landscape);
        PSTestAction page;
        page.setBorder(0.0f);
        page.setDrawingDimensions(150.0f, 100.0f);
        page.setOrientation(landscape ? SoVectorizeAction::LANDSCAPE : SoVectorizeAction::PORTRAIT);
        page.writeHeader();
        page.fill({mm(0, 0), mm(30, 0), mm(30, 30), mm(0, 30)}, SbColor(1, 0, 0));
        page.fill({mm(120, 70), mm(150, 70), mm(150, 100), mm(120, 100)}, SbColor(0, 0, 1));
        page.writeFooter();
        const GhostscriptResult result = renderPostScript(page.text());
        ASSERT_TRUE(result.ok()) << result.messages;
        const PageImage& sheet = result.image;
        if (landscape) {
            // Drawing (X, Y) lies at (10 + 100 - Y, 10 + X) on the sheet.
            EXPECT_TRUE(isRed(sheet.atMillimetres(95, 25)));
            EXPECT_TRUE(isBlue(sheet.atMillimetres(25, 145)));
            EXPECT_TRUE(sheet.atMillimetres(25, 25).isWhite());
            EXPECT_TRUE(sheet.atMillimetres(145, 95).isWhite());
        } else {
            EXPECT_TRUE(isRed(sheet.atMillimetres(25, 25)));
            EXPECT_TRUE(isBlue(sheet.atMillimetres(145, 95)));
            EXPECT_TRUE(sheet.atMillimetres(95, 25).isWhite());
        }
    }
}

TEST_F(Rendered, TextLandsOnTheSideItsJustificationSays) {
    openDocument();
    // 30 nominal widths: letters about 7.6 mm high; "HHHH" about 30 mm long.
    action->text2(60, 200, "HHHH", 1, SbColor(0, 0, 0), 30);
    action->text2(120, 150, "HHHH", 2, SbColor(0, 0, 0), 30);
    action->text2(90, 100, "HHHH", 3, SbColor(0, 0, 0), 30);
    action->text2(100, 30, "HHHH", 1, SbColor(0, 0, 0), 30, "Helvetica", 1.5707964f);
    action->writeFooter();
    const PageImage page = render(36).image;
    auto ink = [&page](double x0, double y0, double x1, double y1) {
        return inkIn(page, kSheet + x0, kSheet + y0, kSheet + x1, kSheet + y1);
    };
    EXPECT_GT(ink(61, 201, 85, 206), 20) << "left: after the anchor";
    EXPECT_EQ(ink(25, 195, 58, 215), 0);
    EXPECT_GT(ink(95, 151, 119, 156), 20) << "right: before the anchor";
    EXPECT_EQ(ink(122, 145, 160, 165), 0);
    EXPECT_GT(ink(78, 101, 89, 106), 10) << "centre: on both sides";
    EXPECT_GT(ink(91, 101, 102, 106), 10);
    EXPECT_EQ(ink(110, 95, 140, 115), 0);
    EXPECT_EQ(ink(40, 95, 70, 115), 0);
    EXPECT_GT(ink(94, 31, 99, 55), 20) << "a quarter turn: upwards, letters to the left";
    EXPECT_EQ(ink(101, 25, 130, 65), 0);
}

TEST_F(Rendered, AnImageLandsAtItsAnchorWithItsColours) {
    openDocument();
    // Rows bottom first: red, green / blue, yellow; 40 x 40 pixels of 0.353 mm.
    const std::vector<unsigned char> pixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
    action->image(100, 100, pixels, SbVec2s(2, 2), SbVec2s(40, 40), 3);
    action->image(50, 200, pixels, SbVec2s(2, 2), SbVec2s(40, 40), 3, SoImage::CENTER,
                  SoImage::HALF);
    action->writeFooter();
    const PageImage page = render(72).image;
    auto at = [&page](double x, double y) { return page.atMillimetres(kSheet + x, kSheet + y); };
    // Left and bottom aligned: 100..114.1 mm both ways.
    EXPECT_TRUE(isRed(at(103.5, 103.5)));
    EXPECT_TRUE(isGreen(at(110.5, 103.5)));
    EXPECT_TRUE(isBlue(at(103.5, 110.5)));
    const Pixel yellow = at(110.5, 110.5);
    EXPECT_TRUE(yellow.r > 200 && yellow.g > 200 && yellow.b < 80);
    EXPECT_TRUE(at(98, 107).isWhite());
    EXPECT_TRUE(at(116, 107).isWhite());
    EXPECT_TRUE(at(107, 98).isWhite());
    // Centred on its anchor.
    EXPECT_TRUE(isRed(at(46.5, 196.5)));
    EXPECT_TRUE(isGreen(at(53.5, 196.5)));
    EXPECT_TRUE(isBlue(at(46.5, 203.5)));
    EXPECT_TRUE(at(41, 200).isWhite());
    EXPECT_TRUE(at(59, 200).isWhite());
}

TEST_F(Rendered, MarkersAreCentredOnTheirPoints) {
    openDocument();
    SoMarkerSet* set = new SoMarkerSet;
    set->ref();
    set->markerIndex.setValue(SoMarkerSet::SQUARE_FILLED_9_9);
    const SbVec4f markerPoint = mm(100, 100);
    const SbColor black(0, 0, 0);
    action->printPolyMark(&markerPoint, 1, &black, 0, set);
    set->unref();
    action->dots({mm(60, 100)}, black, 10.0f);  // a 3.5 mm square
    action->writeFooter();
    const PageImage page = render(72).image;
    auto at = [&page](double x, double y) { return page.atMillimetres(kSheet + x, kSheet + y); };
    // The 9 x 9 marker is 3.2 mm wide.
    EXPECT_TRUE(isDark(at(100, 100)));
    EXPECT_TRUE(isDark(at(99, 99)));
    EXPECT_TRUE(isDark(at(101, 101)));
    EXPECT_TRUE(at(97.5, 100).isWhite());
    EXPECT_TRUE(at(102.5, 100).isWhite());
    EXPECT_TRUE(at(100, 97.5).isWhite());
    EXPECT_TRUE(at(100, 102.5).isWhite());
    EXPECT_TRUE(isDark(at(60, 100)));
    EXPECT_TRUE(isDark(at(58.6, 101.4)));
    EXPECT_TRUE(at(57.5, 100).isWhite());
    EXPECT_TRUE(at(62.5, 100).isWhite());
    EXPECT_TRUE(at(60, 102.5).isWhite());
}

TEST_F(Rendered, ASmoothPolygonIsShadedBetweenItsCornerColours) {
    setLevel(3);
    openDocument();
    action->fill({mm(20, 20), mm(100, 20), mm(100, 100), mm(20, 100)},
                 {SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1), SbColor(0, 0, 1)});
    action->writeFooter();
    const PageImage page = render(36).image;
    auto at = [&page](double x, double y) { return page.atMillimetres(kSheet + x, kSheet + y); };
    const Pixel nearRed = at(23, 23), nearGreen = at(97, 23), nearBlue = at(60, 97);
    EXPECT_GT(nearRed.r, 200);
    EXPECT_LT(nearRed.g, 60);
    EXPECT_GT(nearGreen.g, 200);
    EXPECT_LT(nearGreen.r, 60);
    EXPECT_GT(nearBlue.b, 200);
    const Pixel middle = at(60, 40);
    EXPECT_GT(middle.r, 40);
    EXPECT_GT(middle.g, 40);
    EXPECT_TRUE(at(15, 60).isWhite());
}

TEST_F(Rendered, APatternedPolygonLeavesItsMaskHoles) {
    openDocument();
    action->fill({mm(20, 20), mm(100, 20), mm(100, 100), mm(20, 100)}, SbColor(0, 0, 0),
                 stripedMask().data());
    action->writeFooter();
    const PageImage page = render(72).image;
    int inked = 0, blank = 0;
    for (double y = 30; y <= 90; y += 0.2) {
        const Pixel p = page.atMillimetres(kSheet + 60, kSheet + y);
        inked += !p.isWhite();
        blank += p.isWhite();
    }
    // Bands of four mask rows: about half of the column is inked.
    EXPECT_GT(inked, 60);
    EXPECT_GT(blank, 60);
    EXPECT_EQ(inkIn(page, kSheet + 2, kSheet + 2, kSheet + 15, kSheet + 100), 0);
}

TEST_F(Rendered, TheBackgroundFillsTheDrawingOnly) {
    action->setBorder(0.0f);
    action->setBackgroundColor(1, SbColor(0, 0, 1));
    action->apply(root);
    const PageImage page = render(36).image;
    EXPECT_TRUE(isBlue(page.atMillimetres(12, 12)));
    EXPECT_TRUE(isBlue(page.atMillimetres(108, 108)));
    EXPECT_TRUE(page.atMillimetres(8, 60).isWhite());
    EXPECT_TRUE(page.atMillimetres(60, 113).isWhite());
}

}  // namespace
