// What the traversal hands the backend for each kind of primitive: one print call per node,
// segments chained into polylines, faces decomposed into triangles, transparent and invisible
// pieces left out, annotations drawn last, text and images at their anchors, and which
// triangles are lit in what state.

#include <Tessara/nodes/SoText2.h>

#include <cmath>
#include <string>
#include <vector>

#include "TraversalScene.h"
#include "support/DebugErrorRecorder.h"

using namespace traversal;
using K = RecordedCall;

namespace {

/// One drawing call: its kind, its page points in mm (the origin for text and images) and,
/// when they are checked, its colours.
struct Printed {
    K::Kind kind;
    std::vector<SbVec2f> points;
    std::vector<SbColor> colors = {};
};

struct CaptureCase {
    const char* name;
    std::string scene;
    std::vector<Printed> printed;
    const char* warning = "";  ///< the source of the one warning the scene must give
};

const std::string kRedGreenBlue =
    "MaterialBinding { value PER_VERTEX } Material { diffuseColor [ 1 0 0, 0 1 0, 0 0 1 ] } ";
const SbColor kRed(1, 0, 0), kGreen(0, 1, 0), kBlue(0, 0, 1);

/// A zigzag of n points across the view, as a line set and as the polyline it must print.
CaptureCase zigzag(const char* name, int n) {
    CaptureCase c{name, "Coordinate3 { point [ ", {{K::POLYLINE, {}}}};
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

const std::vector<CaptureCase> kCases = {
    {"SegmentsChainingEndToEndAreOnePolyline",
     "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0.5 0.5 0, -0.5 0.5 0 ] } LineSet { }",
     {{K::POLYLINE, {{25, 25}, {75, 25}, {75, 75}, {25, 75}}}}},
    {"TwoLineSetsNeverMergeEvenWhenTheSecondContinuesTheFirst",
     "Coordinate3 { point [ -0.5 0 0, 0 0 0 ] } LineSet { } "
     "Coordinate3 { point [ 0 0 0, 0.5 0 0 ] } LineSet { }",
     {{K::POLYLINE, {{25, 50}, {50, 50}}}, {K::POLYLINE, {{50, 50}, {75, 50}}}}},
    {"ABreakInTheChainStartsANewPolyline",
     "Coordinate3 { point [ -0.5 0.5 0, 0.5 0.5 0, -0.5 -0.5 0, 0.5 -0.5 0 ] } "
     "LineSet { numVertices [ 2, 2 ] }",
     {{K::POLYLINE, {{25, 75}, {75, 75}}}, {K::POLYLINE, {{25, 25}, {75, 25}}}}},
    // The chain does not know where one polyline of the node stops, only whether points meet.
    {"PolylinesOfOneNodeThatMeetEndToStartJoin",
     "Coordinate3 { point [ -0.5 0 0, 0 0 0, 0 0 0, 0.5 0 0 ] } LineSet { numVertices [ 2, 2 ] }",
     {{K::POLYLINE, {{25, 50}, {50, 50}, {75, 50}}}}},
    zigzag("ALongChainGrowsTheBufferAndKeepsEveryPoint", 41),
    {"ASegmentWithBothEndsFullyTransparentIsNotDrawn",
     "Material { transparency 1 } Coordinate3 { point [ -0.5 0 0, 0.5 0 0 ] } LineSet { }",
     {}},
    // The third vertex is stored but not counted: the segment from it starts a new chain.
    {"AFullyTransparentEndStopsTheChain",
     "MaterialBinding { value PER_VERTEX } Material { diffuseColor [ 1 0 0, 0 1 0, 0 0 1, "
     "1 1 0 ]  transparency [ 0, 0, 1, 0 ] } "
     "Coordinate3 { point [ -0.75 0 0, -0.25 0 0, 0.25 0 0, 0.75 0 0 ] } LineSet { }",
     {{K::POLYLINE, {{12.5f, 50}, {37.5f, 50}}, {kRed, kGreen}},
      {K::POLYLINE, {{62.5f, 50}, {87.5f, 50}}, {kBlue, SbColor(1, 1, 0)}}}},
    {"PointsOfOneNodeAreOneSetOfDots",
     "Coordinate3 { point [ -0.5 0 0, 0 0 0, 0.5 0 0 ] } PointSet { } "
     "Coordinate3 { point [ 0 0.5 0 ] } PointSet { }",
     {{K::POLYMARK_DOTS, {{25, 50}, {50, 50}, {75, 50}}}, {K::POLYMARK_DOTS, {{50, 75}}}}},
    {"FullyTransparentPointsAreLeftOut",
     "MaterialBinding { value PER_VERTEX } Material { transparency [ 0, 1, 0 ] } "
     "Coordinate3 { point [ -0.5 0 0, 0 0 0, 0.5 0 0 ] } PointSet { }",
     {{K::POLYMARK_DOTS, {{25, 50}, {75, 50}}}}},
    {"AMarkerSetPrintsItsPointsWithTheNode",
     "Coordinate3 { point [ -0.5 0 0, 0.5 0 0 ] } MarkerSet { markerIndex [ 1, 2 ] }",
     {{K::POLYMARK_MARKERS, {{25, 50}, {75, 50}}}}},
    {"InvisibleDrawStyleDrawsNothingAtAll",
     "DrawStyle { style INVISIBLE } Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0 0.5 0 ] } "
     "FaceSet { } LineSet { } PointSet { } MarkerSet { } Text2 { string \"hidden\" } "
     "Image { image 1 1 3 0xFF0000 }",
     {}},
    {"ATriangleIsOnePolygonInItsColour",
     "Material { diffuseColor 1 0 0 } "
     "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0 0.5 0 ] } FaceSet { }",
     {{K::POLYGON, {{25, 25}, {75, 25}, {50, 75}}, {kRed}}}},
    {"TwoFacesAreTwoPolygons",
     "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0 0.5 0, 0 0 0, 0.5 0 0, 0.5 0.5 0 ] } "
     "FaceSet { numVertices [ 3, 3 ] }",
     {{K::POLYGON, {{25, 25}, {75, 25}, {50, 75}}}, {K::POLYGON, {{50, 50}, {75, 50}, {75, 75}}}}},
    {"AQuadIsTwoTriangles",
     "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0.5 0.5 0, -0.5 0.5 0 ] } FaceSet { }",
     {{K::POLYGON, {{25, 25}, {75, 25}, {75, 75}}}, {K::POLYGON, {{25, 25}, {75, 75}, {25, 75}}}}},
    {"APentagonIsThreeTriangles",
     "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0.5 0.5 0, 0 1 0, -0.5 0.5 0 ] } FaceSet { }",
     {{K::POLYGON, {{25, 25}, {75, 25}, {75, 75}}},
      {K::POLYGON, {{25, 25}, {75, 75}, {50, 100}}},
      {K::POLYGON, {{25, 25}, {50, 100}, {25, 75}}}}},
    {"AClockwiseFaceKeepsItsOrder",
     "Coordinate3 { point [ -0.5 -0.5 0, 0 0.5 0, 0.5 -0.5 0 ] } FaceSet { }",
     {{K::POLYGON, {{25, 25}, {50, 75}, {75, 25}}}}},
    {"AFaceOfTwoPointsIsNoPolygon",
     "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0 ] } FaceSet { }",
     {},
     "SoFaceSet::generatePrimitives"},
    {"AFullyTransparentTriangleIsNotDrawn",
     kRedGreenBlue + "Material { transparency [ 1, 1, 1 ] } "
                     "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0 0.5 0 ] } FaceSet { }",
     {}},
    {"OneOpaqueVertexDrawsTheTriangleWithAllItsColours",
     "MaterialBinding { value PER_VERTEX } Material { diffuseColor [ 1 0 0, 0 1 0, 0 0 1 ] "
     "transparency [ 1, 1, 0 ] } Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0 0.5 0 ] } "
     "FaceSet { }",
     {{K::POLYGON, {{25, 25}, {75, 25}, {50, 75}}, {kRed, kGreen, kBlue}}}},
    // Two triangles meeting along an edge, a material per vertex: the shared points have a
    // different material in each, so a colour lit for one must not serve the other.
    {"SharedPointsWithTheirOwnMaterialsAreLitEachInItsOwnColour",
     "LightModel { model PHONG } " + kSlantedLight + "MaterialBinding { value PER_VERTEX } " +
         material("[ 1 0 0, 0 1 0, 0 0 1, 1 1 0, 0 1 1, 1 0 1 ]") +
         "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0.5 0.5 0, -0.5 -0.5 0, 0.5 0.5 0, "
         "-0.5 0.5 0 ] } FaceSet { numVertices [ 3, 3 ] }",
     {{K::POLYGON, {{25, 25}, {75, 25}, {75, 75}}, {{0.5f, 0, 0}, {0, 0.5f, 0}, {0, 0, 0.5f}}},
      {K::POLYGON,
       {{25, 25}, {75, 75}, {25, 75}},
       {{0.5f, 0.5f, 0}, {0, 0.5f, 0.5f}, {0.5f, 0, 0.5f}}}}},
    // The same triangle three times, the material and then the lights changed between; at
    // the end cos 60 from the slanted light plus the whole frontal one.
    {"EachShapeIsLitInTheStateInForceForIt",
     "LightModel { model PHONG } " + kSlantedLight + material("1 0 0") + kTriangle +
         material("0 1 0") + kTriangle + "DirectionalLight { direction 0 0 -1 } " + kTriangle,
     {{K::POLYGON, {{25, 25}, {75, 25}, {50, 75}}, {{0.5f, 0, 0}}},
      {K::POLYGON, {{25, 25}, {75, 25}, {50, 75}}, {{0, 0.5f, 0}}},
      {K::POLYGON, {{25, 25}, {75, 25}, {50, 75}}, {{0, 1, 0}}}}},
    // Met first, the annotation is drawn last, in the state in force where it was met.
    {"AnnotationsAreDrawnLastWithoutDisturbingTheRest",
     "Material { diffuseColor 1 0 0 } Annotation { Material { diffuseColor 0 1 0 } " +
         lineAcross(0.5f) + "} " + lineAcross(-0.5f),
     {{K::POLYLINE, {{25, 25}, {75, 25}}, {kRed}}, {K::POLYLINE, {{25, 75}, {75, 75}}, {kGreen}}}},
    {"AnAnnotationSeesTheStateBuiltUpBeforeIt",
     "Material { diffuseColor 0 0 1 } Translation { translation 0.25 0 0 } Annotation { " +
         lineAcross(0) + "}",
     {{K::POLYLINE, {{37.5f, 50}, {87.5f, 50}}, {kBlue}}}},
    {"Text2LinesStepDownByFontSizeTimesNominalWidthTimesSpacing",
     "Font { name \"Courier\"  size 12 } Material { diffuseColor 0 0 1 } "
     "Text2 { string [ \"first\", \"second\", \"third\" ]  spacing 1.5  justification RIGHT }",
     {{K::TEXT2, {{50, 50}}, {kBlue}},
      {K::TEXT2, {{50, 50 - kTextStep}}, {kBlue}},
      {K::TEXT2, {{50, 50 - 2 * kTextStep}}, {kBlue}}}},
    {"FullyTransparentTextIsNotPrinted",
     "Material { transparency 1 } Text2 { string \"gone\" }",
     {}},
};

using CaptureTest = TraversalTest;

TEST_F(CaptureTest, PrintCallsOfEachScene) {
    for (const CaptureCase& c : kCases) {
        SCOPED_TRACE(c.name);
        DebugErrorRecorder errors;
        auto action = makeAction();
        action->setShadeModel(SoVectorizeAction::SMOOTH);
        print(*action, kCamera + kUnlit + c.scene);
        EXPECT_EQ(errors.size(), *c.warning ? 1u : 0u) << errors.dump();
        EXPECT_TRUE(!*c.warning || errors.contains(c.warning)) << errors.dump();
        const std::vector<RecordedCall> printed = drawingCalls(*action);
        ASSERT_EQ(printed.size(), c.printed.size());
        for (size_t i = 0; i < printed.size(); ++i) {
            SCOPED_TRACE(i);
            const RecordedCall& call = printed[i];
            const Printed& expected = c.printed[i];
            EXPECT_EQ(call.kind, expected.kind);
            const bool anchored = call.kind == K::TEXT2 || call.kind == K::IMAGE;
            const std::vector<SbVec4f> points =
                anchored ? std::vector<SbVec4f>{call.origin} : call.points;
            ASSERT_EQ(points.size(), expected.points.size());
            for (size_t k = 0; k < points.size(); ++k) expectPointAt(points[k], expected.points[k]);
            const std::vector<SbColor> colors =
                anchored ? std::vector<SbColor>{call.color} : call.colors;
            if (expected.colors.empty()) continue;
            ASSERT_EQ(colors.size(), expected.colors.size());
            for (size_t k = 0; k < colors.size(); ++k) expectColor(colors[k], expected.colors[k]);
        }
    }
}

TEST_F(CaptureTest, PrimitivesCarryTheirAttributes) {
    auto action = makeAction();
    print(*action, kCamera + kUnlit +
                       "DrawStyle { lineWidth 3  linePattern 0x0F0F  linePatternScaleFactor 2  "
                       "pointSize 4 } Coordinate3 { point [ -0.5 0 0, 0.5 0 0 ] } LineSet { } "
                       "PointSet { } Font { name \"Courier\"  size 12 } Text2 { string \"a\"  "
                       "justification RIGHT } Image { image 2 1 3 0x010203 0x040506  height 5  "
                       "horAlignment RIGHT  vertAlignment HALF }");
    const std::vector<RecordedCall> polylines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(polylines.size(), 1u);
    EXPECT_EQ(polylines[0].lineWidth, 3.0f);
    EXPECT_EQ(polylines[0].linePattern, 0x0F0F);
    EXPECT_EQ(polylines[0].linePatternScaleFactor, 2);
    const std::vector<RecordedCall> dots = action->ofKind(K::POLYMARK_DOTS);
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_EQ(dots[0].pointSize, 4.0f);
    const std::vector<RecordedCall> lines = action->ofKind(K::TEXT2);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].string, "a");
    EXPECT_EQ(lines[0].fontName, "Courier");
    EXPECT_EQ(lines[0].fontSize, 12.0f);
    EXPECT_EQ(lines[0].justification, SoText2::RIGHT);
    EXPECT_EQ(lines[0].angle, 0.0f);
    const std::vector<RecordedCall> images = action->ofKind(K::IMAGE);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].sourceSize, SbVec2s(2, 1));
    // A negative width keeps the image's own; the height asked for is kept.
    EXPECT_EQ(images[0].requestedSize, SbVec2s(2, 5));
    EXPECT_EQ(images[0].numComponents, 3);
    EXPECT_EQ(images[0].horAlignment, SoImage::RIGHT);
    EXPECT_EQ(images[0].vertAlignment, SoImage::HALF);
    EXPECT_EQ(images[0].pixels, (std::vector<unsigned char>{1, 2, 3, 4, 5, 6}));
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
        auto action = makeAction();
        print(*action, kCamera + kUnlit + form.text + lineAcross(-0.5f));
        EXPECT_EQ(action->count(K::TEXT2), form.lines);
        EXPECT_EQ(action->count(K::POLYGON) > 0, form.glyphs);
        // Shapes after the text are drawn again (3D text adds outlines of its own).
        EXPECT_GE(action->count(K::POLYLINE), 1u);
    }
}

