// Shapes read from scene files: names, fields and primitives as an application would meet
// them.

#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoCone.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>

#include <cstring>
#include <string>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

namespace {

class SceneFileTest : public ShapeTest {
  protected:
    // Replaces the fixture's root by what the text reads to.
    bool read(const char* text) {
        SoInput in;
        in.setBuffer(text, std::strlen(text));
        SoSeparator* scene = SoDB::readAll(&in);
        if (!scene) return false;
        root->unref();
        root = scene;
        root->ref();
        return true;
    }
    bool readFile(const std::string& path) {
        SoInput in;
        if (!in.openFile(path.c_str())) return false;
        SoSeparator* scene = SoDB::readAll(&in);
        if (!scene) return false;
        root->unref();
        root = scene;
        root->ref();
        return true;
    }
};

}  // namespace

TEST_F(SceneFileTest, IndexedFaceSetFromTextBindsItsMaterials) {
    ASSERT_TRUE(
        read("#Tessara V1.0 ascii\n"
             "Material { diffuseColor [ 1 0 0, 0 1 0, 0 0 1 ] }\n"
             "MaterialBinding { value PER_FACE_INDEXED }\n"
             "Coordinate3 { point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0 ] }\n"
             "IndexedFaceSet { coordIndex [ 0, 1, 2, -1, 0, 2, 3 ]\n"
             "                 materialIndex [ 2, 1 ] }\n"));
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0].v[0].material, 2);
    EXPECT_EQ(result[1].v[2].material, 1);
    EXPECT_EQ(result[1].v[2].point, SbVec3f(0, 1, 0));
}

TEST_F(SceneFileTest, ConePartsReadAsABitMask) {
    ASSERT_TRUE(
        read("#Tessara V1.0 ascii\n"
             "Complexity { value 0 }\n"
             "Cone { parts BOTTOM  bottomRadius 3 }\n"));
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 6u);
    for (const Triangle& t : result) EXPECT_EQ(t.v[0].point[1], -1.0f);
}

TEST_F(SceneFileTest, ExampleScenesGiveTheirPrimitivesWithoutComplaint) {
    DebugErrorRecorder recorder;
    ASSERT_TRUE(readFile(std::string(TESSARA_EXAMPLES_DIR) + "/lit_shapes.tsc")) << recorder.dump();
    const std::vector<Triangle> shapes = triangles();
    // The pyramid: four sides and a square base of two triangles, one colour per face.
    int pyramid = 0;
    for (const Triangle& t : shapes) {
        if (t.points.size() == 3 && t.face >= 0 && t.face < 4 && t.v[2].point[1] == 1.5f) {
            EXPECT_EQ(t.v[0].material, t.face);
            ++pyramid;
        }
    }
    EXPECT_EQ(pyramid, 4);
    EXPECT_GT(shapes.size(), 100u);

    ASSERT_TRUE(readFile(std::string(TESSARA_EXAMPLES_DIR) + "/lines_and_markers.tsc"))
        << recorder.dump();
    const std::vector<Segment> lines = segments();
    // 2 + 1 from the line set, 3 + 1 and 1 from the indexed ones.
    EXPECT_EQ(lines.size(), 8u);
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}
