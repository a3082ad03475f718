// Material and normal bindings: which index every vertex of a face or line set gets.

#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoIndexedLineSet.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoTriangleStripSet.h>

#include <string>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

namespace {

using B = SoMaterialBinding;

struct BindingCase {
    std::string name;
    int binding;
    std::vector<int32_t> indexList;  // materialIndex or normalIndex
    std::vector<int> expected;       // per emitted vertex
};

// Two triangles sharing an edge: faces "0 1 2" and "0 2 3"; the vertices come out as
// coordinates 0 1 2 0 2 3.
const std::initializer_list<SbVec3f> kQuad = {SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(1, 1, 0),
                                              SbVec3f(0, 1, 0)};
const std::vector<int32_t> kTwoFaces = {0, 1, 2, -1, 0, 2, 3, -1};

const std::vector<BindingCase> kIndexedCases = {
    {"Overall", B::OVERALL, {}, {0, 0, 0, 0, 0, 0}},
    {"PerPart", B::PER_PART, {}, {0, 0, 0, 1, 1, 1}},
    {"PerPartIndexed", B::PER_PART_INDEXED, {3, 4}, {3, 3, 3, 4, 4, 4}},
    {"PerFace", B::PER_FACE, {}, {0, 0, 0, 1, 1, 1}},
    {"PerFaceIndexed", B::PER_FACE_INDEXED, {5, 2}, {5, 5, 5, 2, 2, 2}},
    {"PerFaceIndexedWithoutList", B::PER_FACE_INDEXED, {}, {0, 0, 0, 1, 1, 1}},
    {"PerVertex", B::PER_VERTEX, {}, {0, 1, 2, 3, 4, 5}},
    {"PerVertexIndexed", B::PER_VERTEX_INDEXED, {7, 6, 5, -1, 4, 3, 2, -1}, {7, 6, 5, 4, 3, 2}},
    {"PerVertexIndexedWithoutList", B::PER_VERTEX_INDEXED, {}, {0, 1, 2, 0, 2, 3}},
};

std::string caseName(const ::testing::TestParamInfo<BindingCase>& info) {
    return info.param.name;
}

class IndexedFaceSetMaterials : public ShapeTest,
                                public ::testing::WithParamInterface<BindingCase> {};
class IndexedFaceSetNormals : public ShapeTest,
                              public ::testing::WithParamInterface<BindingCase> {};

// Distinct, deliberately not unit-length normals: given normals are passed on untouched.
std::vector<SbVec3f> eightNormals() {
    std::vector<SbVec3f> result;
    for (int i = 0; i < 8; ++i) result.emplace_back(0, 0, static_cast<float>(i + 1));
    return result;
}

}  // namespace

TEST_P(IndexedFaceSetMaterials, EveryVertexGetsTheBoundIndex) {
    const BindingCase& c = GetParam();
    coordinates(kQuad);
    materials(8);
    materialBinding(c.binding);
    auto* shape = add(new SoIndexedFaceSet);
    shape->coordIndex.setValues(0, 8, kTwoFaces.data());
    shape->materialIndex.setValues(0, static_cast<int>(c.indexList.size()), c.indexList.data());
    DebugErrorRecorder recorder;
    const std::vector<Triangle> result = triangles();
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    ASSERT_EQ(result.size(), 2u);
    for (int t = 0; t < 2; ++t) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(result[t].v[j].material, c.expected[3 * t + j]) << "vertex " << 3 * t + j;
            EXPECT_EQ(result[t].points[j].material, c.expected[3 * t + j]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Bindings, IndexedFaceSetMaterials, ::testing::ValuesIn(kIndexedCases),
                         caseName);

TEST_P(IndexedFaceSetNormals, EveryVertexGetsTheBoundNormal) {
    const BindingCase& c = GetParam();
    coordinates(kQuad);
    const std::vector<SbVec3f> given = eightNormals();
    add(new SoNormal)->vector.setValues(0, 8, given.data());
    normalBinding(c.binding);
    auto* shape = add(new SoIndexedFaceSet);
    shape->coordIndex.setValues(0, 8, kTwoFaces.data());
    shape->normalIndex.setValues(0, static_cast<int>(c.indexList.size()), c.indexList.data());
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 2u);
    for (int t = 0; t < 2; ++t) {
        for (int j = 0; j < 3; ++j) {
            const int expected = c.expected[3 * t + j];
            EXPECT_EQ(result[t].v[j].normal, given[expected]) << "vertex " << 3 * t + j;
            EXPECT_EQ(result[t].points[j].normal, expected);
            EXPECT_EQ(result[t].v[j].material, 0);  // materials stay OVERALL
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Bindings, IndexedFaceSetNormals, ::testing::ValuesIn(kIndexedCases),
                         caseName);

namespace {

using BindingTest = ShapeTest;

std::vector<int> materialsOf(const std::vector<Triangle>& triangles) {
    std::vector<int> result;
    for (const Triangle& t : triangles)
        for (const Vertex& v : t.v) result.push_back(v.material);
    return result;
}

std::vector<int> materialsOf(const std::vector<Segment>& segments) {
    std::vector<int> result;
    for (const Segment& s : segments)
        for (const Vertex& v : s.v) result.push_back(v.material);
    return result;
}

}  // namespace

TEST_F(BindingTest, FaceSetBindsPerFaceAndPerVertex) {
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(0, 1, 0), SbVec3f(2, 0, 0),
                 SbVec3f(3, 0, 0), SbVec3f(3, 1, 0), SbVec3f(2, 1, 0)});
    materials(8);
    auto* binding = add(new SoMaterialBinding);
    add(new SoFaceSet)->numVertices.setValues({3, 4});
    binding->value.setValue(B::PER_FACE);
    EXPECT_EQ(materialsOf(triangles()), (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 1, 1}));
    binding->value.setValue(B::PER_FACE_INDEXED);  // no index list: same as PER_FACE
    EXPECT_EQ(materialsOf(triangles()), (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 1, 1}));
    binding->value.setValue(B::PER_VERTEX);  // the quad fans out as 3 4 5, 3 5 6
    EXPECT_EQ(materialsOf(triangles()), (std::vector<int>{0, 1, 2, 3, 4, 5, 3, 5, 6}));
    binding->value.setValue(B::PER_VERTEX_INDEXED);
    EXPECT_EQ(materialsOf(triangles()), (std::vector<int>{0, 1, 2, 3, 4, 5, 3, 5, 6}));
}

