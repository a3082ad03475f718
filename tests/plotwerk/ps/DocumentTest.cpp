// Whole documents: the procedure set of each level and colour kind, and what Ghostscript
// makes of them: every primitive renders without error in its colour kind, and what each
// draws lands where it should, in its colour, on the side its alignment says.

#include <Tessara/nodes/SoBaseColor.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoFaceSet.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "plotwerk/ps/PSFixture.h"
#include "support/DebugErrorRecorder.h"
#include "support/GhostscriptRender.h"

namespace {

std::vector<SbVec4f> wave(int n, float yMm) {
    std::vector<SbVec4f> points;
    for (int i = 0; i < n; ++i)
        points.push_back(mm(20.0f + 0.5f * i, yMm + 10.0f * std::sin(0.1f * i)));
    return points;
}

/// A 32 x 32 fill mask of horizontal bands four rows high.
const std::vector<unsigned char> kStripes = [] {
    std::vector<unsigned char> mask(128);
    for (int i = 0; i < 128; ++i) mask[i] = (i / 16) % 2 ? 0xFF : 0x00;
    return mask;
}();

/// A whole document framed as an apply frames it, holding each kind of primitive with the
/// variants that take their own procedures or data.
std::string documentOfEveryPrimitive(PSTestAction& a) {
    a.setBackgroundColor(1, SbColor(0.95f, 0.95f, 0.8f));
    a.writeHeader();
    a.printBackground();
    a.setHardwareClip();
    const SbColor green(0, 0.6f, 0);
    a.line({mm(20, 20), mm(60, 30), mm(40, 50)}, kRed, 2);
    a.line({mm(20, 60), mm(170, 60)}, kBlue, 3, 0xF0F0, 2);
    a.line({mm(20, 65), mm(170, 65)}, kBlue, 1, 0xAAAA, 1);  // truncated below level 3
    a.line(wave(250, 80), green);
    const SbVec4f corner[] = {mm(100, 20), mm(120, 30), mm(140, 20)};
    const SbColor colors[] = {kRed, green, kBlue, kRed};
    a.printPolyLine(corner, 3, colors, 1, 2.0f, 0xFF00, 1);
    a.fill({mm(20, 100), mm(60, 100), mm(40, 130)}, kRed);
    a.fill(wave(250, 150), green);
    a.fill({mm(80, 100), mm(120, 100), mm(120, 130), mm(80, 130)}, kBlue, kStripes.data());
    a.fill({mm(20, 180), mm(60, 180), mm(60, 210), mm(20, 210)}, {kRed, green, kBlue, kRed});
    a.dots({mm(80, 180), mm(90, 185), mm(100, 180)}, {kBlue}, 4);
    a.dots({mm(110, 180), mm(120, 185)}, {kRed, green}, 3);
    a.markers({mm(130, 180), mm(140, 185), mm(150, 180)},
              {SoMarkerSet::CIRCLE_FILLED_9_9, SoMarkerSet::CROSS_7_7}, {kRed, green, kBlue});
    a.label(30, 230, "left f(x) 90\xB0", 1, 0, 14, kRed);
    a.label(170, 230, "right a\\b", 2, 0, 14, kBlue, "Times-Roman");
    a.label(100, 245, "centre", 3, 0.3f, 20, green, "Courier");
    std::vector<unsigned char> pixels(6 * 4 * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 9);
    a.image(30, 255, pixels, SbVec2s(6, 4), SbVec2s(36, 24), 3);
    a.image(80, 255, pixels, SbVec2s(6, 4), SbVec2s(36, 24), 1, SoImage::CENTER, SoImage::HALF);
    a.image(130, 255, pixels, SbVec2s(3, 2), SbVec2s(30, 20), 4, SoImage::RIGHT, SoImage::TOP);
    a.printBorder();
    a.writeFooter();
    return a.text();
}

/// 64-bit FNV-1a.
std::uint64_t digest(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

struct Variant {
    unsigned int level;
    bool colored;
    std::uint64_t procedureSet;  ///< digest of the text before the page set-up
};

const Variant kVariants[] = {
    {1, true, 0x56d438859c8af4adull},  {2, true, 0x1d3a857462f23279ull},
    {3, true, 0x3442a72d178636f4ull},  {1, false, 0x119388a192fca546ull},
    {2, false, 0x282a32d1f3a3f302ull}, {3, false, 0xa8cd102b7df13515ull},
};

using Pixel = GhostscriptResult::Rgb;

bool is(const std::string& look, const Pixel& p) {
    const bool high[] = {p.r > 200, p.g > 200, p.b > 200}, low[] = {p.r < 80, p.g < 80, p.b < 80};
    if (look == "white") return p.isWhite();
    if (look == "dark") return p.r < 100 && p.g < 100 && p.b < 100;
    if (look == "red") return high[0] && low[1] && low[2];
    if (look == "green") return low[0] && high[1] && low[2];
    if (look == "blue") return low[0] && low[1] && high[2];
    if (look == "yellow") return high[0] && high[1] && low[2];
    EXPECT_TRUE(look == "ink" || look == "broken") << look;
    return !p.isWhite();
}

/// Checks looks given as "look x y" at a point or "look x0 y0 x1 y1" along a line or over a
/// box, in sheet millimetres, comma separated. White, dark and the colours hold at every
/// sample; "ink" means ink in at least one sample in twenty; "broken" means ink and gaps
/// alternating at least sixteen times.
void expectLooks(const GhostscriptResult::Image& page, const std::string& probes) {
    std::istringstream list(probes);
    for (std::string probe; std::getline(list, probe, ',');) {
        std::istringstream in(probe);
        std::string look;
        double x0 = 0, y0 = 0;
        in >> look >> x0 >> y0;
        double x1 = x0, y1 = y0;  // kept when no second corner follows
        in >> x1 >> y1;
        int samples = 0, matching = 0, changes = 0;
        bool previous = false;
        for (double x = x0; x <= x1 + 1e-9; x += 0.25) {
            for (double y = y0; y <= y1 + 1e-9; y += 0.25) {
                const Pixel p = page.atMillimetres(x, y);
                changes += samples++ > 0 && p.isWhite() != previous;
                previous = p.isWhite();
                matching += is(look, p);
            }
        }
        const bool ok = look == "ink"      ? matching * 20 >= samples
                        : look == "broken" ? changes >= 16 && matching < samples
                                           : matching == samples;
        EXPECT_TRUE(ok) << probe << ": " << matching << " of " << samples << " samples, " << changes
                        << " changes";
    }
}

/// Direct calls in a document on the default 190 x 277 mm drawing at (10, 10) mm.
Draw document(const Draw& draw) {
    return [draw](PSTestAction& a) {
        a.writeHeader();
        draw(a);
        a.writeFooter();
    };
}

/// Calls and the looks that their render shows, as expectLooks takes them.
using Picture = Statements;

const Picture kPictures[] = {
    // Object -0.5..0.5 is 25..75 mm on the drawing, 35..85 mm on the sheet; the border
    // runs along the drawing's edges, 10 and 110 mm, and the background fills inside them.
    {"a red square scene on its background, in its border",
     [](PSTestAction& a) {
         a.setBorder(2.0f, SbColor(0, 0, 0));
         a.setBackgroundColor(1, kBlue);
         auto* color = new SoBaseColor;
         color->rgb.setValue(kRed);
         auto* square = new SoCoordinate3;
         square->point.setValues({SbVec3f(-0.5f, -0.5f, 0), SbVec3f(0.5f, -0.5f, 0),
                                  SbVec3f(0.5f, 0.5f, 0), SbVec3f(-0.5f, 0.5f, 0)});
         applyScene(a, {color, square, new SoFaceSet});
     },
     "red 37 37 83 83, blue 13 13 32 107, blue 88 13 107 107, dark 10 60, dark 110 60, "
     "white 5 60, white 115 60, white 60 115"},
    // Drawing (X, Y) lies at (10 + 100 - Y, 10 + X) on the sheet.
    {"landscape turns the drawing a quarter",
     [](PSTestAction& a) {
         a.setDrawingDimensions(150.0f, 100.0f);
         a.setOrientation(SoVectorizeAction::LANDSCAPE);
         document([](PSTestAction& d) {
             d.fill({mm(0, 0), mm(30, 0), mm(30, 30), mm(0, 30)}, kRed);
             d.fill({mm(120, 70), mm(150, 70), mm(150, 100), mm(120, 100)}, kBlue);
         })(a);
     },
     "red 95 25, blue 25 145, white 25 25, white 145 95"},
    // Dashes of 8 bits are 2.8 mm; a 32-row fill mask in bands of four rows.
    {"dashed lines and patterned polygons have gaps, solid lines none",
     document([](PSTestAction& a) {
         a.line({mm(15, 60), mm(85, 60)}, SbColor(0, 0, 0), 4, 0xFF00);
         a.line({mm(15, 40), mm(85, 40)}, SbColor(0, 0, 0), 4);
         a.fill({mm(100, 20), mm(180, 20), mm(180, 100), mm(100, 100)}, SbColor(0, 0, 0),
                kStripes.data());
     }),
     "broken 25 70 95 70, dark 27 50 93 50, broken 150 40 150 100, white 100 40 105 100"},
    // 30 nominal widths: letters about 7.6 mm high; "HHHH" about 30 mm long.
    {"text lands on the side its justification says", document([](PSTestAction& a) {
         a.label(60, 200, "HHHH", 1, 0, 30);
         a.label(120, 150, "HHHH", 2, 0, 30);
         a.label(90, 100, "HHHH", 3, 0, 30);
         a.label(100, 30, "HHHH", 1, 1.5707964f, 30);
     }),
     "ink 71 211 95 216, white 35 205 68 225, ink 105 161 129 166, white 132 155 170 175, "
     "ink 88 111 99 116, ink 101 111 112 116, white 120 105 150 125, white 50 105 80 125, "
     "ink 104 41 109 65, white 111 35 140 75"},
    // Rows bottom first: red, green / blue, yellow; 40 x 40 pixels of 0.353 mm.
    {"an image lands at its anchor with its colours", document([](PSTestAction& a) {
         const std::vector<unsigned char> pixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
         a.image(100, 100, pixels, SbVec2s(2, 2), SbVec2s(40, 40), 3);
         a.image(50, 200, pixels, SbVec2s(2, 2), SbVec2s(40, 40), 3, SoImage::CENTER,
                 SoImage::HALF);
     }),
     "red 111 111 116 116, green 118 111 123 116, blue 111 118 116 123, "
     "yellow 118 118 123 123, white 108 117, white 126 117, white 117 108, "
     "red 56.5 206.5, green 63.5 206.5, blue 56.5 213.5, white 51 210, white 69 210"},
    // The 9 x 9 marker is 3.2 mm wide, the dot of 10 nominal widths 3.5 mm.
    {"markers are centred on their points", document([](PSTestAction& a) {
         a.markers({mm(100, 100)}, {SoMarkerSet::SQUARE_FILLED_9_9}, {SbColor(0, 0, 0)});
         a.dots({mm(60, 100)}, {SbColor(0, 0, 0)}, 10.0f);
     }),
     "dark 109 109 111 111, white 107.5 110, white 112.5 110, white 110 107.5, "
     "white 110 112.5, dark 68.6 108.6 71.4 111.4, white 67.5 110, white 72.5 110, "
     "white 70 112.5"},
    {"a smooth polygon is shaded between its corner colours", document([](PSTestAction& a) {
         a.fill({mm(20, 20), mm(100, 20), mm(100, 100), mm(20, 100)}, {kRed, kGreen, kBlue, kBlue});
     }),
     "red 33 33, green 107 33, blue 70 107, white 25 70", 3},
};

using Document = PSTest;

TEST_F(Document, EachVariantHasItsProcedureSetAndRendersEveryPrimitive) {
    const bool rendering = ghostscriptAvailable();
    for (const Variant& v : kVariants) {
        SCOPED_TRACE("level " + std::to_string(v.level) + (v.colored ? " colour" : " grey"));
        PSTestAction action(v.level, v.colored);
        DebugErrorRecorder warnings;  // the long dash pattern is truncated below level 3
        const std::string text = documentOfEveryPrimitive(action);
        const std::size_t setUp = text.find("0.068031 0.068031 scale\n");
        ASSERT_NE(setUp, std::string::npos);
        const std::string procedures = text.substr(0, setUp);
        EXPECT_EQ(digest(procedures), v.procedureSet);
        EXPECT_EQ(text.substr(text.size() - 9), "showpage\n");
        if (!rendering) continue;

        // The background covers the drawing; the primitives stand out from it, dark where
        // they are black, in colour only in colour documents.
        const GhostscriptResult result = renderPostScript(text);
        EXPECT_TRUE(result.ok()) << result.messages;
        EXPECT_EQ(result.pageCount, 1);
        const GhostscriptResult::Image& page = result.image;
        const Pixel background = page.atMillimetres(190, 160);
        EXPECT_FALSE(background.isWhite());
        int drawn = 0, dark = 0, coloured = 0;
        for (int i = 0; i < page.width * page.height; ++i) {
            const Pixel p = page.pixel(i % page.width, i / page.width);
            const int off = std::abs(p.r - background.r) + std::abs(p.g - background.g) +
                            std::abs(p.b - background.b);
            const bool ink = !p.isWhite() && off > 30;
            drawn += ink;
            coloured += ink && p.isColoured(24);
            dark += is("dark", p);
        }
        EXPECT_GT(drawn, 3000);
        EXPECT_GT(dark, 100);
        EXPECT_TRUE(v.colored ? coloured > 1000 : coloured == 0) << coloured;
    }
    if (!rendering) GTEST_SKIP() << "Ghostscript (gs) is not installed: nothing rendered";
}

TEST_F(Document, EachPictureLandsWhereItShould) {
    if (!ghostscriptAvailable()) GTEST_SKIP() << "Ghostscript (gs) is not installed";
    GhostscriptOptions options;
    options.dpi = 72;
    for (const Picture& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        PSTestAction action(picture.level, picture.colored);
        picture.draw(action);
        const GhostscriptResult result = renderPostScript(action.text(), options);
        ASSERT_TRUE(result.ok()) << result.messages;
        expectLooks(result.image, picture.expected);
    }
}

}  // namespace
