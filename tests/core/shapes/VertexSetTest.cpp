// Face sets, triangle strip sets and line sets: how numVertices walks the coordinates, and
// the primitives, order, winding and details that come out.

#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoIndexedLineSet.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoTriangleStripSet.h>

#include <array>
#include <cmath>
#include <string>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

namespace {

// Points on a zigzag: even ones at y = 1, odd ones at y = 0, x = i / 2. A strip over them
// starts counterclockwise.
std::vector<SbVec3f> zigzag(int n) {
    std::vector<SbVec3f> points;
    for (int i = 0; i < n; ++i)
        points.emplace_back(static_cast<float>(i / 2), i % 2 == 0 ? 1.0f : 0.0f, 0.0f);
    return points;
}

struct RunCase {
    std::string name;
    std::vector<int32_t> numVertices;
    int numCoords;
    std::vector<std::array<int, 5>> triangles;  // coordinates, face, part
};

class StripSetRuns : public ShapeTest, public ::testing::WithParamInterface<RunCase> {};
class FaceSetRuns : public ShapeTest, public ::testing::WithParamInterface<RunCase> {};

std::string runName(const ::testing::TestParamInfo<RunCase>& info) {
    return info.param.name;
}

// Points on an arc, counterclockwise: any run of consecutive ones is a convex polygon.
std::vector<SbVec3f> arc(int n) {
    std::vector<SbVec3f> points;
    for (int i = 0; i < n; ++i) points.emplace_back(std::cos(0.3f * i), std::sin(0.3f * i), 0.0f);
    return points;
}

void checkRuns(const RunCase& c, const std::vector<SbVec3f>& points,
               const std::vector<Triangle>& result) {
    ASSERT_EQ(result.size(), c.triangles.size());
    for (size_t t = 0; t < result.size(); ++t) {
        SCOPED_TRACE("triangle " + std::to_string(t));
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(result[t].v[j].point, points[c.triangles[t][j]]);
            // The face detail lists the triangle's corners among the face's.
            bool listed = false;
            for (const PointIndices& p : result[t].points) listed |= p.coord == c.triangles[t][j];
            EXPECT_TRUE(listed) << c.triangles[t][j];
        }
        EXPECT_EQ(result[t].face, c.triangles[t][3]);
        EXPECT_EQ(result[t].part, c.triangles[t][4]);
    }
}

}  // namespace

TEST_P(StripSetRuns, EveryTriangleKeepsTheStripsWinding) {
    const RunCase& c = GetParam();
    const std::vector<SbVec3f> points = zigzag(c.numCoords);
    add(new SoCoordinate3)->point.setValues(0, c.numCoords, points.data());
    add(new SoTriangleStripSet)
        ->numVertices.setValues(0, static_cast<int>(c.numVertices.size()), c.numVertices.data());
    DebugErrorRecorder recorder;
    const std::vector<Triangle> result = triangles();
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    checkRuns(c, points, result);
    for (const Triangle& t : result) EXPECT_NEAR(t.signedAreaXY(), 0.5f, 1e-6f);
}

INSTANTIATE_TEST_SUITE_P(
    Strips, StripSetRuns,
    ::testing::Values(
        RunCase{"OneTriangle", {-1}, 3, {{0, 1, 2, 0, 0}}},
        RunCase{"TwoTriangles", {4}, 4, {{0, 1, 2, 0, 0}, {2, 1, 3, 1, 0}}},
        RunCase{
            "FiveTrianglesAllRemaining",
            {-1},
            7,
            {{0, 1, 2, 0, 0}, {2, 1, 3, 1, 0}, {2, 3, 4, 2, 0}, {4, 3, 5, 3, 0}, {4, 5, 6, 4, 0}}},
        // The second strip starts on an even coordinate again, so it too starts
        // counterclockwise.
        RunCase{"TwoStrips",
                {4, 4},
                8,
                {{0, 1, 2, 0, 0}, {2, 1, 3, 1, 0}, {4, 5, 6, 2, 1}, {6, 5, 7, 3, 1}}}),
    runName);

TEST_P(FaceSetRuns, FacesTakeConsecutiveCoordinates) {
    const RunCase& c = GetParam();
    const std::vector<SbVec3f> points = arc(c.numCoords);
    add(new SoCoordinate3)->point.setValues(0, c.numCoords, points.data());
    add(new SoFaceSet)
        ->numVertices.setValues(0, static_cast<int>(c.numVertices.size()), c.numVertices.data());
    DebugErrorRecorder recorder;
    const std::vector<Triangle> result = triangles();
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    checkRuns(c, points, result);
    for (const Triangle& t : result) EXPECT_GT(t.signedAreaXY(), 0.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Faces, FaceSetRuns,
    ::testing::Values(
        RunCase{"DefaultTakesAll", {-1}, 3, {{0, 1, 2, 0, 0}}},
        RunCase{"TriangleThenQuad", {3, 4}, 7, {{0, 1, 2, 0, 0}, {3, 4, 5, 1, 1}, {3, 5, 6, 1, 1}}},
        RunCase{"ExplicitThenRemaining", {3, -1}, 6, {{0, 1, 2, 0, 0}, {3, 4, 5, 1, 1}}}),
    runName);

namespace {

using VertexSetTest = ShapeTest;

}  // namespace

TEST_F(VertexSetTest, FaceSetDetailListsTheWholeFace) {
    const std::vector<SbVec3f> points = zigzag(7);
    add(new SoCoordinate3)->point.setValues(0, 7, points.data());
    add(new SoFaceSet)->numVertices.setValues({3, 4});
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 3u);
    ASSERT_EQ(result[2].points.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(result[2].points[i].coord, 3 + i);
}

TEST_F(VertexSetTest, FaceSetClampsACountBeyondTheCoordinates) {
    const std::vector<SbVec3f> points = zigzag(7);
    add(new SoCoordinate3)->point.setValues(0, 7, points.data());
    add(new SoFaceSet)->numVertices.setValues({3, 10});
    DebugErrorRecorder recorder;
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_TRUE(recorder.contains("SoFaceSet", "face 1 asks for 10")) << recorder.dump();
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 1u);
    ASSERT_EQ(result.size(), 3u);  // the second face keeps the 4 coordinates there are
    EXPECT_EQ(result[2].points.size(), 4u);
}

