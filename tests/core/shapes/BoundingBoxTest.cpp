// Bounding boxes of the shapes: the coordinates they use, or their analytic extent.

#include <Tessara/nodes/SoCone.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoCylinder.h>
#include <Tessara/nodes/SoSphere.h>

#include <limits>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

using BoundingBoxTest = ShapeTest;

TEST_F(BoundingBoxTest, ShapesBoundWhatTheyDraw) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Coordinate 4, far away, is used only by a shape that asks for all of them; 5 is NaN.
    const std::vector<SbVec3f> points = {SbVec3f(0, 0, 0),       SbVec3f(2, 0, 1),
                                         SbVec3f(0, 4, 0),       SbVec3f(-1, 1, -3),
                                         SbVec3f(100, 100, 100), SbVec3f(nan, 5, 5)};
    const SbVec3f none(1, 1, 1);  // min above max: an empty box
    const struct {
        SoShape* solid;  // or else a vertex shape of `kind` with `values`
        Kind kind;
        std::vector<int32_t> values;
        SbVec3f min, max;
    } cases[] = {
        {nullptr, Kind::INDEXED_FACES, {0, 1, 2, -1, 0, 2, 3, -1}, {-1, 0, -3}, {2, 4, 1}},
        {nullptr, Kind::INDEXED_LINES, {1, 2}, {0, 0, 0}, {2, 4, 1}},
        {nullptr, Kind::INDEXED_FACES, {0, 1, 5, -1, 7, -5, 1}, {0, 0, 0}, {2, 0, 1}},
        {nullptr, Kind::FACES, {3, 2}, {-1, 0, -3}, {100, 100, 100}},
        {nullptr, Kind::STRIPS, {4}, {-1, 0, -3}, {2, 4, 1}},
        {nullptr, Kind::LINES, {2}, {0, 0, 0}, {2, 0, 1}},
        {nullptr, Kind::FACES, {}, none, -none},
        {nullptr, Kind::INDEXED_FACES, {}, none, -none},
        {solid(new SoCube, {{"depth", 8}}), Kind::FACES, {}, {-1, -1, -4}, {1, 1, 4}},
        {solid(new SoSphere, {{"radius", 3}}), Kind::FACES, {}, {-3, -3, -3}, {3, 3, 3}},
        {solid(new SoCone, {{"height", 6}}), Kind::FACES, {}, {-1, -3, -1}, {1, 3, 1}},
        {solid(new SoCone, {}, SoCone::BOTTOM), Kind::FACES, {}, {-1, -1, -1}, {1, -1, 1}},
        {solid(new SoCylinder, {{"height", 4}}), Kind::FACES, {}, {-1, -2, -1}, {1, 2, 1}},
        {solid(new SoCylinder, {}, SoCylinder::TOP), Kind::FACES, {}, {-1, 1, -1}, {1, 1, 1}},
        {solid(new SoCylinder, {}, 0), Kind::FACES, {}, none, -none},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << row++);
        root->removeAllChildren();
        coordinates(points);
        if (c.solid) {
            add(c.solid);
        } else {
            shape(c.kind, c.values);
        }
        DebugErrorRecorder recorder;
        SbVec3f center(9, 9, 9);
        const SbBox3f bounds = box(&center);
        EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
        if (c.solid) {  // asked directly, a solid gives the same centre, even bounding nothing
            SbBox3f own;
            SbVec3f ownCenter(9, 9, 9);
            c.solid->computeBBox(nullptr, own, ownCenter);
            EXPECT_EQ(ownCenter, center);
        }
        // Whatever is drawn lies in the box: parts left out are not drawn.
        for (const Primitive& t : triangles())
            for (const Vertex& v : t.v)
                EXPECT_TRUE(std::isnan(v.point[0]) || bounds.intersect(v.point));
        if (c.min[0] > c.max[0]) {
            EXPECT_TRUE(bounds.isEmpty());
            EXPECT_EQ(center, SbVec3f(0, 0, 0));
            continue;
        }
        EXPECT_EQ(bounds.getMin(), c.min);
        EXPECT_EQ(bounds.getMax(), c.max);
        EXPECT_EQ(center, (c.min + c.max) / 2);
    }
}