TEST_F(BindingTest, StripSetBindsPerStripPerTriangleAndPerVertex) {
    coordinates({SbVec3f(0, 1, 0), SbVec3f(0, 0, 0), SbVec3f(1, 1, 0), SbVec3f(1, 0, 0),
                 SbVec3f(5, 1, 0), SbVec3f(5, 0, 0), SbVec3f(6, 1, 0)});
    materials(8);
    auto* binding = add(new SoMaterialBinding);
    add(new SoTriangleStripSet)->numVertices.setValues({4, 3});
    binding->value.setValue(B::PER_PART);
    EXPECT_EQ(materialsOf(triangles()), (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 1, 1}));
    binding->value.setValue(B::PER_FACE);
    EXPECT_EQ(materialsOf(triangles()), (std::vector<int>{0, 0, 0, 1, 1, 1, 2, 2, 2}));
    binding->value.setValue(B::PER_VERTEX);  // odd triangles swap their first two vertices
    EXPECT_EQ(materialsOf(triangles()), (std::vector<int>{0, 1, 2, 2, 1, 3, 4, 5, 6}));
}

TEST_F(BindingTest, LineSetsBindPerPolyline) {
    coordinates(
        {SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(2, 0, 0), SbVec3f(0, 1, 0), SbVec3f(1, 1, 0)});
    materials(8);
    auto* binding = add(new SoMaterialBinding);
    auto* lines = add(new SoLineSet);
    lines->numVertices.setValues({3, 2});
    binding->value.setValue(B::PER_PART);
    EXPECT_EQ(materialsOf(segments()), (std::vector<int>{0, 0, 0, 0, 1, 1}));
    binding->value.setValue(B::PER_FACE);
    EXPECT_EQ(materialsOf(segments()), (std::vector<int>{0, 0, 0, 0, 1, 1}));
    binding->value.setValue(B::PER_VERTEX);
    EXPECT_EQ(materialsOf(segments()), (std::vector<int>{0, 1, 1, 2, 3, 4}));
    binding->value.setValue(B::OVERALL);
    EXPECT_EQ(materialsOf(segments()), (std::vector<int>{0, 0, 0, 0, 0, 0}));
}

TEST_F(BindingTest, IndexedLineSetUsesItsIndexLists) {
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(2, 0, 0), SbVec3f(0, 1, 0)});
    materials(8);
    auto* binding = add(new SoMaterialBinding);
    auto* lines = add(new SoIndexedLineSet);
    lines->coordIndex.setValues({0, 1, 2, -1, 3, 0});
    binding->value.setValue(B::PER_VERTEX_INDEXED);  // no list: the coordinate indices
    EXPECT_EQ(materialsOf(segments()), (std::vector<int>{0, 1, 1, 2, 3, 0}));
    lines->materialIndex.setValues({7, 6, 5, -1, 4, 3});
    EXPECT_EQ(materialsOf(segments()), (std::vector<int>{7, 6, 6, 5, 4, 3}));
    binding->value.setValue(B::PER_PART_INDEXED);
    lines->materialIndex.setValues({2, 5});
    EXPECT_EQ(materialsOf(segments()), (std::vector<int>{2, 2, 2, 2, 5, 5}));
}

TEST_F(BindingTest, LinesUseGivenNormalsAndLeaveTheDefaultWithoutThem) {
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(2, 0, 0)});
    auto* lines = add(new SoLineSet);
    lines->numVertices.setValue(3);
    std::vector<Segment> result = segments();
    ASSERT_EQ(result.size(), 2u);
    for (const Segment& s : result)
        for (const Vertex& v : s.v) EXPECT_EQ(v.normal, SbVec3f(0, 0, 1));

    root->insertChild(new SoNormalBinding, 1);
    static_cast<SoNormalBinding*>(root->getChild(1))->value.setValue(B::PER_VERTEX);
    auto* given = new SoNormal;
    given->vector.setValues({SbVec3f(1, 0, 0), SbVec3f(0, 1, 0), SbVec3f(0, 0, -1)});
    root->insertChild(given, 1);
    result = segments();
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0].v[0].normal, SbVec3f(1, 0, 0));
    EXPECT_EQ(result[0].v[1].normal, SbVec3f(0, 1, 0));
    EXPECT_EQ(result[1].v[1].normal, SbVec3f(0, 0, -1));
    EXPECT_EQ(result[1].p1.normal, 2);
}
