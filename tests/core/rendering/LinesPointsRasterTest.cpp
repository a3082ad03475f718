// Lines, points and what is drawn in window pixels: widths, dash patterns, point sizes,
// markers, fill patterns, images and 2D text.

#include <Tessara/math/SbRotation.h>
#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoAnnoText3Property.h>
#include <Tessara/nodes/SoDrawStyle.h>
#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <Tessara/nodes/SoPattern.h>
#include <Tessara/nodes/SoPointSet.h>
#include <Tessara/nodes/SoRotation.h>
#include <Tessara/nodes/SoText2.h>

#include <vector>

#include "RenderTestSupport.h"

using namespace rendertest;

namespace {

using LinesPointsRasterTest = RenderTest;

bool isWhite(Rgba c) {
    return c.r == 255 && c.g == 255 && c.b == 255;
}

/// A polyline through the points, in white and unlit, after the style.
void addPolyline(SoGroup* root, std::initializer_list<SbVec3f> points, SoDrawStyle* style) {
    addUnlitColor(root, SbColor(1, 1, 1));
    if (style != nullptr) root->addChild(style);
    auto* coords = new SoCoordinate3;
    coords->point.setValues(points);
    root->addChild(coords);
    root->addChild(new SoLineSet);
}

/// Lengths of the runs of lit and unlit pixels along row `y`, from the first lit pixel to
/// the last one.
std::vector<int> runsAlongRow(const SoOffscreenRenderer& renderer, int y) {
    std::vector<int> runs;
    const int width = renderer.getBufferSize()[0];
    int first = -1, last = -1;
    for (int x = 0; x < width; ++x) {
        if (isBlack(pixelAt(renderer, x, y))) continue;
        if (first < 0) first = x;
        last = x;
    }
    for (int x = first; first >= 0 && x <= last; ++x) {
        const bool lit = !isBlack(pixelAt(renderer, x, y));
        if (x == first || lit != !isBlack(pixelAt(renderer, x - 1, y)))
            runs.push_back(1);
        else
            ++runs.back();
    }
    return runs;
}

int litRowsInColumn(const SoOffscreenRenderer& renderer, int x) {
    int rows = 0;
    for (int y = 0; y < renderer.getBufferSize()[1]; ++y) rows += isWhite(pixelAt(renderer, x, y));
    return rows;
}

TEST_F(LinesPointsRasterTest, LineWidthIsInPointsAtTheRegionsResolution) {
    addCamera(root);
    auto* style = new SoDrawStyle;
    addPolyline(root, {SbVec3f(-0.9f, pixelCentre(32), 0), SbVec3f(0.9f, pixelCentre(32), 0)},
                style);
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    EXPECT_EQ(litRowsInColumn(renderer, 32), 1);  // width 0: the thinnest line
    EXPECT_TRUE(isWhite(pixelAt(renderer, 32, 32)));

    style->lineWidth.setValue(5.0f);
    renderRoot(renderer);
    EXPECT_EQ(litRowsInColumn(renderer, 32), 5);
    for (int y = 30; y <= 34; ++y) EXPECT_TRUE(isWhite(pixelAt(renderer, 32, y))) << y;

    // At 144 pixels per inch a point is two pixels.
    renderer.setViewportRegion(SbViewportRegion(64, 64, 144.0f));
    style->lineWidth.setValue(3.0f);
    renderRoot(renderer);
    EXPECT_EQ(litRowsInColumn(renderer, 32), 6);
}

TEST_F(LinesPointsRasterTest, LinePatternLeavesGapsScaledByItsFactor) {
    addCamera(root);
    auto* style = new SoDrawStyle;
    style->linePattern.setValue(0xFF00);  // bit 0 first: eight off, then eight on
    // Three segments chained end to end: one polyline, its dashes running on across joins.
    addPolyline(root,
                {SbVec3f(-0.95f, pixelCentre(32), 0), SbVec3f(-0.3f, pixelCentre(32), 0),
                 SbVec3f(0.2f, pixelCentre(32), 0), SbVec3f(0.95f, pixelCentre(32), 0)},
                style);
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    // Mesa measures dashes by length along the strip, so a dash or gap crossing a joint
    // may come out a pixel short or long; a pattern restarted at each joint would leave a
    // gap of up to 8 extra pixels there instead.
    std::vector<int> runs = runsAlongRow(renderer, 32);
    ASSERT_GE(runs.size(), 5u);
    for (size_t i = 1; i + 1 < runs.size(); ++i) EXPECT_NEAR(runs[i], 8, 1) << "run " << i;

    style->linePatternScaleFactor.setValue(2);
    renderRoot(renderer);
    runs = runsAlongRow(renderer, 32);
    ASSERT_GE(runs.size(), 3u);
    for (size_t i = 1; i + 1 < runs.size(); ++i) EXPECT_NEAR(runs[i], 16, 1) << "run " << i;

    style->linePattern.setValue(0);  // nothing left to draw
    renderRoot(renderer);
    EXPECT_EQ(countPixels(renderer, isWhite), 0);
}

TEST_F(LinesPointsRasterTest, FacesDrawnAsLinesShowTheirOutlines) {
    addCamera(root);
    addUnlitColor(root, SbColor(1, 1, 1));
    auto* style = new SoDrawStyle;
    style->style.setValue(SoDrawStyle::LINES);
    root->addChild(style);
    root->addChild(rectangle(pixelCentre(16), pixelCentre(16), pixelCentre(47), pixelCentre(47)));
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    EXPECT_TRUE(isWhite(pixelAt(renderer, 16, 30)));
    EXPECT_TRUE(isWhite(pixelAt(renderer, 30, 16)));
    EXPECT_TRUE(isBlack(pixelAt(renderer, 24, 40)));  // inside, off the diagonal
    EXPECT_TRUE(isBlack(pixelAt(renderer, 8, 8)));
}

TEST_F(LinesPointsRasterTest, PointSizeMakesSquareDots) {
    addCamera(root);
    addUnlitColor(root, SbColor(1, 1, 1));
    auto* style = new SoDrawStyle;
    root->addChild(style);
    auto* coords = new SoCoordinate3;
    coords->point.setValues({SbVec3f(pixelCentre(20), pixelCentre(20), 0),
                             SbVec3f(pixelCentre(44), pixelCentre(40), 0)});
    root->addChild(coords);
    root->addChild(new SoPointSet);
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    EXPECT_EQ(countPixels(renderer, isWhite), 2);
    EXPECT_TRUE(isWhite(pixelAt(renderer, 20, 20)));
    EXPECT_TRUE(isWhite(pixelAt(renderer, 44, 40)));

    style->pointSize.setValue(3.0f);
    renderRoot(renderer);
    EXPECT_EQ(countPixels(renderer, isWhite), 18);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) EXPECT_TRUE(isWhite(pixelAt(renderer, 20 + dx, 20 + dy)));
}

