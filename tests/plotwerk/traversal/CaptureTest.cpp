// What the traversal hands the backend for each kind of primitive: one print call per node,
// segments chained into polylines, faces decomposed into triangles, transparent and invisible
// pieces left out, annotations drawn last, text and images at their anchors, and which
// triangles are lit in what state.

#include <Tessara/nodes/SoText2.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "TraversalScene.h"

using namespace traversal;
using K = RecordedCall;

namespace {

const SbColor kRed(1, 0, 0), kGreen(0, 1, 0), kBlue(0, 0, 1);

/// A zigzag of n points across the view, as a line set and as the polyline it must print.
SceneCase zigzag(const char* name, int n) {
    SceneCase c{name, "Coordinate3 { point [ ", {{K::POLYLINE, {}}}};
    for (int i = 0; i < n; ++i) {
        const float x = -1.0f + 2.0f * i / (n - 1), y = i % 2 ? 0.5f : -0.5f;
        c.scene += std::to_string(x) + " " + std::to_string(y) + " 0, ";
        c.printed[0].points.push_back(pageOf(x, y));
    }
    c.scene += "] } LineSet { }";
    return c;
}

// The Text2 line step: 12 points of 25.4 / 72 mm, times the spacing 1.5.
const float kTextStep = 12.0f * 25.4f / 72.0f * 1.5f;

// A white light coming down at 60 degrees from the triangles' normal: it lights them at
// cos 60 = 0.5 of their diffuse colour; their materials have no ambient or specular part.
const std::string kSlantedLight = "DirectionalLight { direction 0 -0.8660254 -0.5 } ";
const std::string kTriangle =
    "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0 0.5 0 ] } FaceSet { } ";

std::string material(const char* diffuse) {
    return std::string("Material { ambientColor 0 0 0  specularColor 0 0 0  diffuseColor ") +
           diffuse + " } ";
}

const std::vector<SceneCase> kCases = {
    {"TwoLineSetsNeverMergeEvenWhenTheSecondContinuesTheFirst",
     "Coordinate3 { point [ -0.5 0 0, 0 0 0 ] } LineSet { } "
     "Coordinate3 { point [ 0 0 0, 0.5 0 0 ] } LineSet { }",
     {{K::POLYLINE, {onPage(25, 50), onPage(50, 50)}},
      {K::POLYLINE, {onPage(50, 50), onPage(75, 50)}}}},
    {"ABreakInTheChainStartsANewPolyline",
     "Coordinate3 { point [ -0.5 0.5 0, 0.5 0.5 0, -0.5 -0.5 0, 0.5 -0.5 0 ] } "
     "LineSet { numVertices [ 2, 2 ] }",
     {{K::POLYLINE, {onPage(25, 75), onPage(75, 75)}},
      {K::POLYLINE, {onPage(25, 25), onPage(75, 25)}}}},
    // The chain does not know where one polyline of the node stops, only whether points meet.
    {"PolylinesOfOneNodeThatMeetEndToStartJoin",
     "Coordinate3 { point [ -0.5 0 0, 0 0 0, 0 0 0, 0.5 0 0 ] } LineSet { numVertices [ 2, 2 ] }",
     {{K::POLYLINE, {onPage(25, 50), onPage(50, 50), onPage(75, 50)}}}},
    zigzag("ALongChainGrowsTheBufferAndKeepsEveryPoint", 41),
    // As on the screen, a face with its corners on one line, or seen edge on, shows nothing;
    // a tiny face of good shape and a long thin one do.
    {"FacesWithoutWidthAreLeftOut",
     "Coordinate3 { point [ -0.5 -0.5 0, 0 0 0, 0.5 0.5 0,  0.3 -0.5 0, 0.3 0.5 0, 0.3 0 -0.5,"
     "  0 0 0, 2e-6 0 0, 0 2e-6 0,  -0.5 -0.5 0, 0.5 -0.5 0, 0.5 -0.4998 0 ] } "
     "FaceSet { numVertices [ 3, 3, 3, 3 ] }",
     {{K::POLYGON, {onPage(50, 50), onPage(50, 50), onPage(50, 50)}},
      {K::POLYGON, {onPage(25, 25), onPage(75, 25), onPage(75, 25.01f)}}}},
    // The third vertex is stored but not counted; the segment from it to the fourth, both
    // ends fully transparent, is not drawn; the one from the fourth starts a new chain.
    {"FullyTransparentEndsStopTheChain",
     "MaterialBinding { value PER_VERTEX } Material { diffuseColor [ 1 0 0, 0 1 0, 0 0 1, "
     "0 0 1, 1 1 0 ]  transparency [ 0, 0, 1, 1, 0 ] } "
     "Coordinate3 { point [ -0.8 0 0, -0.4 0 0, 0 0 0, 0.4 0 0, 0.8 0 0 ] } LineSet { }",
     {{K::POLYLINE, {onPage(10, 50), onPage(30, 50)}, {kRed, kGreen}},
      {K::POLYLINE, {onPage(70, 50), onPage(90, 50)}, {kBlue, SbColor(1, 1, 0)}}}},
    {"PointsOfOneNodeAreOneSetOfDotsWithoutTheFullyTransparentOnes",
     "MaterialBinding { value PER_VERTEX } Material { transparency [ 0, 1, 0 ] } "
     "Coordinate3 { point [ -0.5 0 0, 0 0 0, 0.5 0 0 ] } PointSet { } "
     "Coordinate3 { point [ 0 0.5 0 ] } PointSet { }",
     {{K::POLYMARK_DOTS, {onPage(25, 50), onPage(75, 50)}}, {K::POLYMARK_DOTS, {onPage(50, 75)}}}},
    {"InvisibleDrawStyleDrawsNothingAtAll",
     "DrawStyle { style INVISIBLE } Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0 0.5 0 ] } "
     "FaceSet { } LineSet { } PointSet { } MarkerSet { } Text2 { string \"hidden\" } "
     "Image { image 1 1 3 0xFF0000 }",
     {}},
    {"AClockwiseFaceKeepsItsOrder",
     "Coordinate3 { point [ -0.5 -0.5 0, 0 0.5 0, 0.5 -0.5 0 ] } FaceSet { }",
     {{K::POLYGON, {onPage(25, 25), onPage(50, 75), onPage(75, 25)}}}},
    // The second triangle, fully transparent, is left out.
    {"OneOpaqueVertexDrawsTheTriangleWithAllItsColours",
     "MaterialBinding { value PER_VERTEX } Material { diffuseColor [ 1 0 0, 0 1 0, 0 0 1 ] "
     "transparency [ 1, 1, 0 ] } Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0 0.5 0 ] } "
     "FaceSet { } Material { transparency [ 1, 1, 1 ] } FaceSet { }",
     {{K::POLYGON, {onPage(25, 25), onPage(75, 25), onPage(50, 75)}, {kRed, kGreen, kBlue}}}},
    // Two triangles meeting along an edge, a material per vertex: the shared points have a
    // different material in each, so a colour lit for one must not serve the other.
    {"SharedPointsWithTheirOwnMaterialsAreLitEachInItsOwnColour",
     "LightModel { model PHONG } " + kSlantedLight + "MaterialBinding { value PER_VERTEX } " +
         material("[ 1 0 0, 0 1 0, 0 0 1, 1 1 0, 0 1 1, 1 0 1 ]") +
         "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0.5 0.5 0, -0.5 -0.5 0, 0.5 0.5 0, "
         "-0.5 0.5 0 ] } FaceSet { numVertices [ 3, 3 ] }",
     {{K::POLYGON,
       {onPage(25, 25), onPage(75, 25), onPage(75, 75)},
       {{0.5f, 0, 0}, {0, 0.5f, 0}, {0, 0, 0.5f}}},
      {K::POLYGON,
       {onPage(25, 25), onPage(75, 75), onPage(25, 75)},
       {{0.5f, 0.5f, 0}, {0, 0.5f, 0.5f}, {0.5f, 0, 0.5f}}}}},
    // The same triangle three times, the material and then the lights changed between; at
    // the end cos 60 from the slanted light plus the whole frontal one.
    {"EachShapeIsLitInTheStateInForceForIt",
     "LightModel { model PHONG } " + kSlantedLight + material("1 0 0") + kTriangle +
         material("0 1 0") + kTriangle + "DirectionalLight { direction 0 0 -1 } " + kTriangle,
     {{K::POLYGON, {onPage(25, 25), onPage(75, 25), onPage(50, 75)}, {{0.5f, 0, 0}}},
      {K::POLYGON, {onPage(25, 25), onPage(75, 25), onPage(50, 75)}, {{0, 0.5f, 0}}},
      {K::POLYGON, {onPage(25, 25), onPage(75, 25), onPage(50, 75)}, {{0, 1, 0}}}}},
    // Met first, the annotation is drawn last, in the state in force where it was met, and
    // what it changes stays inside it.
    {"AnnotationsAreDrawnLastWithoutDisturbingTheRest",
     "Material { diffuseColor 1 0 0 } Translation { translation 0.25 0 0 } "
     "Annotation { Material { diffuseColor 0 1 0 } " +
         lineAcross(0.5f) + "} " + lineAcross(-0.5f),
     {{K::POLYLINE, {onPage(37.5f, 25), onPage(87.5f, 25)}, {kRed}},
      {K::POLYLINE, {onPage(37.5f, 75), onPage(87.5f, 75)}, {kGreen}}}},
    {"Text2LinesStepDownByFontSizeTimesNominalWidthTimesSpacingUnlessFullyTransparent",
     "Font { name \"Courier\"  size 12 } Material { diffuseColor 0 0 1 } "
     "Text2 { string [ \"first\", \"second\", \"third\" ]  spacing 1.5  justification RIGHT } "
     "Material { transparency 1 } Text2 { string \"gone\" }",
     {{K::TEXT2, {onPage(50, 50)}, {kBlue}},
      {K::TEXT2, {onPage(50, 50 - kTextStep)}, {kBlue}},
      {K::TEXT2, {onPage(50, 50 - 2 * kTextStep)}, {kBlue}}}},
    // The note is given once however many segments are dropped.
    {"ASegmentWithANaNIsDroppedWithOneNote",
     "Coordinate3 { point [ -0.5 0 0, nan 0 0 ] } LineSet { } LineSet { } " + lineAcross(0.5f),
     {{K::POLYLINE, {onPage(25, 75), onPage(75, 75)}}},
     {{"SoVectorizeAction::drawLineSegment", "NaN"}}},
};

using CaptureTest = TraversalTest;

TEST_F(CaptureTest, PrintCallsOfEachScene) {
    for (const SceneCase& c : kCases) {
        SoDebugError::resetInfoOnce();
        auto action = makeAction(100.0f);
        action->setShadeModel(SoVectorizeAction::SMOOTH);
        expectPrinted(*action, kCamera + kUnlit, c);
    }
}

// Printed in traversal order or through the painter, every attribute reaches the backend.
TEST_F(CaptureTest, PrimitivesCarryTheirAttributesInEitherOrder) {
    for (const auto mode : {SoVectorizeAction::HLHSR_OFF, SoVectorizeAction::HLHSR_PAINTER}) {
        SCOPED_TRACE(mode);
        auto action = makeAction(100.0f);
        action->setHLHSRMode(mode);
        const std::string lines = "lineWidth 3  linePattern 0x0F0F  linePatternScaleFactor 2 ";
        print(
            *action,
            kCamera + kUnlit + "DrawStyle { pointSize 4  " + lines +
                "} Coordinate3 { point [ -0.5 0 0, 0.5 0 0, 0 0.5 0 ] } LineSet { } PointSet { } "
                "Separator { DrawStyle { style LINES  " +
                lines +
                "} FaceSet { } } Separator { DrawStyle { style POINTS  pointSize 4 } FaceSet { } } "
                "MarkerSet { markerIndex 1 } "
                "Pattern { category \"hatches\"  name \"diagonal\"  mask [ 0x80000000, "
                "0x40000000 ] } FaceSet { } Font { name \"Courier\"  size 12 } "
                "Material { diffuseColor 0 0 1 } Text2 { string [ \"a\", \"caf\xc3\xa9\" ]  "
                "spacing 1.5  justification RIGHT } Translation { translation 0.5 -0.5 0 } "
                "Image { image 2 1 3 0x010203 0x040506  height 5  horAlignment RIGHT  "
                "vertAlignment HALF }");
        // The line set and the outline of the face, whole or in segments.
        const std::vector<RecordedCall> polylines = action->ofKind(K::POLYLINE);
        ASSERT_GE(polylines.size(), 2u);
        for (const RecordedCall& line : polylines) {
            EXPECT_EQ(line.lineWidth, 3.0f);
            EXPECT_EQ(line.linePattern, 0x0F0F);
            EXPECT_EQ(line.linePatternScaleFactor, 2);
        }
        // The point set and the corners of the face drawn as points.
        const std::vector<RecordedCall> dots = action->ofKind(K::POLYMARK_DOTS);
        ASSERT_GE(dots.size(), 2u);
        for (const RecordedCall& dot : dots) EXPECT_EQ(dot.pointSize, 4.0f);
        const std::vector<RecordedCall> markers = action->ofKind(K::POLYMARK_MARKERS);
        ASSERT_FALSE(markers.empty());
        for (const RecordedCall& mark : markers)
            EXPECT_EQ(mark.markers, std::vector<int>(mark.points.size(), 1));
        const std::vector<RecordedCall> polygons = action->ofKind(K::POLYGON);
        ASSERT_EQ(polygons.size(), 1u);
        // The face reaches the page at its apex, whatever corner the painter starts from.
        float top = 0.0f;
        for (const SbVec4f& corner : polygons[0].points) top = std::max(top, corner[1]);
        EXPECT_NEAR(top, 75.0f, 1e-3f);
        EXPECT_EQ(polygons[0].patternString1, "hatches");
        EXPECT_EQ(polygons[0].patternString2, "diagonal");
        // The mask's rows, most significant byte first.
        ASSERT_EQ(polygons[0].pattern.size(), 128u);
        EXPECT_EQ(polygons[0].pattern[0], 0x80);
        EXPECT_EQ(polygons[0].pattern[4], 0x40);
        const std::vector<RecordedCall> text = action->ofKind(K::TEXT2);
        ASSERT_EQ(text.size(), 2u);
        for (const RecordedCall& line : text) {
            EXPECT_EQ(line.fontName, "Courier");
            EXPECT_EQ(line.fontSize, 12.0f);
            EXPECT_EQ(line.justification, SoText2::RIGHT);
            EXPECT_EQ(line.angle, 0.0f);
            EXPECT_EQ(line.color, kBlue);
        }
        EXPECT_EQ(text[0].string, "a");
        EXPECT_EQ(text[1].string, "caf\xc3\xa9");
        EXPECT_NEAR(text[1].origin[1], text[0].origin[1] - kTextStep, 1e-3f);
        const std::vector<RecordedCall> images = action->ofKind(K::IMAGE);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_NEAR(images[0].origin[0], 75.0f, 1e-3f);
        EXPECT_NEAR(images[0].origin[1], 25.0f, 1e-3f);
        EXPECT_EQ(images[0].sourceSize, SbVec2s(2, 1));
        // A negative width keeps the image's own; the height asked for is kept.
        EXPECT_EQ(images[0].requestedSize, SbVec2s(2, 5));
        EXPECT_EQ(images[0].numComponents, 3);
        EXPECT_EQ(images[0].horAlignment, SoImage::RIGHT);
        EXPECT_EQ(images[0].vertAlignment, SoImage::HALF);
        EXPECT_EQ(images[0].pixels, (std::vector<unsigned char>{1, 2, 3, 4, 5, 6}));
    }
}

// Whether a mode prints a marker set whole or mark by mark, and whatever clipping or
// transparency leaves out, each point keeps the marker of its own place in the list.
TEST_F(CaptureTest, EveryMarkKeepsItsPointsMarkerInEveryMode) {
    const std::vector<int> listed = {0, 6, 12, 21};
    std::string scene = kCamera + kUnlit +
                        "Material { transparency [ 0, 0, 0, 1, 0, 0 ] } "
                        "MaterialBinding { value PER_VERTEX } Coordinate3 { point [ ";
    // Point 1 lies outside the view and point 3 is wholly transparent; point 4 takes the
    // list's first marker again.
    const float xs[] = {-0.8f, 5.0f, -0.2f, 0.1f, 0.4f, 0.7f};
    for (float x : xs) scene += std::to_string(x) + " 0 0, ";
    scene += "] } MarkerSet { markerIndex [ ";
    for (int marker : listed) scene += std::to_string(marker) + ", ";
    scene += "] }";
    for (int mode = SoVectorizeAction::HLHSR_OFF; mode <= SoVectorizeAction::HIDDEN_LINES_REMOVAL;
         ++mode) {
        SCOPED_TRACE(mode);
        auto action = makeAction(100.0f);
        action->setHLHSRMode(static_cast<SoVectorizeAction::HLHSRMode>(mode));
        print(*action, scene);
        std::vector<std::pair<float, int>> printed;
        for (const RecordedCall& call : action->ofKind(K::POLYMARK_MARKERS)) {
            ASSERT_EQ(call.markers.size(), call.points.size());
            for (std::size_t i = 0; i < call.points.size(); ++i)
                printed.emplace_back(call.points[i][0], call.markers[i]);
        }
        std::sort(printed.begin(), printed.end());
        const std::vector<std::pair<float, int>> expected = {{pageOf(xs[0], 0)[0], listed[0]},
                                                             {pageOf(xs[2], 0)[0], listed[2]},
                                                             {pageOf(xs[4], 0)[0], listed[0]},
                                                             {pageOf(xs[5], 0)[0], listed[1]}};
        ASSERT_EQ(printed.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(printed[i].first, expected[i].first, 1e-3f);
            EXPECT_EQ(printed[i].second, expected[i].second);
        }
    }
}

TEST_F(CaptureTest, TextIsPrintedInItsPrintForm) {
    struct Form {
        std::string text;
        size_t lines;  ///< printed as 2D text
        bool glyphs;   ///< printed as polygons
    };
    const std::string annotation = "Font { size 0.5 } AnnoText3 { string [ \"I\", \"II\" ] } ";
    for (const Form& form :
         {Form{"AnnoText3Property { renderPrintType RENDER2D_PRINT_RASTER } " + annotation, 2,
               false},
          Form{"AnnoText3Property { renderPrintType RENDER3D_PRINT_VECTOR } " + annotation, 0,
               true},
          Form{"AnnoText3Property { renderPrintType RENDER3D_PRINT_RASTER } " + annotation, 2,
               true},
          Form{"Font { size 0.5  renderStyle TEXTURE } Text3 { string \"I\" }", 0, true}}) {
        SCOPED_TRACE(form.text);
        auto action = makeAction(100.0f);
        print(*action, kCamera + kUnlit + form.text + lineAcross(-0.5f));
        EXPECT_EQ(action->count(K::TEXT2), form.lines);
        EXPECT_EQ(action->count(K::POLYGON) > 0, form.glyphs);
        // Shapes after the text are drawn again (3D text adds outlines of its own).
        EXPECT_GE(action->count(K::POLYLINE), 1u);
    }
}

// Seen in perspective from 5 away with a 45° field, near 1 and far 10, lit and unlit triangles
// land alike: at (x, y) / (5 tan 22.5°), with the depth (11 - 20 / 5) / 9.
TEST_F(CaptureTest, TheLightModelAndTheLightingSwitchDecideWhatIsLit) {
    struct Model {
        const char* name;
        const char* model;
        int lighting;
        float grey;  ///< the printed grey of the 0.5 grey material
    };
    const std::string camera =
        "PerspectiveCamera { position 0 0 5  heightAngle 0.7853982  nearDistance 1  farDistance 10 "
        "} ";
    const float s = 1.0f / (5.0f * std::tan(static_cast<float>(M_PI / 8.0)));
    auto at = [s](float x, float y) {
        return SbVec3f((x * s + 1) * 50, (y * s + 1) * 50, 7.0f / 9);
    };
    for (const Model& m :
         {Model{"BaseColorIsNeverLit", "BASE_COLOR", 1, 0.5f},
          Model{"PhongIsLitWhateverTheSwitch", "PHONG", 0, 0.25f},
          Model{"PerPixelPhongIsUnlitWithoutTheSwitch", "PER_PIXEL_PHONG", 0, 0.5f},
          Model{"PerPixelPhongIsLitWithTheSwitch", "PER_PIXEL_PHONG", 1, 0.25f}}) {
        auto action = makeAction(100.0f);
        action->enableLighting(m.lighting);
        const std::string scene = std::string("LightModel { model ") + m.model + " } " +
                                  kSlantedLight + material("0.5 0.5 0.5") + kTriangle;
        const SbColor grey(m.grey, m.grey, m.grey);
        expectPrinted(*action, camera,
                      {m.name,
                       scene,
                       {{K::POLYGON, {at(-0.5f, -0.5f), at(0.5f, -0.5f), at(0, 0.5f)}, {grey}}}});
    }
}

// A turned cube shows three faces: a solid prints their six triangles, the near ones or, for
// the other ordering, the far ones; other hints all twelve; mirrored, the same faces. A line
// drawing keeps back faces, to dash the hidden corner's three edges, and draws no line where
// a face without width joined a T.
TEST_F(CaptureTest, ASolidsBackFacesAreLeftOutAsOnTheScreen) {
    auto printed = [&](std::string scene, bool lines, unsigned short counted = 0x0F0F) {
        auto action = makeAction(100.0f);
        action->setHLHSRMode(lines ? SoVectorizeAction::HIDDEN_LINES_REMOVAL
                                   : SoVectorizeAction::HLHSR_OFF);
        action->setHiddenLineFeatureEdges(1);
        action->setHiddenLineHiddenPattern(0x0F0F);
        print(*action, kCamera + scene);
        SbVec3f polygonsDepthSegments(0, 0, 0);
        for (const RecordedCall& call : action->getCalls()) {
            const bool polygon = call.kind == K::POLYGON,
                       line = call.kind == K::POLYLINE && call.linePattern == counted;
            polygonsDepthSegments += SbVec3f(
                polygon, polygon ? call.points[0][2] + call.points[1][2] + call.points[2][2] : 0,
                line ? call.points.size() - 1 : 0);
        }
        return polygonsDepthSegments;
    };
    auto cube = [](std::string hints, std::string mirror = "") {
        return "ShapeHints { " + hints + " } " + mirror +
               "Rotation { rotation 1 1 0 0.7 } Cube { }";
    };
    const std::string solid = "vertexOrdering COUNTERCLOCKWISE shapeType SOLID";
    for (const auto& [hints, polygons] : {std::make_pair(solid, 6),
                                          {"vertexOrdering CLOCKWISE shapeType SOLID", 6},
                                          {"vertexOrdering COUNTERCLOCKWISE", 12},
                                          {"shapeType SOLID", 12}})
        EXPECT_EQ(printed(cube(hints), false)[0], polygons) << hints;
    EXPECT_LT(printed(cube(solid), false)[1],
              printed(cube("vertexOrdering CLOCKWISE shapeType SOLID"), false)[1]);
    EXPECT_EQ(printed(cube(solid), true)[2], 3);
    EXPECT_TRUE(printed(cube(solid, "Scale { scaleFactor -1 1 1 } "), false)
                    .equals(printed(cube(solid), false), 1e-4f));
    EXPECT_EQ(
        printed("Coordinate3 { point [ -0.5 0 0, 0 -0.5 0, 0.5 0 0,  -0.5 0 0, 0.5 0 0, 0 1e-7 0,"
                "  -0.5 0 0, 0 1e-7 0, 0 0.5 0,  0 1e-7 0, 0.5 0 0, 0 0.5 0 ] } "
                "FaceSet { numVertices [ 3, 3, 3, 3 ] }",
                true, 0xFFFF)[2],
        4);
}

}  // namespace
