// Bad input: out-of-range indices, short faces, bad counts and NaN coordinates are reported
// once per traversal and skipped, and everything else still comes out.

#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoIndexedLineSet.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoTriangleStripSet.h>

#include <limits>
#include <string>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

namespace {

const std::initializer_list<SbVec3f> kQuad = {SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(1, 1, 0),
                                              SbVec3f(0, 1, 0)};

std::vector<int> facesOf(const std::vector<Triangle>& result) {
    std::vector<int> faces;
    for (const Triangle& t : result) faces.push_back(t.face);
    return faces;
}

struct BadFaceCase {
    std::string name;
    std::vector<int32_t> coordIndex;
    std::vector<int32_t> materialIndex;
    std::vector<int32_t> normalIndex;
    std::vector<int> faces;  // faces that still come out, one entry per triangle
    std::string message;     // part of the one warning
};

class BadFaces : public ShapeTest, public ::testing::WithParamInterface<BadFaceCase> {};

}  // namespace

TEST_P(BadFaces, BadFaceIsSkippedWithOneWarning) {
    const BadFaceCase& c = GetParam();
    coordinates(kQuad);
    materials(2);
    normals({SbVec3f(0, 0, 1), SbVec3f(0, 0, 1)});
    if (!c.materialIndex.empty()) materialBinding(SoMaterialBinding::PER_FACE_INDEXED);
    if (!c.normalIndex.empty()) normalBinding(SoNormalBinding::PER_VERTEX_INDEXED);
    auto* shape = add(new SoIndexedFaceSet);
    shape->coordIndex.setValues(0, static_cast<int>(c.coordIndex.size()), c.coordIndex.data());
    shape->materialIndex.setValues(0, static_cast<int>(c.materialIndex.size()),
                                   c.materialIndex.data());
    shape->normalIndex.setValues(0, static_cast<int>(c.normalIndex.size()), c.normalIndex.data());
    DebugErrorRecorder recorder;
    EXPECT_EQ(facesOf(triangles()), c.faces);
    ASSERT_EQ(recorder.size(), 1u) << recorder.dump();
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 1u);
    EXPECT_TRUE(recorder.contains("", "SoIndexedFaceSet")) << recorder.dump();
    EXPECT_TRUE(recorder.contains("", c.message)) << recorder.dump();
}

INSTANTIATE_TEST_SUITE_P(
    IndexedFaceSet, BadFaces,
    ::testing::Values(
        BadFaceCase{"CoordinateTooLarge",
                    {0, 1, 2, -1, 0, 1, 9, -1, 0, 2, 3, -1},
                    {},
                    {},
                    {0, 2},
                    "face 1: coordinate index 9"},
        BadFaceCase{"NegativeCoordinate",
                    {0, 1, 2, -1, 0, -7, 2, -1, 0, 2, 3},
                    {},
                    {},
                    {0, 2},
                    "face 1: coordinate index -7"},
        BadFaceCase{"TwoVertexFace", {0, 1, -1, 0, 2, 3}, {}, {}, {1}, "face 0 has 2 vertices"},
        BadFaceCase{"EmptyFaceBetweenSeparators",
                    {0, 1, 2, -1, -1, 0, 2, 3},
                    {},
                    {},
                    {0, 2},
                    "face 1 has 0 vertices"},
        BadFaceCase{"MaterialIndexTooLarge",
                    {0, 1, 2, -1, 0, 2, 3},
                    {5, 1},
                    {},
                    {1},
                    "face 0: material index"},
        BadFaceCase{
            "MaterialListTooShort", {0, 1, 2, -1, 0, 2, 3}, {1}, {}, {0}, "face 1: material index"},
        BadFaceCase{"NormalIndexTooLarge",
                    {0, 1, 2, -1, 0, 2, 3},
                    {},
                    {0, 1, 0, -1, 0, 4, 0},
                    {0},
                    "face 1: normal index"},
        BadFaceCase{"SeveralBadFacesStillOneWarning",
                    {0, 1, 9, -1, 0, 1, 2, -1, 8, 2, 3, -1, 0, 1},
                    {},
                    {},
                    {1},
                    "3 problems"}),
    [](const ::testing::TestParamInfo<BadFaceCase>& info) { return info.param.name; });

