// Clipping cases worked out by hand: the near limit of each kind of camera, primitives kept
// or dropped whole by their points or anchors, what the draw style makes of a clipped piece,
// the colours and attributes it keeps, bad coordinates, and the printed size and angle of
// annotation text.

#include <Tessara/misc/SoPreferences.h>

#include <string>
#include <vector>

#include "ClipScene.h"

using namespace cliptest;
using K = RecordedCall;

namespace {

/// `node` moved to "x y z".
std::string at(const char* translation, const std::string& node) {
    return std::string("Separator { Translation { translation ") + translation + " } " + node +
           " } ";
}

// A triangle whose right corner is cut away by x = 1, and a line leaving at x = 1.
const std::string kShapes =
    "Coordinate3 { point [ 0 0 0, 2 0 0, 0 1 0 ] } FaceSet { } "
    "Coordinate3 { point [ -0.5 -0.5 0, 1.5 -0.5 0 ] } LineSet { } ";
const std::vector<SbVec3f> kCutTriangle = {
    {100, 100, 0.5f}, {200, 100, 0.5f}, {200, 150, 0.5f}, {100, 200, 0.5f}};
const std::vector<SbVec3f> kCutLine = {{50, 50, 0.5f}, {200, 50, 0.5f}};

const float kPerspectiveDepth4 = 24.0f / 36.0f;  // a point 4 in front of the eye

const std::string kRedGreenBlue =
    "MaterialBinding { value PER_VERTEX } Material { diffuseColor [ 1 0 0, 0 1 0, 0 0 1 ] } ";

const std::vector<SceneCase> kCases = {
    // The perspective near limit: a cut gets the near plane's depth, -1, and x, y
    // interpolated on the undivided values.
    {"PolylineComingBackFromBehindTheEyeGivesTwoRuns",
     kPerspective + "Coordinate3 { point [ 0 0 -4, 0.5 0.5 1, -0.4 0 -4 ] } LineSet { }",
     {{K::POLYLINE, {{100, 100, kPerspectiveDepth4}, {130, 130, -1}}},
      {K::POLYLINE, {{114, 130, -1}, {90, 100, kPerspectiveDepth4}}}}},
    {"TriangleWithAVertexBehindTheEyeIsCutToAQuadrilateral",
     kPerspective + "Coordinate3 { point [ -1 -1 -4, 1 -1 -4, 0 0 1 ] } FaceSet { }",
     {{K::POLYGON,
       {{75, 75, kPerspectiveDepth4},
        {125, 75, kPerspectiveDepth4},
        {140, 60, -1},
        {60, 60, -1}}}}},
    {"TriangleBetweenTheEyeAndTheNearPlaneIsDropped",
     kPerspective + "Coordinate3 { point [ 0 0 -0.5, 0.2 0 -0.5, 0 0.2 -0.9 ] } FaceSet { }",
     {}},
    // Near 1, far 10, eye at the origin: depth (2e - 11) / 9 at eye distance e.
    {"OrthographicNearLimitIsTheNearPlane",
     ortho(0, 1, 10) +
         "Coordinate3 { point [ 0.1 0 -0.5, 0.2 0 -1.5, 0.3 0 -0.99, 0.4 0 -6 ] } PointSet { }",
     {{K::POLYMARK_DOTS, {{120, 100, -8.0f / 9.0f}, {140, 100, 1.0f / 9.0f}}}}},
    // Near -10: the limit is clip z = -10, which lets the camera see behind itself.
    {"NegativeNearDistanceIsUsedAsTheLimitItself",
     ortho(0, -10, 10) + "Coordinate3 { point [ 0.5 0 5, -0.5 0 -5 ] } PointSet { }",
     {{K::POLYMARK_DOTS, {{150, 100, -0.5f}, {50, 100, 0.5f}}}}},
    // In, right of the view, in, beyond the far plane, in front of the near limit, above.
    {"MarkersOutsideAreDroppedOneByOneWithTheirColours",
     ortho() + "MaterialBinding { value PER_VERTEX } Material { diffuseColor [ 1 0 0, 0 1 0, "
               "0 0 1, 1 1 0, 0 1 1, 1 0 1 ] } Coordinate3 { point [ 0 0 0, 1.5 0 0, 0.5 0.5 0, "
               "0 0 -6, 0 0 16, 0 1.01 0 ] } MarkerSet { }",
     {{K::POLYMARK_MARKERS, {{100, 100, 0.5f}, {150, 150, 0.5f}}, {{1, 0, 0}, {0, 0, 1}}}}},
    {"MarkersOnTheLimitsAreKept",
     ortho() + "Coordinate3 { point [ -1 -1 0, 1 1 0, 0 0 -4.9 ] } MarkerSet { }",
     {{K::POLYMARK_MARKERS, {{0, 0, 0.5f}, {200, 200, 0.5f}, {100, 100, 0.99f}}}}},
    // A point that is no number: a polygon whose shape it decides is left out whole.
    {"TriangleWithANaNCornerIsLeftOut",
     ortho() + "Coordinate3 { point [ 0 0 0, nan 0 0, 0 1 0 ] } FaceSet { }",
     {},
     {{"SoVectorizeAction::clipPolygon", "NaN"}}},
    // The points are captured with a NaN; the line's points are finite where they are captured
    // and the transform makes them NaN, which is inside no limit.
    {"NaNPointsAreReportedAndTheRestStillPrinted",
     ortho() + "Coordinate3 { point [ -0.5 0 0, nan 0 0, 0.5 0 0 ] } PointSet { } "
               "MatrixTransform { matrix 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 nan } "
               "Coordinate3 { point [ 0 0 0, 0.5 0.5 0 ] } LineSet { }",
     {{K::POLYMARK_DOTS, {{50, 100, 0.5f}, {150, 100, 0.5f}}}},
     {{"SoVectorizeAction::clipPolyMark", "NaN"}, {"SoVectorizeAction::clipPolyLine", "NaN"}}},
    {"PointsWhollyOutsidePrintNothing",
     ortho() + "Coordinate3 { point [ -2 0 0, 0 -2 0 ] } PointSet { }",
     {}},
    // Right and left of the view, beyond the far plane, in front of the near limit, and inside:
    // glyphs that would reach into the view from an anchor outside it are not drawn.
    {"TextIsKeptOrDroppedWholeByItsAnchor",
     ortho() + at("1.05 0 0", "DEF T Text2 { string \"a long line\"  justification RIGHT }") +
         at("-1.05 0 0", "USE T") + at("0 0 -6", "USE T") + at("0 0 16", "USE T") +
         at("0.2 -0.4 0", "USE T"),
     {{K::TEXT2, {{120, 60, 0.5f}}}}},
    // A size that is no size prints no text; one beyond any sheet prints as long as a sheet.
    {"TextOfASizeThatIsNoSizeIsLeftOut",
     ortho() + "Font { size nan } DEF T Text2 { string \"a\" } Font { size 0 } USE T",
     {},
     {{"SoVectorizeAction::clipText", "nan"}, {"SoVectorizeAction::clipText", " 0"}}},
    {"TextBeyondAnySheetIsSaid",
     ortho() + "Font { size 1e30 } Text2 { string \"a\" }",
     {{K::TEXT2, {{100, 100, 0.5f}}}},
     {{"SoVectorizeAction::clipText", ""}}},
    // Images are clipped by the depth of their anchor only.
    {"ImageIsKeptOrDroppedByTheDepthOfItsAnchor",
     ortho() + at("3 -2 0", "DEF I Image { image 1 1 3 0xFF0000 }") + at("0 0 -5.5", "USE I") +
         at("0 0 15.5", "USE I") + at("0 0 -4.9", "USE I"),
     {{K::IMAGE, {{400, -100, 0.5f}}}, {K::IMAGE, {{100, 100, 0.99f}}}}},
    // Two in front of the eye, an anchor lands at its coordinates halved.
    {"AnchorsAreDividedByTheirDistanceInPerspective",
     kPerspective + at("0.5 0.5 -2", "Text2 { string \"a\" } Image { image 1 1 3 0xFF0000 }"),
     {{K::TEXT2, {{125, 125, 1.0f / 9.0f}}}, {K::IMAGE, {{125, 125, 1.0f / 9.0f}}}}},
    // Printed flat, a piece takes the colour its first vertex had, even when that was cut away.
    {"FlatShadingKeepsTheFirstVertexColourEvenWhenItIsCutAway",
     ortho() + kRedGreenBlue + "Coordinate3 { point [ 2 0 0, 2 0.5 0, 0 0 0 ] } FaceSet { }",
     {{K::POLYGON, {{200, 125, 0.5f}, {100, 100, 0.5f}, {200, 100, 0.5f}}, {{1, 0, 0}}}}},
    {"LinesOutlineThePolygonBackToItsFirstPoint",
     ortho() + "DrawStyle { style LINES } " + kShapes,
     {{K::POLYLINE,
       {{100, 100, 0.5f}, {200, 100, 0.5f}, {200, 150, 0.5f}, {100, 200, 0.5f}, {100, 100, 0.5f}}},
      {K::POLYLINE, kCutLine}}},
    {"LinesWithAZeroPatternDrawNothing",
     ortho() + "DrawStyle { style LINES  linePattern 0 } " + kShapes,
     {}},
    {"PointsGiveDotsAtTheClippedVertices",
     ortho() + "DrawStyle { style POINTS } " + kShapes,
     {{K::POLYMARK_DOTS, kCutTriangle}, {K::POLYMARK_DOTS, kCutLine}}},
};

using ClipCaseTest = PrintTest;

TEST_F(ClipCaseTest, WhatIsPrintedOfEachScene) {
    for (const SceneCase& c : kCases) {
        auto action = makeAction(kPageSize);
        const std::vector<RecordedCall> printed = expectPrinted(*action, "", c);
        // Pieces of one colour carry it once, even where they were cut.
        for (size_t i = 0; i < std::min(printed.size(), c.printed.size()); ++i) {
            if (!c.printed[i].colors.empty()) continue;
            EXPECT_EQ(printed[i].multicolor, 0) << c.name << " " << i;
            EXPECT_EQ(printed[i].colors.size(), isAnchored(printed[i].kind) ? 0u : 1u) << c.name;
        }
    }
}

TEST_F(ClipCaseTest, SmoothOutlineRepeatsTheFirstColour) {
    auto action = makeAction(kPageSize);
    action->setShadeModel(SoVectorizeAction::SMOOTH);
    print(*action, ortho() + "DrawStyle { style LINES } " + kRedGreenBlue +
                       "Coordinate3 { point [ 0 0 0, 0.5 0 0, 0 0.5 0 ] } FaceSet { }");
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].multicolor, 1);
    ASSERT_EQ(lines[0].colors.size(), 4u);
    EXPECT_EQ(lines[0].colors[3], SbColor(1, 0, 0));
}

