// Material and normal bindings: which material and which given normal every vertex of a face,
// strip or line set gets. Both bindings share their values, so each case checks both.

#include <string>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

using BindingTest = ShapeTest;
using B = SoMaterialBinding;

TEST_F(BindingTest, EveryVertexGetsTheBoundIndex) {
    // The indexed face set has faces "0 1 2" and "0 2 3"; the face set a triangle and a quad
    // that fans out as 3 4 5, 3 5 6; the strips four and three vertices (odd triangles swap
    // their first two); the line sets polylines of three and two vertices.
    const std::vector<int32_t> twoFaces = {0, 1, 2, -1, 0, 2, 3, -1};
    const std::vector<int32_t> twoLines = {0, 1, 2, -1, 3, 0};
    const struct {
        Kind kind;
        std::vector<int32_t> values;
        int binding;
        std::vector<int32_t> indices;  // materialIndex and normalIndex
        std::vector<int> expected;     // per vertex met
    } cases[] = {
        // clang-format off
        {Kind::INDEXED_FACES, twoFaces, B::OVERALL, {}, {0, 0, 0, 0, 0, 0}},
        {Kind::INDEXED_FACES, twoFaces, B::PER_PART_INDEXED, {3, 4}, {3, 3, 3, 4, 4, 4}},
        {Kind::INDEXED_FACES, twoFaces, B::PER_FACE, {}, {0, 0, 0, 1, 1, 1}},
        {Kind::INDEXED_FACES, twoFaces, B::PER_FACE_INDEXED, {5, 2}, {5, 5, 5, 2, 2, 2}},
        {Kind::INDEXED_FACES, twoFaces, B::PER_FACE_INDEXED, {}, {0, 0, 0, 1, 1, 1}},
        {Kind::INDEXED_FACES, twoFaces, B::PER_VERTEX, {}, {0, 1, 2, 3, 4, 5}},
        {Kind::INDEXED_FACES, twoFaces, B::PER_VERTEX_INDEXED, {7, 6, 5, -1, 4, 3, 2, -1},
         {7, 6, 5, 4, 3, 2}},
        {Kind::INDEXED_FACES, twoFaces, B::PER_VERTEX_INDEXED, {}, {0, 1, 2, 0, 2, 3}},
        {Kind::FACES, {3, 4}, B::PER_FACE, {}, {0, 0, 0, 1, 1, 1, 1, 1, 1}},
        {Kind::FACES, {3, 4}, B::PER_FACE_INDEXED, {}, {0, 0, 0, 1, 1, 1, 1, 1, 1}},
        {Kind::FACES, {3, 4}, B::PER_VERTEX, {}, {0, 1, 2, 3, 4, 5, 3, 5, 6}},
        {Kind::FACES, {3, 4}, B::PER_VERTEX_INDEXED, {}, {0, 1, 2, 3, 4, 5, 3, 5, 6}},
        {Kind::STRIPS, {4, 3}, B::PER_PART, {}, {0, 0, 0, 0, 0, 0, 1, 1, 1}},
        {Kind::STRIPS, {4, 3}, B::PER_FACE, {}, {0, 0, 0, 1, 1, 1, 2, 2, 2}},
        {Kind::STRIPS, {4, 3}, B::PER_VERTEX, {}, {0, 1, 2, 2, 1, 3, 4, 5, 6}},
        {Kind::LINES, {3, 2}, B::OVERALL, {}, {0, 0, 0, 0, 0, 0}},
        {Kind::LINES, {3, 2}, B::PER_PART, {}, {0, 0, 0, 0, 1, 1}},
        {Kind::LINES, {3, 2}, B::PER_VERTEX, {}, {0, 1, 1, 2, 3, 4}},
        {Kind::INDEXED_LINES, twoLines, B::PER_VERTEX, {}, {0, 1, 1, 2, 3, 4}},
        {Kind::INDEXED_LINES, twoLines, B::PER_VERTEX_INDEXED, {}, {0, 1, 1, 2, 3, 0}},
        {Kind::INDEXED_LINES, twoLines, B::PER_VERTEX_INDEXED, {7, 6, 5, -1, 4, 3},
         {7, 6, 6, 5, 4, 3}},
        {Kind::INDEXED_LINES, twoLines, B::PER_PART_INDEXED, {2, 5}, {2, 2, 2, 2, 5, 5}},
        // clang-format on
    };
    // Distinct, deliberately not unit-length normals: given normals are passed on untouched.
    std::vector<SbVec3f> given;
    for (int i = 0; i < 8; ++i) given.emplace_back(0, 0, static_cast<float>(i + 1));
    const std::vector<SbVec3f> coords = arc(7);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.values) + " binding " + std::to_string(c.binding));
        root->removeAllChildren();
        coordinates(coords);
        materials(8);
        normals(given);
        materialBinding(c.binding);
        normalBinding(c.binding);
        SoShape* node = shape(c.kind, c.values);
        const int n = static_cast<int>(c.indices.size());
        for (const char* field : {"materialIndex", "normalIndex"})
            if (n > 0)
                static_cast<SoMFInt32*>(node->getField(field))->setValues(0, n, c.indices.data());
        DebugErrorRecorder recorder;
        std::vector<int> materials;
        std::vector<SbVec3f> normalsMet;
        // Each vertex, and the point detail that says where its material and normal came from.
        const auto meet = [&](const Vertex& v, const PointIndices& p) {
            materials.push_back(v.material);
            normalsMet.push_back(v.normal);
            EXPECT_EQ(p.material, v.material);
            EXPECT_EQ(given.at(static_cast<size_t>(p.normal)), v.normal);
        };
        for (const Primitive& t : triangles())
            for (const Vertex& v : t.v)
                for (const PointIndices& p : t.points)
                    if (coords.at(static_cast<size_t>(p.coord)) == v.point) meet(v, p);
        for (const Primitive& s : generate().segments) {
            meet(s.v[0], s.points[0]);
            meet(s.v[1], s.points[1]);
        }
        EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
        EXPECT_EQ(materials, c.expected);
        std::vector<SbVec3f> expectedNormals;
        for (const int i : c.expected) expectedNormals.push_back(given[static_cast<size_t>(i)]);
        EXPECT_EQ(normalsMet, expectedNormals);
    }
}