TEST_F(VertexSetTest, StripSetWithTooFewVerticesIsSkippedAndTheNextStillComes) {
    const std::vector<SbVec3f> points = zigzag(6);
    add(new SoCoordinate3)->point.setValues(0, 6, points.data());
    add(new SoTriangleStripSet)->numVertices.setValues({2, 4});
    DebugErrorRecorder recorder;
    const std::vector<Triangle> result = triangles();
    EXPECT_EQ(recorder.size(), 1u);
    EXPECT_TRUE(recorder.contains("SoTriangleStripSet", "strip 0")) << recorder.dump();
    ASSERT_EQ(result.size(), 2u);
    // The skipped strip still used up coordinates 0 and 1.
    EXPECT_EQ(result[0].points[0].coord, 2);
    EXPECT_EQ(result[0].part, 1);
    EXPECT_EQ(result[0].face, 0);
}

TEST_F(VertexSetTest, LineSetEmitsConnectedSegmentsWithDetails) {
    coordinates(
        {SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(1, 1, 0), SbVec3f(5, 0, 0), SbVec3f(5, 2, 0)});
    add(new SoLineSet)->numVertices.setValues({3, 2});
    const std::vector<Segment> result = segments();
    ASSERT_EQ(result.size(), 3u);
    const int ends[3][2] = {{0, 1}, {1, 2}, {3, 4}};
    const int lines[3] = {0, 0, 1};
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(result[s].p0.coord, ends[s][0]);
        EXPECT_EQ(result[s].p1.coord, ends[s][1]);
        EXPECT_EQ(result[s].line, lines[s]);
        EXPECT_EQ(result[s].part, s);  // segments are numbered across the shape
    }
    EXPECT_EQ(result[0].v[1].point, result[1].v[0].point);  // a polyline stays connected
    EXPECT_EQ(result[2].v[0].point, SbVec3f(5, 0, 0));
    EXPECT_EQ(result[2].v[1].point, SbVec3f(5, 2, 0));
}

TEST_F(VertexSetTest, LineSetDefaultTakesAllCoordinates) {
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(2, 0, 0), SbVec3f(3, 0, 0)});
    add(new SoLineSet);
    const std::vector<Segment> result = segments();
    ASSERT_EQ(result.size(), 3u);
    EXPECT_EQ(result[2].v[1].point, SbVec3f(3, 0, 0));
    for (const Segment& s : result) EXPECT_EQ(s.line, 0);
}

TEST_F(VertexSetTest, IndexedLineSetFollowsItsIndices) {
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(1, 1, 0), SbVec3f(0, 1, 0)});
    add(new SoIndexedLineSet)->coordIndex.setValues({0, 1, 2, 3, 0, -1, 2, 0});
    const std::vector<Segment> result = segments();
    ASSERT_EQ(result.size(), 5u);
    const int ends[5][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {2, 0}};
    for (int s = 0; s < 5; ++s) {
        EXPECT_EQ(result[s].p0.coord, ends[s][0]);
        EXPECT_EQ(result[s].p1.coord, ends[s][1]);
        EXPECT_EQ(result[s].line, s < 4 ? 0 : 1);
        EXPECT_EQ(result[s].part, s);
    }
}

TEST_F(VertexSetTest, LineSetsDoNotMakeTriangles) {
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(1, 1, 0)});
    add(new SoLineSet);
    add(new SoIndexedLineSet)->coordIndex.setValues({0, 1, 2});
    EXPECT_TRUE(triangles().empty());
    EXPECT_EQ(segments().size(), 4u);
}

TEST_F(VertexSetTest, FieldsAndDefaults) {
    struct Expect {
        SoFieldContainer* node;
        std::vector<std::string> names;
    };
    auto* faces = new SoFaceSet;
    auto* strips = new SoTriangleStripSet;
    auto* lines = new SoLineSet;
    auto* indexedLines = new SoIndexedLineSet;
    for (SoNode* n : std::vector<SoNode*>{faces, strips, lines, indexedLines}) n->ref();
    const std::vector<Expect> expects = {
        {faces, {"numVertices"}},
        {strips, {"numVertices"}},
        {lines, {"numVertices"}},
        {indexedLines, {"coordIndex", "materialIndex", "normalIndex"}}};
    for (const Expect& e : expects) {
        ASSERT_EQ(e.node->getNumFields(), static_cast<int>(e.names.size()));
        for (size_t i = 0; i < e.names.size(); ++i)
            EXPECT_EQ(e.node->getFieldNameAt(static_cast<int>(i)), e.names[i]);
    }
    for (const SoMFInt32* counts :
         {&faces->numVertices, &strips->numVertices, &lines->numVertices}) {
        ASSERT_EQ(counts->getNum(), 1);
        EXPECT_EQ((*counts)[0], -1);
        EXPECT_TRUE(counts->isDefault());
    }
    for (SoNode* n : std::vector<SoNode*>{faces, strips, lines, indexedLines}) n->unref();
}
