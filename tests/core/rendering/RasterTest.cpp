// What is drawn in window pixels from bit patterns and glyphs: dash patterns, markers, fill
// patterns and 2D text.

#include <Tessara/nodes/SoMarkerSet.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "RenderTestSupport.h"

using namespace rendertest;

namespace {

using RasterTest = RenderTest;

bool isGreen(Rgba c) {
    return near(c, 0, 255, 0, 0);
}

/// Lengths of the runs of lit and unlit pixels along row `y`, from the first lit pixel to
/// the last one.
std::vector<int> runsAlongRow(const SoOffscreenRenderer& renderer, int y) {
    std::vector<int> runs;
    bool previous = false;
    for (int x = 0; x < renderer.getBufferSize()[0]; ++x) {
        const bool lit = !isBlack(pixelAt(renderer, x, y));
        if (runs.empty() && !lit) continue;
        if (runs.empty() || lit != previous)
            runs.push_back(1);
        else
            ++runs.back();
        previous = lit;
    }
    if (!runs.empty() && !previous) runs.pop_back();
    return runs;
}

TEST_F(RasterTest, LinePatternLeavesGapsScaledByItsFactor) {
    // Bit 0 first: eight off, then eight on. Three segments chained end to end: one
    // polyline, its dashes running on across joins. Mesa measures dashes by length along
    // the strip, so a dash or gap crossing a joint may come out a pixel short or long; a
    // pattern restarted at each joint would leave a gap of up to 8 extra pixels there.
    for (const int factor : {1, 2}) {
        SCOPED_TRACE(factor);
        const auto renderer =
            rendered(rowLine("DrawStyle { linePattern 0xFF00  linePatternScaleFactor " +
                                 std::to_string(factor) + " } ",
                             {-0.95f, -0.3f, 0.2f, 0.95f}));
        const std::vector<int> runs = runsAlongRow(*renderer, 32);
        ASSERT_GE(runs.size(), 3u);
        for (size_t i = 1; i + 1 < runs.size(); ++i) EXPECT_NEAR(runs[i], 8 * factor, 1) << i;
    }
    const auto nothing = rendered(rowLine("DrawStyle { linePattern 0 } ", {-0.95f, 0.95f}));
    EXPECT_TRUE(pixelsWhere(*nothing, isWhite).at.empty());
}

// Three points, two markers: the third point starts the list again.
TEST_F(RasterTest, MarkersAreTheirBitmapsCentredOnThePoints) {
    const auto renderer =
        rendered(twoPoints(kUnlit + "BaseColor { rgb 1 1 0 } ",
                           "MarkerSet { markerIndex [ " + std::to_string(SoMarkerSet::STAR_9_9) +
                               ", " + std::to_string(SoMarkerSet::CIRCLE_LINE_7_7) + " ] }",
                           {{52, 14}}));
    size_t bits = 0;
    const auto expectMarker = [&](int marker, int side, int cx, int cy) {
        for (int row = 0; row < side; ++row) {
            for (int column = 0; column < side; ++column) {
                const bool set = SoMarkerSet::isMarkerBitSet(marker, row * side + column);
                bits += set;
                const Rgba c = pixelAt(*renderer, cx - side / 2 + column, cy - side / 2 + row);
                EXPECT_EQ(near(c, 255, 255, 0, 0), set)
                    << "marker " << marker << " pixel " << column << ", " << row << ": " << c;
            }
        }
    };
    expectMarker(SoMarkerSet::STAR_9_9, 9, 20, 20);
    expectMarker(SoMarkerSet::CIRCLE_LINE_7_7, 7, 44, 40);
    expectMarker(SoMarkerSet::STAR_9_9, 9, 52, 14);
    EXPECT_EQ(pixelsWhere(*renderer, [](Rgba c) { return !isBlack(c); }).at.size(), bits);
}

TEST_F(RasterTest, FillPatternMasksFilledFaces) {
    // Rows from the bottom, as in the printed drawings: every even row set, and the bottom
    // row in its left half only (columns 0..15, the most significant bits).
    std::string rows = "0xFFFF0000";
    for (int k = 1; k < 32; ++k) rows += k % 2 == 0 ? ", 0xFFFFFFFF" : ", 0";
    const auto renderer =
        rendered(kCamera + kWhite + "Pattern { mask [ " + rows + " ] } " + rectangle(-1, -1, 1, 1));
    // Window row y takes pattern row y mod 32.
    for (int y = 0; y < 32; ++y) {
        const bool fullRow = y % 2 == 0 && y != 0;
        EXPECT_EQ(isWhite(pixelAt(*renderer, 8, y)), fullRow || y == 0) << "row " << y;
        EXPECT_EQ(isWhite(pixelAt(*renderer, 40, y + 32)), fullRow || y == 0);
        EXPECT_EQ(isWhite(pixelAt(*renderer, 20, y)), fullRow) << "row " << y;
    }
}

/// The green pixels of the scene of `body`, drawn in green.
Pixels inked(const std::string& body) {
    return pixelsWhere(*RenderTest::rendered(kCamera + kUnlit + "BaseColor { rgb 0 1 0 } " + body),
                       isGreen);
}

TEST_F(RasterTest, Text2IsDrawnInPointsFromItsAnchor) {
    // Left-justified from the origin (pixel 32, 32), on the baseline, 20 pixels high.
    const Pixels left = inked("Font { size 20 } Text2 { string \"HH\" }");
    EXPECT_GT(left.at.size(), 60u);
    EXPECT_GE(left.box[0], 32);
    EXPECT_GE(left.box[1], 32);
    EXPECT_LT(left.box[3], 32 + 20);
    const Pixels right = inked("Font { size 20 } Text2 { string \"HH\"  justification RIGHT }");
    EXPECT_EQ(right.at.size(), left.at.size());
    EXPECT_LT(right.box[2], 32);
    EXPECT_GT(right.box[2], 26);
    // Faces drawn as outlines before it leave the text filled: the stems of a big H.
    const std::string outlined = "DrawStyle { style LINES } Separator { BaseColor { rgb 1 0 0 } " +
                                 rectangle(-1, -1, -0.5f, -0.5f) + "} ";
    EXPECT_EQ(inked(outlined + "Font { size 40 } Text2 { string \"H\" }").at,
              inked("Font { size 40 } Text2 { string \"H\" }").at);
}

TEST_F(RasterTest, AnnotationTextShownFlatTakesItsSizeFromTheScene) {
    // Turned 60 degrees about y, half a unit high: a font-size step along y measures 16
    // pixels on the screen, so the text shows as 16-point screen text would, and its
    // foreshortened glyph polygons are not drawn besides.
    const std::string turned = "Rotation { rotation 0 1 0 1.0471976 } Font { size 0.5 } ";
    const Pixels shown = inked(turned + "AnnoText3 { string \"Hi\" }");
    EXPECT_GT(shown.at.size(), 40u);
    EXPECT_EQ(shown.at, inked("Font { size 16 } Text2 { string \"Hi\" }").at);
    // Drawn as its glyph polygons instead, it is foreshortened: a different picture.
    const Pixels polygons = inked("AnnoText3Property { renderPrintType RENDER3D_PRINT_VECTOR } " +
                                  turned + "AnnoText3 { string \"Hi\" }");
    EXPECT_GT(polygons.at.size(), 20u);
    EXPECT_NE(polygons.at, shown.at);
}

}  // namespace
