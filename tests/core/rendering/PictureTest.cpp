// Where and in what colour a scene lands in the buffer: camera mapping, viewports, depth,
// culling, transparency, annotations, OpenGL's lighting fed from the scene's lights,
// materials and environment, line widths, point sizes and images, against values worked
// out by hand.

#include <Tessara/actions/SoGLRenderAction.h>

#include <array>
#include <cmath>
#include <thread>
#include <vector>

#include "RenderTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace rendertest;

namespace {

/// The byte OpenGL writes for a colour component.
int byteOf(float value) {
    return static_cast<int>(std::lround(std::min(value, 1.0f) * 255.0f));
}

/// A pixel and the colour it must have, within `tolerance`.
struct Pixel {
    int x, y, r, g, b, tolerance = 1;
};

/// A grey pixel.
Pixel grey(int x, int y, int level, int tolerance = 1) {
    return {x, y, level, level, level, tolerance};
}

/// The pixels of exactly one colour: their bounds {minX, minY, maxX, maxY} and their count.
struct Region {
    int r, g, b;
    std::array<int, 4> box;
    size_t count;
};

struct PictureCase {
    const char* name;
    std::string scene;
    std::vector<Pixel> pixels;
    std::vector<Region> regions = {};
    std::array<short, 2> window = {64, 64};
    std::array<short, 4> viewport = {0, 0, 0, 0};  ///< viewport pixels, when not the window
    float dpi = 72;
    bool smooth = true;
};

/// A plane of n strips of 2n triangles over x, y in [-1, 1] at z = 0, all with the normal
/// +z, fine enough for per-vertex lighting to show where a point or spot light falls.
std::string grid(int n) {
    std::string points, counts;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i <= n; ++i)
            for (int row : {j + 1, j})
                points += std::to_string(2.0f * i / n - 1) + " " +
                          std::to_string(2.0f * row / n - 1) + " 0, ";
        counts += std::to_string(2 * n + 2) + ", ";
    }
    return "Normal { vector 0 0 1 } NormalBinding { value OVERALL } Coordinate3 { point [ " +
           points + "] } TriangleStripSet { numVertices [ " + counts + "] } ";
}

/// The grey of the unit sphere lit head-on by the default light at (x, 0): 0.2 × 0.2 of
/// ambient light plus 0.8 of diffuse light times the normal's z.
Pixel litSphere(int column) {
    const float x = pixelCentre(column);
    return grey(column, 32, byteOf(0.04f + 0.8f * std::sqrt(1.0f - x * x)), 4);
}

const std::string kHeadOnLight = "DirectionalLight { direction 0 0 -1 } ";
// Pure red however lit: the base colour model ignores the light.
const std::string kRed = kHeadOnLight + kUnlit + "BaseColor { rgb 1 0 0 } ";
const std::string kBlue = "BaseColor { rgb 0 0 1 } ";
const std::string kImage = "Image { image 2 2 3 0xFF0000 0x00FF00 0x0000FF 0xFFFFFF ";
// Lit by the head-on light, the default material is 0.04 + 0.8 grey; unlit, 0.04.
const int kLit = 214, kDark = 10;
// Solid and of known ordering, a shape seen from behind is culled: here the right one.
const std::string kFrontAndBack =
    rectangle(-0.75f, -0.5f, -0.25f, 0.5f) + rectangle(0.25f, -0.5f, 0.75f, 0.5f, 0.0f, true);
// Seen from behind, with a normal pointing away from the light: lit on its back where its
// ordering is known (the left half), dark where it is not (the right half).
const std::string kBackFacing =
    "Normal { vector 0 0 -1 } NormalBinding { value OVERALL } "
    "Separator { ShapeHints { vertexOrdering COUNTERCLOCKWISE } " +
    rectangle(-1, -1, 0, 1, 0.0f, true) + "} " + rectangle(0, -1, 1, 1, 0.0f, true);
// A triangle whose corners are red, green and blue.
const std::string kCorners =
    "MaterialBinding { value PER_VERTEX } Material { diffuseColor [ 1 0 0, 0 1 0, 0 0 1 ] } "
    "Coordinate3 { point [ -1 -1 0, 1 -1 0, 0 1 0 ] } FaceSet { }";
