// The shipped scenes give their primitives as an application would meet them.

#include <Tessara/io/SoInput.h>

#include <string>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

using SceneFileTest = ShapeTest;

TEST_F(SceneFileTest, ExampleScenesGiveTheirPrimitivesWithoutComplaint) {
    DebugErrorRecorder recorder;
    for (const char* file : {"lit_shapes.tsc", "lines_and_markers.tsc"}) {
        SoInput in;
        ASSERT_TRUE(in.openFile((std::string(TESSARA_EXAMPLES_DIR) + "/" + file).c_str()));
        SoSeparator* scene = SoDB::readAll(&in);
        ASSERT_NE(scene, nullptr) << recorder.dump();
        root->addChild(scene);
    }
    const std::vector<Primitive> shapes = triangles();
    // The pyramid: four sides and a square base of two triangles, one colour per face.
    int pyramid = 0;
    for (const Primitive& t : shapes) {
        if (t.points.size() == 3 && t.face >= 0 && t.face < 4 && t.v[2].point[1] == 1.5f) {
            EXPECT_EQ(t.v[0].material, t.face);
            ++pyramid;
        }
    }
    EXPECT_EQ(pyramid, 4);
    EXPECT_GT(shapes.size(), 100u);
    // 2 + 1 from the line set, 3 + 1 and 1 from the indexed ones.
    EXPECT_EQ(segments().size(), 8u);
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}
