// How each vertex shape walks its list into triangles and segments: 1, 2 and N primitives,
// their order, winding and details; and concave faces, which are not fans.

#include <string>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

using TopologyTest = ShapeTest;

TEST_F(TopologyTest, PrimitivesFollowTheListInOrder) {
    const struct {
        Kind kind;
        int numCoords;
        std::vector<int32_t> values;
        const char* primitives;
    } cases[] = {
        {Kind::INDEXED_FACES, 10, {0, 1, 2}, "0/0:0 1 2"},  // the last face needs no -1
        // A clockwise triangle keeps its order.
        {Kind::INDEXED_FACES, 10, {0, 1, 2, -1, 2, 1, 3, -1}, "0/0:0 1 2, 1/1:2 1 3"},
        // Convex faces are fans from their first vertex, wherever the face starts.
        {Kind::INDEXED_FACES, 10, {5, 6, 7, 4}, "0/0:5 6 7 (5 6 7 4), 0/0:5 7 4 (5 6 7 4)"},
        {Kind::INDEXED_FACES,
         10,
         {0, 1, 4, 6, 8, -1, 1, 4, 6, -1, 2, 3, 5},
         "0/0:0 1 4 (0 1 4 6 8), 0/0:0 4 6 (0 1 4 6 8), 0/0:0 6 8 (0 1 4 6 8), 1/1:1 4 6, "
         "2/2:2 3 5"},
        {Kind::FACES, 3, {-1}, "0/0:0 1 2"},
        {Kind::FACES, 7, {3, 4}, "0/0:0 1 2, 1/1:3 4 5 (3 4 5 6), 1/1:3 5 6 (3 4 5 6)"},
        {Kind::FACES, 6, {3, -1}, "0/0:0 1 2, 1/1:3 4 5"},
        // Every second triangle of a strip swaps its first two corners to keep the winding.
        {Kind::STRIPS, 7, {-1}, "0/0:0 1 2, 1/0:2 1 3, 2/0:2 3 4, 3/0:4 3 5, 4/0:4 5 6"},
        {Kind::STRIPS, 8, {4, 4}, "0/0:0 1 2, 1/0:2 1 3, 2/1:4 5 6, 3/1:6 5 7"},
        // Segments are numbered across the whole shape.
        {Kind::LINES, 5, {3, 2}, "0/0:0 1, 0/1:1 2, 1/2:3 4"},
        {Kind::LINES, 4, {-1}, "0/0:0 1, 0/1:1 2, 0/2:2 3"},
        {Kind::INDEXED_LINES,
         4,
         {0, 1, 2, 3, 0, -1, 2, 0},
         "0/0:0 1, 0/1:1 2, 0/2:2 3, 0/3:3 0, 1/4:2 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.primitives);
        root->removeAllChildren();
        const std::vector<SbVec3f> points = arc(c.numCoords);
        coordinates(points);
        shape(c.kind, c.values);
        DebugErrorRecorder recorder;
        EXPECT_EQ(primitives(points), c.primitives);
        EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
        // Without normals given, each triangle gets its face's, by the face's own order, and
        // segments the unlit +z.
        const Generated generated = generate();
        for (const Primitive& t : generated.triangles) {
            EXPECT_TRUE(t.oneDetail);
            SbVec3f facing = t.geometricNormal();
            facing.normalize();
            for (const Vertex& v : t.v) EXPECT_TRUE(v.normal.equals(facing, 1e-6f));
        }
        for (const Primitive& s : generated.segments)
            for (const Vertex& v : s.v) EXPECT_EQ(v.normal, SbVec3f(0, 0, 1));
    }
}

namespace {

// An L of arm width 1 and arm length `arm`: 0 (0,0) 1 (arm,0) 2 (arm,1) 3 (1,1) 4 (1,arm)
// 5 (0,arm); vertex 3 is the reflex corner. Its area is 2 * arm - 1.
std::vector<SbVec3f> lShape(float arm) {
    return {SbVec3f(0, 0, 0), SbVec3f(arm, 0, 0), SbVec3f(arm, 1, 0),
            SbVec3f(1, 1, 0), SbVec3f(1, arm, 0), SbVec3f(0, arm, 0)};
}

}  // namespace

// With arm 2 the reflex corner lies on the diagonal between the arms' ends, where the
// tessellator may cut a triangle of zero area; with arm 3 every triangle has area. Declared
// clockwise, the reversed L keeps its clockwise triangles, and its front still faces +z.
TEST_F(TopologyTest, ConcaveFacesAreCutIntoTrianglesCoveringThem) {
    for (const int ordering : {SoShapeHints::COUNTERCLOCKWISE, SoShapeHints::CLOCKWISE}) {
        for (const float arm : {2.0f, 3.0f}) {
            SCOPED_TRACE(arm);
            root->removeAllChildren();
            const std::vector<SbVec3f> corners = lShape(arm);
            coordinates(corners);
            hints(ordering, 0.0f);
            const bool clockwise = ordering == SoShapeHints::CLOCKWISE;
            shape(Kind::INDEXED_FACES, clockwise ? std::vector<int32_t>{5, 4, 3, 2, 1, 0}
                                                 : std::vector<int32_t>{0, 1, 2, 3, 4, 5, -1});
            const std::vector<Primitive> result = triangles();
            ASSERT_EQ(result.size(), 4u);
            float area = 0;
            for (const Primitive& t : result) {
                // None turned over, so the areas add up to the L's only if none overlap.
                const float signedArea = t.geometricNormal()[2] / (clockwise ? -2 : 2);
                EXPECT_TRUE(arm == 2.0f ? signedArea >= 0.0f : signedArea > 0.0f) << signedArea;
                area += signedArea;
                EXPECT_EQ(t.face, 0);
                ASSERT_EQ(t.points.size(), 6u);
                for (const Vertex& v : t.v) EXPECT_EQ(v.normal, SbVec3f(0, 0, 1));
                // A fan from vertex 0 would cover the notch beyond the reflex corner (1, 1).
                const SbVec3f c = (t.v[0].point + t.v[1].point + t.v[2].point) / 3.0f;
                EXPECT_FALSE(c[0] > 1.0f && c[1] > 1.0f) << c[0] << " " << c[1];
            }
            EXPECT_NEAR(area, 2 * arm - 1, 1e-5f);
            EXPECT_EQ(primitives(corners).find('?'), std::string::npos);  // corners only
        }
    }
}