const std::string kVertexColours = kUnlit + kCorners;
const std::string kFarBlue =
    "Separator { " + kBlue + rectangle(-0.25f, -0.25f, 0.75f, 0.75f, -0.5f) + "} ";

const std::vector<PictureCase> kCases = {
    // x in [-0.5, 0.5] is pixels [16, 48), y in [-0.5, 0.25] is rows [16, 40).
    {"OrthographicRectangleLandsOnItsPixels",
     kCamera + kRed + rectangle(-0.5f, -0.5f, 0.5f, 0.25f),
     {},
     {{255, 0, 0, {16, 16, 47, 39}, 32 * 24}}},
    // The height still spans [-1, 1] in 64 rows; the width spans [-2, 2] in 128 columns.
    {"WideViewportWidensTheViewAndKeepsSquaresSquare",
     kCamera + kRed + rectangle(-0.5f, -0.5f, 0.5f, 0.5f),
     {},
     {{255, 0, 0, {48, 16, 79, 47}, 32 * 32}},
     {128, 64}},
    {"ViewportInsideTheWindowIsWhereTheSceneGoes",
     kCamera + kRed + rectangle(-1, -1, 1, 1),
     {},
     {{255, 0, 0, {8, 16, 39, 47}, 32 * 32}},
     {64, 64},
     {8, 16, 32, 32}},
    {"SolidShapeOfKnownOrderingLosesItsBackFace",
     kCamera + kRed + "ShapeHints { vertexOrdering COUNTERCLOCKWISE  shapeType SOLID } " +
         kFrontAndBack,
     {{16, 32, 255, 0, 0}, {48, 32, 0, 0, 0}}},
    // Mirrored in x, the front face lands on the right, its winding turned on the screen.
    {"AMirroredSolidKeepsItsFront",
     kCamera + kRed + "ShapeHints { vertexOrdering COUNTERCLOCKWISE  shapeType SOLID } " +
         "Scale { scaleFactor -1 1 1 } " + kFrontAndBack,
     {{16, 32, 0, 0, 0}, {48, 32, 255, 0, 0}}},
    {"ClockwiseOrderingMakesTheOtherSideTheFront",
     kCamera + kRed + "ShapeHints { vertexOrdering CLOCKWISE  shapeType SOLID } " + kFrontAndBack,
     {{16, 32, 0, 0, 0}, {48, 32, 255, 0, 0}}},
    // Three quarters red over blue; the fully transparent green in front neither shows nor
    // hides anything.
    {"PartlyTransparentColourBlendsFullyTransparentVanishes",
     kCamera + kUnlit + "Separator { " + kBlue + rectangle(-1, -1, 1, 1, -2) +
         "} Material { diffuseColor 1 0 0  transparency 0.25 } " + rectangle(-1, -1, 0, 1) +
         "Material { diffuseColor 0 1 0  transparency 1 } " + rectangle(-0.5f, -1, 1, 1, 1),
     {{20, 32, 191, 0, 64}, {48, 32, 0, 0, 255, 0}}},
    {"InvisibleDrawStyleDrawsNothing",
     kCamera + kRed + "DrawStyle { style INVISIBLE } " + rectangle(-1, -1, 1, 1),
     {},
     {{0, 0, 0, {0, 0, 15, 15}, 256}},
     {16, 16}},
    // Met first and far behind, the annotation is drawn last, over the red square in front,
    // in the state in force where it was met; the square follows with no leftover green.
    {"AnnotationsLieOverTheScene",
     kCamera + kRed + "Annotation { BaseColor { rgb 0 1 0 } " +
         rectangle(-0.5f, -0.5f, 0.5f, 0.5f, -2) + "} " + rectangle(-1, -1, 1, 1, 1),
     {{32, 32, 0, 255, 0}, {4, 4, 255, 0, 0}},
     {{255, 0, 0, {0, 0, 63, 63}, 64 * 64 - 32 * 32}}},
    {"WithoutLightsOnlyEmissionAndAmbientRemain",
     kCamera +
         "Environment { ambientIntensity 1  ambientColor 1 0.5 1 } "
         "Material { ambientColor 0.5 0.5 0  emissiveColor 0 0 0.25 } " +
         rectangle(-1, -1, 1, 1),
     {{8, 8, byteOf(0.5f), byteOf(0.25f), byteOf(0.25f)}},
     {},
     {16, 16}},
    {"SphereFacingTheLightMatchesTheLightingFormula",
     kCamera + kHeadOnLight + "Complexity { value 1 } Sphere { }",
     {litSphere(32), litSphere(40), litSphere(48), litSphere(56)}},
    // Straight below the light: distance 1, so 1 / (4 × 1²) of the 0.8 diffuse; towards a
    // corner farther, more oblique and darker.
    {"PointLightIsAttenuatedByTheEnvironment",
     kCamera +
         "Environment { ambientIntensity 0  attenuation 0 0 4 } "
         "PointLight { location 0 0 1 } " +
         grid(32),
     {grey(32, 32, byteOf(0.2f), 3), grey(4, 4, 13, 4)}},
    // A cone of radius 2 tan(0.2) = 0.405 at z = 0.
    {"SpotLightLightsItsConeOnly",
     kCamera + "SpotLight { location 0 0 2  direction 0 0 -1  cutOffAngle 0.2 } " + grid(40),
     {grey(32, 32, byteOf(0.84f), 3), grey(32, 52, kDark)}},
    {"LightsOnlyShineOnWhatFollowsThemInTheirSeparator",
     kCamera + "Separator { " + kHeadOnLight + rectangle(-1, -1, 0, 1) + "} " +
         rectangle(0, -1, 1, 1),
     {grey(4, 8, kLit), grey(12, 8, kDark)},
     {},
     {16, 16}},
    {"TwoSidedLightingOnlyWhenTheOrderingIsKnown",
     kCamera + kHeadOnLight + kBackFacing,
     {grey(4, 8, kLit), grey(12, 8, kDark)},
     {},
     {16, 16}},
    // The centroid (0, -1/3) is row 21: equal shares of the three colours.
    {"SmoothShadingBlendsVertexColours",
     kCamera + kVertexColours,
     {grey(32, 21, 85, 4), {4, 1, 234, 15, 6, 25}, {59, 1, 15, 234, 6, 25}}},
    // Flat, the whole triangle (the 2048 pixel centres inside it) takes the first colour, as
    // the printed drawings fill it.
    {"FlatShadingTakesTheFirstVertexColour",
     kCamera + kVertexColours,
     {},
     {{255, 0, 0, {0, 0, 63, 62}, 2048}},
     {64, 64},
     {0, 0, 0, 0},
     72,
     false},
    // Lit and flat, the mean of the corners as lit, as the printed drawings fill it: a third
    // of each colour over the ambient 0.2 x 0.2.
    {"LitFlatShadingTakesTheMeanOfTheCorners",
     kCamera + kHeadOnLight + kCorners,
     {grey(32, 21, byteOf(0.04f + 1.0f / 3.0f)), grey(4, 1, byteOf(0.04f + 1.0f / 3.0f))},
     {},
     {64, 64},
     {0, 0, 0, 0},
     72,
     false},
    {"FacesDrawnAsLinesShowTheirOutlines",
     kCamera + kWhite + "DrawStyle { style LINES } " +
         rectangle(pixelCentre(16), pixelCentre(16), pixelCentre(47), pixelCentre(47)),
     {{16, 30, 255, 255, 255}, {30, 16, 255, 255, 255}, {24, 40, 0, 0, 0}, {8, 8, 0, 0, 0}}},
    // Width 0 is the thinnest line; line widths and point sizes are in points, and at 144
    // pixels per inch a point is two pixels.
    {"ThinnestLineIsOnePixelWide",
     rowLine("", {-0.9f, 0.9f}),
     {},
     {{255, 255, 255, {3, 32, 59, 32}, 57}}},
    {"LineWidthIsInPointsAtTheRegionsResolution",
     rowLine("DrawStyle { lineWidth 3 } ", {-0.9f, 0.9f}),
     {},
     {{255, 255, 255, {3, 29, 59, 34}, 57 * 6}},
     {64, 64},
     {0, 0, 0, 0},
     144},
    {"PointSizeMakesSquareDotsInPoints",
     twoPoints(kWhite + "DrawStyle { pointSize 3 } ", "PointSet { }"),
     {},
     {{255, 255, 255, {19, 19, 45, 41}, 18}}},
    // Rows from the bottom: red, green / blue, white. The origin is the corner of pixels
    // 31 and 32: the image starts at pixel 32.
    {"ImageIsDrawnFromItsAnchor",
     kCamera + kImage + "}",
     {{32, 32, 255, 0, 0}, {33, 32, 0, 255, 0}, {32, 33, 0, 0, 255}, {33, 33, 255, 255, 255}},
     {{0, 0, 0, {0, 0, 63, 63}, 64 * 64 - 4}}},
    // 4 x 6 pixels ending at column 31, rows 29..34; each source pixel is 2 x 3.
    {"ImageIsAlignedAndScaled",
     kCamera + kImage + "width 4  height 6  horAlignment RIGHT  vertAlignment HALF }",
     {{28, 29, 255, 0, 0}, {31, 31, 0, 255, 0}, {29, 32, 0, 0, 255}, {31, 34, 255, 255, 255}},
     {{0, 0, 0, {0, 0, 63, 63}, 64 * 64 - 24}}},
};