TEST_F(LinesPointsRasterTest, MarkersAreTheirBitmapsCentredOnThePoints) {
    addCamera(root);
    addUnlitColor(root, SbColor(1, 1, 0));
    auto* coords = new SoCoordinate3;
    coords->point.setValues({SbVec3f(pixelCentre(20), pixelCentre(20), 0),
                             SbVec3f(pixelCentre(44), pixelCentre(40), 0),
                             SbVec3f(pixelCentre(30), pixelCentre(50), 0)});
    root->addChild(coords);
    auto* markers = new SoMarkerSet;
    // The last index serves the third point too.
    markers->markerIndex.setValues({SoMarkerSet::STAR_9_9, SoMarkerSet::CIRCLE_LINE_7_7});
    root->addChild(markers);
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);

    const auto expectMarker = [&](int marker, int side, int cx, int cy) {
        const int half = side / 2;
        for (int row = 0; row < side; ++row) {
            for (int column = 0; column < side; ++column) {
                const bool set = SoMarkerSet::isMarkerBitSet(marker, row * side + column);
                const Rgba c = pixelAt(renderer, cx - half + column, cy - half + row);
                EXPECT_EQ(near(c, 255, 255, 0, 0), set)
                    << "marker " << marker << " pixel " << column << ", " << row << ": " << c;
            }
        }
    };
    expectMarker(SoMarkerSet::STAR_9_9, 9, 20, 20);
    expectMarker(SoMarkerSet::CIRCLE_LINE_7_7, 7, 44, 40);
    expectMarker(SoMarkerSet::CIRCLE_LINE_7_7, 7, 30, 50);
    int bits = 0;
    for (int i = 0; i < 81; ++i) bits += SoMarkerSet::isMarkerBitSet(SoMarkerSet::STAR_9_9, i);
    for (int i = 0; i < 49; ++i)
        bits += 2 * SoMarkerSet::isMarkerBitSet(SoMarkerSet::CIRCLE_LINE_7_7, i);
    EXPECT_EQ(countPixels(renderer, [](Rgba c) { return !isBlack(c); }), bits);
}

