// How each vertex shape walks its list into triangles and segments: 1, 2 and N primitives,
// their order, winding and details; concave faces, which are not fans; and bad input:
// out-of-range indices, short faces, bad counts and NaN coordinates.

#include <limits>
#include <sstream>
#include <string>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

using TopologyTest = ShapeTest;

TEST_F(TopologyTest, ListsWalkIntoPrimitivesInOrderAndBadPartsAreSkipped) {
    const struct {
        Kind kind;
        int numCoords;
        std::vector<int32_t> values;
        const char* primitives;
        const char* warning = "";  // words of the warning for a bad part; none when empty
        std::vector<int32_t> materialIndex = {};  // bound per face when given
        std::vector<int32_t> normalIndex = {};    // bound per vertex when given
    } cases[] = {
        {Kind::INDEXED_FACES, 10, {0, 1, 2}, "0/0:0 1 2"},  // the last face needs no -1
        {Kind::INDEXED_FACES, 10, {0, 1, 0}, "0/0:0 1 0"},  // no area: a zero normal, not NaN
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
        // Bad parts are skipped with one warning, and everything else still comes out.
        {Kind::INDEXED_FACES,
         4,
         {0, 1, 2, -1, 0, 1, 9, -1, 0, 2, 3, -1},
         "0/0:0 1 2, 2/2:0 2 3",
         "SoIndexedFaceSet 1 9"},
        {Kind::INDEXED_FACES,
         4,
         {0, 1, 2, -1, 0, -7, 2, -1, 0, 2, 3},
         "0/0:0 1 2, 2/2:0 2 3",
         "1 -7"},
        {Kind::INDEXED_FACES, 4, {0, 1, -1, 0, 2, 3}, "1/1:0 2 3", "0 2"},
        {Kind::INDEXED_FACES, 4, {0, 1, 2, -1, 0, 2, 3}, "1/1:0 2 3", "0 material", {5, 1}},
        {Kind::INDEXED_FACES, 4, {0, 1, 2, -1, 0, 2, 3}, "0/0:0 1 2", "1 material", {1}},
        {Kind::INDEXED_FACES,
         4,
         {0, 1, 2, -1, 0, 2, 3},
         "0/0:0 1 2",
         "1 normal",
         {},
         {0, 1, 0, -1, 0, 4, 0}},
        {Kind::INDEXED_FACES, 4, {0, 1, 9, -1, 0, 1, 2, -1, 8, 2, 3, -1, 0, 1}, "1/1:0 1 2", "3"},
        // Segment numbers stay tied to the fields: the skipped line had one segment.
        {Kind::INDEXED_LINES,
         4,
         {0, 9, -1, 1, 2, 3, -1, 3, -1},
         "1/1:1 2, 1/2:2 3",
         "SoIndexedLineSet 0 9 2"},
        {Kind::LINES, 4, {-4, 2, 5}, "1/0:0 1, 2/1:2 3", "SoLineSet 0 -4"},
        {Kind::FACES, 2, {-1}, "", "SoFaceSet 0 2"},
        {Kind::FACES,
         7,
         {3, 10},
         "0/0:0 1 2, 1/1:3 4 5 (3 4 5 6), 1/1:3 5 6 (3 4 5 6)",
         "SoFaceSet 1 10"},
        // The skipped strip still used up coordinates 0 and 1.
        {Kind::STRIPS, 6, {2, 4}, "0/1:2 3 4, 1/1:4 3 5", "SoTriangleStripSet 0"},
        // Empty lists give nothing and say nothing.
        {Kind::FACES, 4, {}, ""},
        {Kind::STRIPS, 4, {}, ""},
        {Kind::LINES, 4, {}, ""},
        {Kind::INDEXED_FACES, 4, {}, ""},
        {Kind::INDEXED_LINES, 4, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.values));
        root->removeAllChildren();
        const std::vector<SbVec3f> points = arc(c.numCoords);
        coordinates(points);
        materials(2);
        if (!c.materialIndex.empty()) materialBinding(SoMaterialBinding::PER_FACE_INDEXED);
        if (!c.normalIndex.empty()) {
            normals({SbVec3f(0, 0, 1), SbVec3f(0, 0, 1)});
            normalBinding(SoNormalBinding::PER_VERTEX_INDEXED);
        }
        SoShape* node = shape(c.kind, c.values);
        const auto setList = [node](const char* name, const std::vector<int32_t>& list) {
            if (!list.empty())
                static_cast<SoMFInt32*>(node->getField(name))
                    ->setValues(0, static_cast<int>(list.size()), list.data());
        };
        setList("materialIndex", c.materialIndex);
        setList("normalIndex", c.normalIndex);
        DebugErrorRecorder recorder;
        EXPECT_EQ(primitives(points), c.primitives);
        // Without normals given, each triangle gets its face's, by the face's own order (zero
        // for a face without area), and segments the unlit +z.
        const Generated generated = generate();
        for (const Primitive& t : generated.triangles) {
            EXPECT_TRUE(t.oneDetail);
            SbVec3f facing = t.geometricNormal();
            facing.normalize();
            for (const Vertex& v : t.v) EXPECT_TRUE(v.normal.equals(facing, 1e-6f));
        }
        for (const Primitive& s : generated.segments)
            for (const Vertex& v : s.v) EXPECT_EQ(v.normal, SbVec3f(0, 0, 1));
        const size_t warnings = std::string(c.warning).empty() ? 0u : 2u;  // one per traversal
        EXPECT_EQ(recorder.size(), warnings) << recorder.dump();
        EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), warnings);
        std::istringstream words(c.warning);
        for (std::string word; words >> word;)
            EXPECT_TRUE(recorder.contains("", word)) << word << "\n" << recorder.dump();
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

// A bow tie's edges cross at (0.8, 0.8): both halves get the crossing as a corner.
TEST_F(TopologyTest, SelfCrossingFacesGetTheirCrossingAsACorner) {
    coordinates({SbVec3f(0, 0, 0), SbVec3f(4, 4, 0), SbVec3f(4, 0, 0), SbVec3f(0, 1, 0)});
    shape(Kind::INDEXED_FACES, {0, 1, 2, 3, -1});
    const std::vector<Primitive> result = triangles();
    ASSERT_EQ(result.size(), 2u);
    for (const Primitive& t : result) {
        int crossings = 0;
        for (const Vertex& v : t.v)
            crossings += (v.point - SbVec3f(0.8f, 0.8f, 0)).length() < 1e-6f;
        EXPECT_EQ(crossings, 1);
    }
}

TEST_F(TopologyTest, NaNCoordinatesPassThroughWithoutHarm) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(nan, 1, 0), SbVec3f(0, 1, 0),
                 SbVec3f(2, 2, nan)});
    auto* shapeHints = hints(SoShapeHints::COUNTERCLOCKWISE, 0.0f);
    shape(Kind::INDEXED_FACES, {0, 1, 2, 3, -1, 0, 1, 3, -1, 1, 4, 3});
    shape(Kind::FACES, {-1});
    shape(Kind::STRIPS, {-1});
    for (float crease : {0.0f, 0.7f, 4.0f}) {
        shapeHints->creaseAngle.setValue(crease);
        DebugErrorRecorder recorder;
        const std::vector<Primitive> result = triangles();
        EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 0u) << recorder.dump();
        // The face without NaN still has its plain normal.
        ASSERT_GE(result.size(), 4u);
        EXPECT_EQ(result[2].face, 1);
        EXPECT_TRUE(crease > 0.0f || result[2].v[0].normal == SbVec3f(0, 0, 1));
        EXPECT_TRUE(std::isnan(result[0].v[2].point[0]));
    }
}