// ---- Annotation text drawn as 2D text ----
//
// The view maps one world unit to 100 mm and the nominal width is set to 0.5 mm, so a font
// size of 0.1 world units measures 10 mm on the page and prints as 20 nominal widths; the
// second line of each text sits one printed size lower.

constexpr const char* kMaxSizeKey = "VXN_MAX_ANNO_RENDER2D_SIZE";
constexpr float kNominal = 0.5f;

struct SizeCase {
    const char* name;
    std::string scene;  ///< transforms and text properties before the text
    float sizeMm;       ///< what the font size measures on the page
    float angle;        ///< of the baseline on the page, in radians
    int cap = 0;        ///< the size cap in force, in millimetres; 0 leaves the default
};

std::string property(const char* hint, bool oriented) {
    return std::string("AnnoText3Property { fontSizeHint ") + hint +
           "  isCharOrientedRasterPrint " + (oriented ? "TRUE" : "FALSE") + " } ";
}

const std::string kAnnotation = property("ANNOTATION", true);
const std::string kTurned30 = "Rotation { rotation 0 0 1 0.5235988 } ";

const std::vector<SizeCase> kSizeCases = {
    {"AnnotationHintTakesTheLongestAxis",
     "Scale { scaleFactor 2 1 1 } " + kAnnotation + "Font { size 0.1 }", 20, 0},
    {"FitHintTakesTheShortestAxis",
     "Scale { scaleFactor 2 1 1 } " + property("FIT_TEXT_VECTOR", true) + "Font { size 0.1 }", 10,
     0},
    // Turned a quarter about x, the text's z axis points down the page.
    {"AnnotationHintMeasuresTheDepthAxisToo",
     "Rotation { rotation 1 0 0 1.5707963 } Scale { scaleFactor 1 1 3 } " + kAnnotation +
         "Font { size 0.1 }",
     30, 0},
    {"OrientedTextFollowsItsBaseline", kTurned30 + kAnnotation + "Font { size 0.1 }", 10,
     0.5235988f},
    {"TextNotOrientedStaysLevel", kTurned30 + property("ANNOTATION", false) + "Font { size 0.1 }",
     10, 0},
    {"ZeroSizeBecomesOneMillimetre", property("FIT_TEXT_VECTOR", true) + "Font { size 0 }", 1, 0},
    {"SizeIsCappedByThePreferenceInForce", kAnnotation + "Font { size 0.1 }", 4, 0, 4},
    {"SizeIsCappedAtAMetreByDefault", kAnnotation + "Font { size 20 }", 1000, 0},
};