TEST_F(LinesPointsRasterTest, FillPatternMasksFilledFaces) {
    addCamera(root);
    addUnlitColor(root, SbColor(1, 1, 1));
    auto* pattern = new SoPattern;
    // Rows from the top: every even row set, and the top row in its left half only
    // (columns 0..15, the most significant bits).
    std::vector<uint32_t> rows(32);
    for (int k = 0; k < 32; ++k) rows[k] = k % 2 == 0 ? 0xFFFFFFFFu : 0u;
    rows[0] = 0xFFFF0000u;
    pattern->mask.setValues(0, 32, rows.data());
    root->addChild(pattern);
    root->addChild(rectangle(-1, -1, 1, 1));
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    // Window row y takes pattern row 31 - (y mod 32) from the top.
    for (int y = 0; y < 32; ++y) {
        const int patternRow = 31 - y;
        const bool fullRow = patternRow % 2 == 0 && patternRow != 0;
        EXPECT_EQ(isWhite(pixelAt(renderer, 8, y)), fullRow || patternRow == 0) << "row " << y;
        EXPECT_EQ(isWhite(pixelAt(renderer, 40, y + 32)), fullRow || patternRow == 0);
        EXPECT_EQ(isWhite(pixelAt(renderer, 20, y)), fullRow) << "row " << y;
    }
}

TEST_F(LinesPointsRasterTest, ImagesAreDrawnAtTheirAnchorAlignedAndScaled) {
    addCamera(root);
    auto* image = new SoImage;
    // Rows from the bottom: red, green / blue, white.
    const unsigned char rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    image->image.setValue(SbVec2s(2, 2), 3, rgb);
    root->addChild(image);
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    // The origin is the corner of pixels 31 and 32: the image starts at pixel 32.
    EXPECT_TRUE(near(pixelAt(renderer, 32, 32), 255, 0, 0, 0));
    EXPECT_TRUE(near(pixelAt(renderer, 33, 32), 0, 255, 0, 0));
    EXPECT_TRUE(near(pixelAt(renderer, 32, 33), 0, 0, 255, 0));
    EXPECT_TRUE(isWhite(pixelAt(renderer, 33, 33)));
    EXPECT_EQ(countPixels(renderer, [](Rgba c) { return !isBlack(c); }), 4);

    image->width.setValue(4);
    image->height.setValue(6);
    image->horAlignment.setValue(SoImage::RIGHT);
    image->vertAlignment.setValue(SoImage::HALF);
    renderRoot(renderer);
    // 4 x 6 pixels ending at column 31, rows 29..34; each source pixel is 2 x 3.
    EXPECT_EQ(countPixels(renderer, [](Rgba c) { return !isBlack(c); }), 24);
    EXPECT_TRUE(near(pixelAt(renderer, 28, 29), 255, 0, 0, 0));
    EXPECT_TRUE(near(pixelAt(renderer, 31, 31), 0, 255, 0, 0));
    EXPECT_TRUE(near(pixelAt(renderer, 29, 32), 0, 0, 255, 0));
    EXPECT_TRUE(isWhite(pixelAt(renderer, 31, 34)));
}

