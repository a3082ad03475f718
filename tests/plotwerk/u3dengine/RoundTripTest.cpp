// Scenes exported through the U3D engine and read back by an independent reader: each mesh
// holds the triangles the recording engine was sent for its shape, in order, and the file
// holds the colours, materials and transforms of the scene.

#include <PlotWerk/SoToU3DAction.h>
#include <Tessara/base/SbNumberFormat.h>
#include <Tessara/math/SbVec3f.h>
#include <Tessara/misc/SoLibPdf.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "engine/RecordingEngine.h"
#include "format/U3DFileWriter.h"
#include "plotwerk/support/SceneText.h"
#include "support/U3DReader.h"

namespace {

using Shapes = std::vector<std::vector<std::string>>;

/// A file of the running test's own: the tests of this suite run at once in the test suite.
std::string testFile() {
    return ::testing::TempDir() + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
           ".u3d";
}

bool exportThrough(const char* module, const std::string& scene) {
    SoLibPdf::release();
    SoPreferences::setValue("VXN_U3D_ENGINE", module);
    SoSeparator* root = readScene(scene);
    if (!root) {
        ADD_FAILURE() << "the scene does not read: " << scene;
        return false;
    }
    SoToU3DAction action;
    bool exported = action.openFile(testFile().c_str());
    action.apply(root);
    exported = action.closeFile() && exported;
    root->unref();
    return exported;
}

// Each shape's triangles as the recording engine logs them, and its lines and points.
Shapes recorded(const std::string& scene, int& strokeTriangles) {
    recording_engine::reset();
    EXPECT_TRUE(exportThrough(RECORDING_ENGINE, scene));
    Shapes shapes;
    strokeTriangles = 0;
    for (const std::string& line : recording_engine::log()) {
        if (line.rfind("14 ", 0) == 0) shapes.emplace_back();
        if (line.rfind("17 addTriangle", 0) == 0) shapes.back().push_back(line.substr(14));
        // A line is drawn as two crossed ribbons, a point as an octahedron.
        strokeTriangles += line.rfind("18 ", 0) == 0 || line.rfind("23 ", 0) == 0 ? 4 : 0;
        strokeTriangles += line.rfind("19 ", 0) == 0 ? 8 : 0;
    }
    shapes.erase(std::remove_if(shapes.begin(), shapes.end(), [](auto& s) { return s.empty(); }),
                 shapes.end());
    return shapes;
}

u3dread::File written(const std::string& scene) {
    EXPECT_TRUE(exportThrough(U3D_ENGINE, scene));
    std::ifstream in(testFile(), std::ios::binary);
    return u3dread::read({std::istreambuf_iterator<char>(in), {}});
}

// A mesh's faces in the recording engine's words, or the count of its triangles when it is
// made of a shape's lines and points (a mesh of lines has no normals of its own to compare).
std::vector<std::string> triangles(const u3dread::Mesh& mesh) {
    std::vector<std::string> faces;
    for (const u3dread::Face& face : mesh.faces) {
        std::string text;
        for (const u3dread::Corner& corner : face.corners) {
            text += text.empty() ? "" : " |";
            for (float x : mesh.positions.at(corner.position)) {
                text += ' ';
                SbNumberFormat::appendSignificant(text, x, 6);
            }
        }
        faces.push_back(text);
    }
    return faces;
}

class U3DRoundTrip : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { SoPlotWerk::init(); }
    static void TearDownTestSuite() {
        SoLibPdf::release();
        SoPlotWerk::finish();
    }
};

TEST_F(U3DRoundTrip, MeshesHoldTheTrianglesTheShapesSent) {
    const std::string triangle = "Coordinate3 { point [0 0 0, 1 0 0, 1 1 0, 0 1 0] } ";
    const std::string scenes[] = {
        "Complexity { value 0.3 } Sphere {}",
        exampleMesh("torus_knot.obj"),
        "DEF S Cube {} Translation { translation 3 0 0 } Cone {} USE S",
        triangle + "LineSet { numVertices 3 } PointSet { numPoints 2 } FaceSet { numVertices 4 }",
        "DrawStyle { style LINES } Cube {} DrawStyle { style POINTS } Sphere {}",
        "DrawStyle { style INVISIBLE } Cube {} DrawStyle { style FILLED } Cone {}",
    };
    for (const std::string& scene : scenes) {
        SCOPED_TRACE(scene.substr(0, 80));
        int strokeTriangles = 0;
        const Shapes shapes = recorded(scene, strokeTriangles);
        const u3dread::File file = written(scene);
        size_t shape = 0;
        for (const u3dread::Mesh& mesh : file.meshes) {
            if (mesh.name.find("Strokes") != std::string::npos) {
                strokeTriangles -= static_cast<int>(mesh.faces.size());
                continue;
            }
            ASSERT_LT(shape, shapes.size());
            EXPECT_EQ(triangles(mesh), shapes[shape++]);
        }
        EXPECT_EQ(shape, shapes.size());
        EXPECT_EQ(strokeTriangles, 0);
    }
}