namespace {

using BadInputTest = ShapeTest;

}  // namespace

TEST_F(BadInputTest, EveryTraversalReportsAgain) {
    coordinates(kQuad);
    add(new SoIndexedFaceSet)->coordIndex.setValues({0, 1, 5});
    DebugErrorRecorder recorder;
    triangles();
    triangles();
    EXPECT_EQ(recorder.size(), 2u);
}

TEST_F(BadInputTest, LineWithOneVertexOrBadIndexIsSkipped) {
    coordinates(kQuad);
    auto* lines = add(new SoIndexedLineSet);
    lines->coordIndex.setValues({0, 9, -1, 1, 2, 3, -1, 3, -1});
    DebugErrorRecorder recorder;
    const std::vector<Segment> result = segments();
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0].line, 1);
    // Segment numbers stay tied to the fields: the skipped line had one segment.
    EXPECT_EQ(result[0].part, 1);
    EXPECT_EQ(result[1].part, 2);
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_TRUE(recorder.contains("", "SoIndexedLineSet line 0: coordinate index 9"))
        << recorder.dump();
    EXPECT_TRUE(recorder.contains("", "2 problems")) << recorder.dump();
}

TEST_F(BadInputTest, NegativeCountsAreSkippedAndLongOnesClamped) {
    coordinates(kQuad);
    auto* lines = add(new SoLineSet);
    lines->numVertices.setValues({-4, 2, 5});
    DebugErrorRecorder recorder;
    const std::vector<Segment> result = segments();
    ASSERT_EQ(result.size(), 2u);  // 0-1, then 2-3 (clamped from 5)
    EXPECT_EQ(result[0].p0.coord, 0);
    EXPECT_EQ(result[1].p1.coord, 3);
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_TRUE(recorder.contains("", "SoLineSet line 0: vertex count -4")) << recorder.dump();
}

TEST_F(BadInputTest, EmptyFieldsGiveNothingAndSayNothing) {
    coordinates(kQuad);
    add(new SoFaceSet)->numVertices.setNum(0);
    add(new SoTriangleStripSet)->numVertices.setNum(0);
    add(new SoLineSet)->numVertices.setNum(0);
    add(new SoIndexedFaceSet);
    add(new SoIndexedLineSet);
    DebugErrorRecorder recorder;
    EXPECT_TRUE(triangles().empty());
    EXPECT_TRUE(segments().empty());
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

TEST_F(BadInputTest, NaNCoordinatesPassThroughWithoutHarm) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(nan, 1, 0), SbVec3f(0, 1, 0),
                 SbVec3f(2, 2, nan)});
    auto* shapeHints = hints(SoShapeHints::COUNTERCLOCKWISE, 0.0f);
    add(new SoIndexedFaceSet)->coordIndex.setValues({0, 1, 2, 3, -1, 0, 1, 3, -1, 1, 4, 3});
    add(new SoFaceSet);
    add(new SoTriangleStripSet);
    for (float crease : {0.0f, 0.7f, 4.0f}) {
        shapeHints->creaseAngle.setValue(crease);
        DebugErrorRecorder recorder;
        const std::vector<Triangle> result = triangles();
        EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 0u) << recorder.dump();
        // The face without NaN still has its plain normal.
        ASSERT_GE(result.size(), 4u);
        EXPECT_EQ(result[2].face, 1);
        if (crease == 0.0f) {
            EXPECT_EQ(result[2].v[0].normal, SbVec3f(0, 0, 1));
        }
        EXPECT_TRUE(std::isnan(result[0].v[2].point[0]));
    }
}

TEST_F(BadInputTest, NotEnoughCoordinatesForAFaceSet) {
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 0, 0)});
    add(new SoFaceSet);
    DebugErrorRecorder recorder;
    EXPECT_TRUE(triangles().empty());
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_TRUE(recorder.contains("", "SoFaceSet face 0 has 2 vertices")) << recorder.dump();
}