TEST_F(LinesPointsRasterTest, Text2IsDrawnInPointsFromItsAnchor) {
    addCamera(root);
    addUnlitColor(root, SbColor(0, 1, 0));
    auto* font = new SoFont;
    font->size.setValue(20.0f);
    root->addChild(font);
    auto* text = new SoText2;
    text->string.setValue("HH");
    root->addChild(text);
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    const auto isGreen = [](Rgba c) { return near(c, 0, 255, 0, 0); };
    const int inked = countPixels(renderer, isGreen);
    EXPECT_GT(inked, 60);
    // Left-justified from the origin (pixel 32, 32), on the baseline, 20 pixels high.
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            if (!isGreen(pixelAt(renderer, x, y))) continue;
            EXPECT_GE(x, 32);
            EXPECT_GE(y, 32);
            EXPECT_LT(y, 32 + 20);
        }
    }
    text->justification.setValue(SoText2::RIGHT);
    renderRoot(renderer);
    EXPECT_EQ(countPixels(renderer, isGreen), inked);
    int rightmost = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (isGreen(pixelAt(renderer, x, y))) rightmost = std::max(rightmost, x);
    EXPECT_LT(rightmost, 32);
    EXPECT_GT(rightmost, 26);
}

/// The pixels of a green picture of `scene` on 64 x 64, as a list of lit positions.
std::vector<int> greenPixels(SoNode* scene) {
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    EXPECT_TRUE(renderer.render(scene));
    std::vector<int> lit;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (near(pixelAt(renderer, x, y), 0, 255, 0, 0)) lit.push_back(y * 64 + x);
    return lit;
}

TEST_F(LinesPointsRasterTest, AnnotationTextShownFlatTakesItsSizeFromTheScene) {
    // Turned 60 degrees about y, half a unit high: a font-size step along y measures 16
    // pixels on the screen, so the text shows as 16-point screen text would, and its
    // foreshortened glyph polygons are not drawn besides.
    addCamera(root);
    addUnlitColor(root, SbColor(0, 1, 0));
    auto* turn = new SoRotation;
    turn->rotation.setValue(SbRotation(SbVec3f(0, 1, 0), 1.0471976f));
    root->addChild(turn);
    auto* font = new SoFont;
    font->size.setValue(0.5f);
    root->addChild(font);
    auto* annotation = new SoAnnoText3;
    annotation->string.setValue("Hi");
    root->addChild(annotation);

    SoSeparator* reference = new SoSeparator;
    reference->ref();
    addCamera(reference);
    addUnlitColor(reference, SbColor(0, 1, 0));
    auto* points = new SoFont;
    points->size.setValue(16.0f);
    reference->addChild(points);
    auto* text = new SoText2;
    text->string.setValue("Hi");
    reference->addChild(text);

    const std::vector<int> shown = greenPixels(root);
    EXPECT_GT(shown.size(), 40u);
    EXPECT_EQ(shown, greenPixels(reference));

    // Drawn as its glyph polygons instead, it is foreshortened: a different picture.
    auto* property = new SoAnnoText3Property;
    property->renderPrintType.setValue(SoAnnoText3Property::RENDER3D_PRINT_VECTOR);
    root->insertChild(property, 1);
    const std::vector<int> polygons = greenPixels(root);
    EXPECT_GT(polygons.size(), 20u);
    EXPECT_NE(polygons, shown);
    reference->unref();
}

}  // namespace