class AnnotationSizeTest : public PrintTest {
  protected:
    void TearDown() override { SoPreferences::removeValue(kMaxSizeKey); }
};

TEST_F(AnnotationSizeTest, PrintedSizeAngleAndLineStep) {
    for (const SizeCase& c : kSizeCases) {
        SCOPED_TRACE(c.name);
        if (c.cap > 0)
            SoPreferences::setInt(kMaxSizeKey, c.cap);
        else
            SoPreferences::removeValue(kMaxSizeKey);
        DebugErrorRecorder errors;  // the glyph builder's note about an empty font
        auto action = makeAction(kPageSize);
        action->setNominalWidth(kNominal);
        print(*action, ortho() + c.scene + " AnnoText3 { string [ \"first\", \"second\" ] }");
        const std::vector<RecordedCall> lines = action->ofKind(RecordedCall::TEXT2);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_NEAR(lines[0].fontSize, c.sizeMm / kNominal, 1e-2f);
        EXPECT_NEAR(lines[0].angle, c.angle, 1e-5f);
        EXPECT_NEAR(lines[0].origin[0], 100, 1e-3f);
        EXPECT_NEAR(lines[0].origin[1], 100, 1e-3f);
        EXPECT_EQ(lines[1].string, "second");
        EXPECT_NEAR(lines[0].origin[1] - lines[1].origin[1], c.sizeMm, 1e-2f);
    }
}

}  // namespace