// A point is a small solid whose faces wind about the normals they carry, so that they light
// as they face.
TEST_F(U3DRoundTrip, APointWindsItsFacesAboutTheirNormals) {
    const u3dread::File file = written("Coordinate3 { point 1 2 3 } PointSet {}");
    ASSERT_EQ(file.meshes.size(), 1u);
    const u3dread::Mesh& point = file.meshes[0];
    ASSERT_FALSE(point.faces.empty());
    for (const u3dread::Face& face : point.faces) {
        SbVec3f corner[3];
        for (int i = 0; i < 3; ++i) {
            const std::array<float, 3>& p = point.positions.at(face.corners[i].position);
            corner[i].setValue(p[0], p[1], p[2]);
        }
        const std::array<float, 3>& n = point.normals.at(face.corners[0].normal);
        EXPECT_GT(
            (corner[1] - corner[0]).cross(corner[2] - corner[0]).dot(SbVec3f(n[0], n[1], n[2])), 0);
    }
}

// The normals a smooth mesh computes for a vertex from each of its faces differ in their last
// bits; the file shares one a vertex, as it shares the positions, which halves its size. A
// few vertices, whose normals lie at a rounding step, keep two.
TEST_F(U3DRoundTrip, ASmoothMeshSharesItsNormalsLikeItsPositions) {
    const u3dread::File file =
        written("ShapeHints { creaseAngle 3 } " + exampleMesh("torus_knot.obj"));
    ASSERT_EQ(file.meshes.size(), 1u);
    const std::size_t positions = file.meshes[0].positions.size();
    EXPECT_LE(file.meshes[0].normals.size(), positions + positions / 100);
}