using PictureTest = RenderTest;

TEST_F(PictureTest, EachSceneLandsOnItsPixels) {
    for (const PictureCase& c : kCases) {
        SCOPED_TRACE(c.name);
        SbViewportRegion region(c.window[0], c.window[1], c.dpi);
        if (c.viewport[2] > 0)
            region.setViewportPixels(c.viewport[0], c.viewport[1], c.viewport[2], c.viewport[3]);
        SoOffscreenRenderer renderer(region);
        renderer.getGLRenderAction().setSmoothShading(c.smooth);
        render(renderer, c.scene);
        for (const Pixel& p : c.pixels) {
            const Rgba actual = pixelAt(renderer, p.x, p.y);
            EXPECT_TRUE(near(actual, p.r, p.g, p.b, p.tolerance))
                << "pixel " << p.x << ", " << p.y << ": " << actual;
        }
        for (const Region& r : c.regions) {
            const Pixels found =
                pixelsWhere(renderer, [&r](Rgba p) { return near(p, r.r, r.g, r.b, 0); });
            EXPECT_EQ(found.box, r.box) << "colour " << r.r << " " << r.g << " " << r.b;
            EXPECT_EQ(found.at.size(), r.count) << "colour " << r.r << " " << r.g << " " << r.b;
        }
    }
}

