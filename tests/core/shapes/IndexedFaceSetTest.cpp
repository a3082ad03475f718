// Indexed face sets: how coordIndex becomes triangles, their order, winding and details.

#include <Tessara/nodes/SoIndexedFaceSet.h>

#include <array>
#include <string>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

namespace {

// Corners of a unit square and a fifth point: 0 (0,0) 1 (1,0) 2 (0,1) 3 (1,1) 4 (2,0.5).
const std::initializer_list<SbVec3f> kSquare = {
    SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(0, 1, 0), SbVec3f(1, 1, 0), SbVec3f(2, 0.5f, 0)};

struct TopologyCase {
    std::string name;
    std::vector<int32_t> coordIndex;
    std::vector<std::array<int, 4>> triangles;  // coordinate indices and face index
    std::vector<std::vector<int>> faces;        // the detail points of each face
};

class IndexedFaceSetTopology : public ShapeTest,
                               public ::testing::WithParamInterface<TopologyCase> {};

std::vector<SbVec3f> squarePoints() {
    return std::vector<SbVec3f>(kSquare);
}

}  // namespace

TEST_P(IndexedFaceSetTopology, TrianglesFollowTheFacesInOrder) {
    const TopologyCase& c = GetParam();
    coordinates(kSquare);
    auto* shape = add(new SoIndexedFaceSet);
    shape->coordIndex.setValues(0, static_cast<int>(c.coordIndex.size()), c.coordIndex.data());
    DebugErrorRecorder recorder;
    const std::vector<Triangle> result = triangles();
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    ASSERT_EQ(result.size(), c.triangles.size());
    const std::vector<SbVec3f> points = squarePoints();
    for (size_t t = 0; t < result.size(); ++t) {
        SCOPED_TRACE("triangle " + std::to_string(t));
        for (int j = 0; j < 3; ++j) EXPECT_EQ(result[t].v[j].point, points[c.triangles[t][j]]);
        const int face = c.triangles[t][3];
        EXPECT_EQ(result[t].face, face);
        EXPECT_EQ(result[t].part, face);  // a face set's parts are its faces
        EXPECT_TRUE(result[t].sameDetailForAll);
        ASSERT_EQ(result[t].points.size(), c.faces[face].size());
        for (size_t i = 0; i < c.faces[face].size(); ++i)
            EXPECT_EQ(result[t].points[i].coord, c.faces[face][i]);
        for (const Vertex& v : result[t].v) EXPECT_EQ(v.texture, SbVec4f(0, 0, 0, 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faces, IndexedFaceSetTopology,
    ::testing::Values(
        TopologyCase{"OneTriangle", {0, 1, 2, -1}, {{0, 1, 2, 0}}, {{0, 1, 2}}},
        TopologyCase{"LastFaceWithoutSeparator", {0, 1, 2}, {{0, 1, 2, 0}}, {{0, 1, 2}}},
        TopologyCase{"TwoTriangles",
                     {0, 1, 2, -1, 2, 1, 3, -1},
                     {{0, 1, 2, 0}, {2, 1, 3, 1}},
                     {{0, 1, 2}, {2, 1, 3}}},
        TopologyCase{"QuadIsAFanFromItsFirstVertex",
                     {0, 1, 3, 2, -1},
                     {{0, 1, 3, 0}, {0, 3, 2, 0}},
                     {{0, 1, 3, 2}}},
        TopologyCase{"FanStartsWherever the face starts",
                     {3, 2, 0, 1},
                     {{3, 2, 0, 0}, {3, 0, 1, 0}},
                     {{3, 2, 0, 1}}},
        TopologyCase{"PentagonThenTriangle",
                     {0, 1, 4, 3, 2, -1, 1, 4, 3, -1},
                     {{0, 1, 4, 0}, {0, 4, 3, 0}, {0, 3, 2, 0}, {1, 4, 3, 1}},
                     {{0, 1, 4, 3, 2}, {1, 4, 3}}},
        TopologyCase{"ClockwiseTriangleKeepsItsOrder", {0, 2, 1, -1}, {{0, 2, 1, 0}}, {{0, 2, 1}}}),
    [](const ::testing::TestParamInfo<TopologyCase>& info) {
        std::string name;
        for (char ch : info.param.name)
            if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
        return name;
    });

namespace {

using IndexedFaceSetTest = ShapeTest;

// An L of arm width 1 and arm length `arm`: 0 (0,0) 1 (arm,0) 2 (arm,1) 3 (1,1) 4 (1,arm)
// 5 (0,arm); vertex 3 is the reflex corner. Its area is 2 * arm - 1.
std::vector<SbVec3f> lShape(float arm) {
    return {SbVec3f(0, 0, 0), SbVec3f(arm, 0, 0), SbVec3f(arm, 1, 0),
            SbVec3f(1, 1, 0), SbVec3f(1, arm, 0), SbVec3f(0, arm, 0)};
}

bool isCorner(const std::vector<SbVec3f>& corners, const SbVec3f& p) {
    for (const SbVec3f& corner : corners)
        if (p == corner) return true;
    return false;
}

class ConcaveFace : public ShapeTest, public ::testing::WithParamInterface<float> {};

}  // namespace

TEST_P(ConcaveFace, LShapedHexagonGivesFourTrianglesCoveringItsArea) {
    const float arm = GetParam();
    const std::vector<SbVec3f> corners = lShape(arm);
    add(new SoCoordinate3)->point.setValues(0, 6, corners.data());
    add(new SoIndexedFaceSet)->coordIndex.setValues({0, 1, 2, 3, 4, 5, -1});
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 4u);
    float area = 0;
    for (const Triangle& t : result) {
        // None turned over, so the signed areas add up to the L's only if none overlap.
        EXPECT_GE(t.signedAreaXY(), 0.0f);
        area += t.signedAreaXY();
        for (const Vertex& v : t.v) {
            EXPECT_TRUE(isCorner(corners, v.point));
            EXPECT_EQ(v.normal, SbVec3f(0, 0, 1));
        }
        EXPECT_EQ(t.face, 0);
        ASSERT_EQ(t.points.size(), 6u);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(t.points[i].coord, i);
        // A fan from vertex 0 would cover the notch beyond the reflex corner (1, 1).
        const SbVec3f c = (t.v[0].point + t.v[1].point + t.v[2].point) / 3.0f;
        EXPECT_FALSE(c[0] > 1.0f && c[1] > 1.0f) << c[0] << " " << c[1];
    }
    EXPECT_NEAR(area, 2 * arm - 1, 1e-5f);
}

// With arm 2 the reflex corner lies on the diagonal between the arms' ends, where the
// tessellator may cut a triangle of zero area; with arm 3 every triangle has area.
INSTANTIATE_TEST_SUITE_P(Arms, ConcaveFace, ::testing::Values(2.0f, 3.0f));

TEST_F(IndexedFaceSetTest, ConcaveHexagonWithLongArmsHasNoEmptyTriangle) {
    const std::vector<SbVec3f> corners = lShape(3.0f);
    add(new SoCoordinate3)->point.setValues(0, 6, corners.data());
    add(new SoIndexedFaceSet)->coordIndex.setValues({0, 1, 2, 3, 4, 5});
    for (const Triangle& t : triangles()) EXPECT_GT(t.signedAreaXY(), 0.0f);
}

TEST_F(IndexedFaceSetTest, ConcaveFaceWithClockwiseHintKeepsItsWinding) {
    const std::vector<SbVec3f> corners = lShape(3.0f);
    add(new SoCoordinate3)->point.setValues(0, 6, corners.data());
    hints(SoShapeHints::CLOCKWISE, 0.0f);
    add(new SoIndexedFaceSet)->coordIndex.setValues({5, 4, 3, 2, 1, 0});
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 4u);
    float area = 0;
    for (const Triangle& t : result) {
        area += t.signedAreaXY();
        EXPECT_LT(t.signedAreaXY(), 0.0f);
        // Clockwise seen from +z and declared clockwise: the front faces +z.
        for (const Vertex& v : t.v) EXPECT_EQ(v.normal, SbVec3f(0, 0, 1));
    }
    EXPECT_NEAR(area, -5.0f, 1e-5f);
}

TEST_F(IndexedFaceSetTest, EmptyCoordIndexGivesNothingAndSaysNothing) {
    coordinates(kSquare);
    add(new SoIndexedFaceSet);
    DebugErrorRecorder recorder;
    EXPECT_TRUE(triangles().empty());
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

TEST_F(IndexedFaceSetTest, FieldsAreRegisteredInFileOrderAndStartEmpty) {
    auto* shape = new SoIndexedFaceSet;
    shape->ref();
    const char* names[] = {"coordIndex", "materialIndex", "normalIndex", "textureCoordIndex"};
    ASSERT_EQ(shape->getNumFields(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(shape->getFieldNameAt(i), names[i]);
        EXPECT_TRUE(shape->getFieldAt(i)->isDefault());
    }
    EXPECT_EQ(shape->coordIndex.getNum(), 0);
    EXPECT_EQ(SoType::fromName("SoIndexedFaceSet"), SoIndexedFaceSet::getClassTypeId());
    EXPECT_TRUE(shape->isOfType(SoShape::getClassTypeId()));
    shape->unref();
}

TEST_F(IndexedFaceSetTest, ManyTrianglesComeOutInFaceOrder) {
    // A strip of 50 quads as 100 triangles: face k must come out k-th with its own corners.
    std::vector<SbVec3f> points;
    for (int i = 0; i <= 50; ++i) {
        points.emplace_back(static_cast<float>(i), 0, 0);
        points.emplace_back(static_cast<float>(i), 1, 0);
    }
    auto* coords = add(new SoCoordinate3);
    coords->point.setValues(0, static_cast<int>(points.size()), points.data());
    std::vector<int32_t> indices;
    for (int i = 0; i < 50; ++i) {
        const int a = 2 * i, b = 2 * i + 2, c = 2 * i + 3, d = 2 * i + 1;
        indices.insert(indices.end(), {a, b, c, -1, a, c, d, -1});
    }
    auto* shape = add(new SoIndexedFaceSet);
    shape->coordIndex.setValues(0, static_cast<int>(indices.size()), indices.data());
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 100u);
    for (int k = 0; k < 100; ++k) {
        EXPECT_EQ(result[k].face, k);
        for (int j = 0; j < 3; ++j) EXPECT_EQ(result[k].points[j].coord, indices[4 * k + j]);
        EXPECT_NEAR(result[k].signedAreaXY(), 0.5f, 1e-6f);
    }
}
