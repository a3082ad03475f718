// Which triangles are lit and in what state: the light model against the lighting switch,
// the lit colour of shared points, and the light and material in force for each shape.

#include <cmath>
#include <string>
#include <vector>

#include "TraversalScene.h"

using namespace traversal;
using K = RecordedCall;

namespace {

// A white light coming down at 60 degrees from the triangles' normal: it lights them at
// cos 60 = 0.5 of their diffuse colour; their materials have no ambient or specular part.
const std::string kSlantedLight = "DirectionalLight { direction 0 -0.8660254 -0.5 } ";
const std::string kTriangle =
    "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0 0.5 0 ] } FaceSet { } ";

std::string material(const char* diffuse) {
    return std::string("Material { ambientColor 0 0 0  specularColor 0 0 0  diffuseColor ") +
           diffuse + " } ";
}

/// The first colour of each polygon printed for the scene of `body`.
std::vector<SbColor> printedColors(const std::string& body, int lighting = 0) {
    auto action = makeAction();
    action->setShadeModel(SoVectorizeAction::SMOOTH);
    action->enableLighting(lighting);
    print(*action, body);
    std::vector<SbColor> colors;
    for (const RecordedCall& polygon : action->ofKind(K::POLYGON))
        colors.insert(colors.end(), polygon.colors.begin(), polygon.colors.end());
    return colors;
}

using LitShapeTest = TraversalTest;

TEST_F(LitShapeTest, TheLightModelAndTheLightingSwitchDecideWhatIsLit) {
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

TEST_F(LitShapeTest, SharedPointsWithTheirOwnMaterialsAreLitEachInItsOwnColour) {
    // Two triangles meeting along an edge, a material per vertex: the shared points have a
    // different material in each, so a colour lit for one must not serve the other.
    const std::vector<SbColor> colors = printedColors(
        kCamera + "LightModel { model PHONG } " + kSlantedLight +
        "MaterialBinding { value PER_VERTEX } " +
        material("[ 1 0 0, 0 1 0, 0 0 1, 1 1 0, 0 1 1, 1 0 1 ]") +
        "Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0.5 0.5 0, -0.5 -0.5 0, 0.5 0.5 0, "
        "-0.5 0.5 0 ] } FaceSet { numVertices [ 3, 3 ] }");
    const std::vector<SbColor> expected = {{0.5f, 0, 0},    {0, 0.5f, 0},    {0, 0, 0.5f},
                                           {0.5f, 0.5f, 0}, {0, 0.5f, 0.5f}, {0.5f, 0, 0.5f}};
    ASSERT_EQ(colors.size(), expected.size());
    for (size_t i = 0; i < colors.size(); ++i) expectColor(colors[i], expected[i]);
}

TEST_F(LitShapeTest, EachShapeIsLitInTheStateInForceForIt) {
    // The same triangle three times, with the material and then the lights changed between.
    const std::vector<SbColor> colors = printedColors(
        kCamera + "LightModel { model PHONG } " + kSlantedLight + material("1 0 0") + kTriangle +
        material("0 1 0") + kTriangle + "DirectionalLight { direction 0 0 -1 } " + kTriangle);
    // Both lights at the end: cos 60 from the slanted one plus the whole frontal one.
    const std::vector<SbColor> expected = {{0.5f, 0, 0}, {0, 0.5f, 0}, {0, 1, 0}};
    ASSERT_EQ(colors.size(), expected.size());
    for (size_t i = 0; i < colors.size(); ++i) expectColor(colors[i], expected[i]);
}

}  // namespace