TEST_F(PictureTest, MoreLightsThanOpenGLHasAreReportedOnce) {
    std::string lights;
    for (int i = 0; i < 10; ++i) lights += kHeadOnLight;
    DebugErrorRecorder errors;
    const std::string scene = kCamera + lights + rectangle(-1, -1, 0, 1) + rectangle(0, -1, 1, 1);
    // Two shapes load the lights twice: one report for the render.
    const auto renderer = rendered(scene, 16, 16);
    EXPECT_EQ(errors.countSeverity(SoDebugError::WARNING), 1u) << errors.dump();
    EXPECT_TRUE(errors.contains("SoGLRenderAction::apply", "10 lights")) << errors.dump();
    // Eight lights of diffuse 0.8 saturate the grey.
    EXPECT_TRUE(near(pixelAt(*renderer, 8, 8), 255, 255, 255, 0));
}

TEST_F(PictureTest, ActionWithoutContextReportsAndDrawsNothing) {
    DebugErrorRecorder errors;
    SoSeparator* root = readScene(kCamera + rectangle(-1, -1, 1, 1));
    // A thread of its own has no context bound, whatever the other tests left.
    std::thread worker([root] {
        SoGLRenderAction action(SbViewportRegion(8, 8));
        action.apply(root);
    });
    worker.join();
    root->unref();
    EXPECT_TRUE(errors.contains("SoGLRenderAction::apply", "No OpenGL context")) << errors.dump();
}

}  // namespace