// Instances keep their own transforms; colours and materials come through as the scene has
// them.
TEST_F(U3DRoundTrip, TransformsColoursAndMaterials) {
    const u3dread::File instances = written(
        "DEF S Cube {} Translation { translation 3 0 0 } Rotation { rotation 0 0 1 1.5 } "
        "USE S");
    std::vector<std::array<float, 16>> transforms;
    for (const u3dread::Node& node : instances.nodes)
        if (node.kind == u3dread::NodeKind::Model)
            transforms.push_back(node.parents.at(0).transform);
    ASSERT_EQ(transforms.size(), 2u);
    SbMatrix second;
    second.setTransform(SbVec3f(3, 0, 0), SbRotation(SbVec3f(0, 0, 1), 1.5f), SbVec3f(1, 1, 1));
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(transforms[0][i], SbMatrix::identity().getValue()[i]) << i;
        EXPECT_NEAR(transforms[1][i], second.getValue()[i], 1e-6) << i;
    }

    const u3dread::File colored = written(
        "Coordinate3 { point [0 0 0, 1 0 0, 0 1 0] } Material { diffuseColor [1 0 0, 0 1 0, 0 0 "
        "1] } MaterialBinding { value PER_VERTEX } FaceSet {}");
    ASSERT_EQ(colored.meshes.size(), 1u);
    const std::set<std::array<float, 4>> colours(colored.meshes[0].diffuseColours.begin(),
                                                 colored.meshes[0].diffuseColours.end());
    EXPECT_EQ(colours, (std::set<std::array<float, 4>>{{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}}));

    const u3dread::File material = written(
        "Material { ambientColor 0.1 0.2 0.3 diffuseColor 0.2 0.4 0.6 specularColor 0.5 0.5 0.5 "
        "emissiveColor 0 0.5 0 shininess 0.3 transparency 0.25 } Sphere {}");
    ASSERT_EQ(material.materials.size(), 1u);
    const u3dread::Material& m = material.materials[0];
    EXPECT_EQ(m.ambient, (std::array<float, 3>{0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(m.diffuse, (std::array<float, 3>{0.2f, 0.4f, 0.6f}));
    EXPECT_EQ(m.specular, (std::array<float, 3>{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(m.emissive, (std::array<float, 3>{0, 0.5f, 0}));
    EXPECT_FLOAT_EQ(m.reflectivity, 0.3f);
    EXPECT_FLOAT_EQ(m.opacity, 0.75f);

    // The spot light shines down from (1, 2, 3), the directional light along +x: their nodes'
    // -Z axes point that way.
    const u3dread::File lit = written(
        "Environment { ambientIntensity 0.4 ambientColor 1 1 0 } PerspectiveCamera { "
        "heightAngle 0.5 nearDistance 2 farDistance 40 } SpotLight { location 1 2 3 direction 0 "
        "-1 0 color 1 0.5 0 intensity 0.7 cutOffAngle 0.25 } DirectionalLight { direction 1 0 0 "
        "} Cube {}");
    ASSERT_EQ(lit.lights.size(), 3u);
    const auto light = [&](std::uint32_t type) {
        return *std::find_if(lit.lights.begin(), lit.lights.end(),
                             [&](const u3dread::Light& l) { return l.type == type; });
    };
    const u3dread::Light ambient = light(0), directional = light(1), spot = light(3);
    EXPECT_EQ(ambient.colour, (std::array<float, 4>{1, 1, 0, 1}));
    EXPECT_FLOAT_EQ(ambient.intensity, 0.4f);
    EXPECT_EQ(spot.colour, (std::array<float, 4>{1, 0.5f, 0, 1}));
    EXPECT_FLOAT_EQ(spot.intensity, 0.7f);
    EXPECT_NEAR(spot.spotAngle, 0.25 * 180 / M_PI, 1e-4);
    int views = 0;
    for (const u3dread::Node& node : lit.nodes) {
        const std::array<float, 16>& m = node.parents.at(0).transform;
        const std::array<float, 16> spotFrame{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 2, 3, 1};
        const bool isSpot = node.kind == u3dread::NodeKind::Light && node.resourceName == spot.name;
        for (int i : {8, 9, 10, 12, 13, 14})
            EXPECT_TRUE(!isSpot || std::fabs(m[i] - spotFrame[i]) < 1e-6) << i;
        const bool isDirectional =
            node.kind == u3dread::NodeKind::Light && node.resourceName == directional.name;
        EXPECT_TRUE(!isDirectional || std::fabs(m[8] + 1) < 1e-6) << m[8];
        if (node.kind != u3dread::NodeKind::View) continue;
        ++views;
        EXPECT_NEAR(node.projection, 0.5 * 180 / M_PI, 1e-4);
        EXPECT_EQ(std::make_pair(node.nearClip, node.farClip), std::make_pair(2.0f, 40.0f));
    }
    EXPECT_EQ(views, 1);
}

// A colour, material or light value that is no number is exported as 0, as it prints; a line
// of such a width as the thinnest. Only a triangle with a corner of no number is left out.
TEST_F(U3DRoundTrip, ValuesThatAreNoNumberAreExportedAsZero) {
    const u3dread::File file = written(
        "Environment { ambientColor nan 1 1 } SpotLight { color 1 nan 1 intensity nan "
        "cutOffAngle nan } Material { diffuseColor nan 1 1 shininess nan transparency nan } "
        "Cube {} BaseColor { rgb 1 1 nan } LightModel { model BASE_COLOR } DrawStyle { "
        "lineWidth nan } Coordinate3 { point [0 0 0, 1 0 0, 0 1 0, nan 0 0, 1 1 0, 0 1 1] } "
        "FaceSet { "
        "numVertices [3, 3] } LineSet { numVertices 3 }");
    ASSERT_EQ(file.meshes.size(), 3u);
    EXPECT_EQ(file.meshes[1].diffuseColours.at(0), (std::array<float, 4>{1, 1, 0, 1}));
    EXPECT_EQ(file.meshes[1].faces.size(), 1u);  // the one with a corner of no number is out
    EXPECT_GT(file.meshes[2].faces.size(), 0u);
    const u3dread::Material& cube = file.materials.at(0);
    EXPECT_EQ(cube.diffuse, (std::array<float, 3>{0, 1, 1}));
    EXPECT_EQ(cube.reflectivity, 0.0f);
    EXPECT_EQ(cube.opacity, 1.0f);
    ASSERT_EQ(file.lights.size(), 2u);
    const u3dread::Light& ambient = file.lights[0].type == 0 ? file.lights[0] : file.lights[1];
    const u3dread::Light& spot = file.lights[0].type == 3 ? file.lights[0] : file.lights[1];
    EXPECT_EQ(ambient.colour, (std::array<float, 4>{0, 1, 1, 1}));
    EXPECT_EQ(spot.colour, (std::array<float, 4>{1, 0, 1, 1}));
    EXPECT_EQ(spot.intensity, 0.0f);
    EXPECT_EQ(spot.spotAngle, 0.0f);
}

// A scene the engine could not have made is refused whole, and no file is left.
TEST_F(U3DRoundTrip, AnInvalidSceneWritesNoFile) {
    std::filesystem::remove(testFile() + ".bad");  // a run stopped half-way may have left one
    u3d::Scene scene;
    scene.meshes.push_back({"m", {{0, 0, 0}}, {}, {}, {u3d::Mesh::Shading{}}, {{}}});
    scene.meshes[0].faces[0].corners[2].position = 1;  // past the one position
    std::string error;
    EXPECT_FALSE(u3d::U3DFileWriter::write(scene, testFile() + ".bad", true, &error));
    EXPECT_NE(error.find("m"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(testFile() + ".bad"));
    scene.meshes[0].faces[0].corners[2].position = 0;
    u3d::Node node;
    node.name = "n";
    node.resource = "missing";
    for (u3d::Node::Kind kind : {u3d::Node::Kind::Model, u3d::Node::Kind::Light}) {
        node.kind = kind;
        scene.nodes = {node};
        EXPECT_FALSE(u3d::U3DFileWriter::write(scene, testFile() + ".bad", true, &error))
            << "no resource";
    }
}

}  // namespace