TEST_F(CaptureTest, ASegmentWithANaNIsDroppedWithOneNote) {
    SoDebugError::resetInfoOnce();
    DebugErrorRecorder errors;
    SoSeparator* root = readScene(kCamera + kUnlit +
                                  "Coordinate3 { point [ -0.5 0 0, nan 0 0 ] } "
                                  "LineSet { } " +
                                  lineAcross(0.5f));
    ASSERT_NE(root, nullptr);
    auto action = makeAction();
    action->apply(root);
    action->apply(root);
    root->unref();
    // The good line set is drawn in both applies; the bad segment never.
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 2u);
    for (const RecordedCall& line : lines) expectPointAt(line.points[0], pageOf(-0.5f, 0.5f));
    EXPECT_EQ(errors.size(), 1u) << errors.dump();
    EXPECT_EQ(errors.countSeverity(SoDebugError::INFO), 1u) << errors.dump();
    EXPECT_TRUE(errors.contains("SoVectorizeAction::drawLineSegment", "NaN")) << errors.dump();
}

TEST_F(CaptureTest, TheLightModelAndTheLightingSwitchDecideWhatIsLit) {
    struct Model {
        const char* model;
        int lighting;
        float grey;  ///< the printed grey of the 0.5 grey material
    };
    // Seen in perspective from 5 away with a 45° field: lit and unlit triangles land alike.
    const std::string camera = "PerspectiveCamera { position 0 0 5  heightAngle 0.7853982 } ";
    const float scale = 1.0f / (5.0f * std::tan(static_cast<float>(M_PI / 8.0)));
    for (const Model& m : {Model{"BASE_COLOR", 1, 0.5f}, Model{"PHONG", 0, 0.25f},
                           Model{"PER_PIXEL_PHONG", 0, 0.5f}, Model{"PER_PIXEL_PHONG", 1, 0.25f}}) {
        SCOPED_TRACE(std::string(m.model) + (m.lighting ? " with lighting" : ""));
        auto action = makeAction();
        action->enableLighting(m.lighting);
        print(*action, camera + "LightModel { model " + m.model + " } " + kSlantedLight +
                           material("0.5 0.5 0.5") + kTriangle);
        const std::vector<RecordedCall> polygons = action->ofKind(K::POLYGON);
        ASSERT_EQ(polygons.size(), 1u);
        expectColor(polygons[0].colors[0], SbColor(m.grey, m.grey, m.grey));
        ASSERT_EQ(polygons[0].points.size(), 3u);
        expectPointAt(polygons[0].points[0], pageOf(-0.5f * scale, -0.5f * scale));
        expectPointAt(polygons[0].points[1], pageOf(0.5f * scale, -0.5f * scale));
        expectPointAt(polygons[0].points[2], pageOf(0, 0.5f * scale));
    }
}

}  // namespace
