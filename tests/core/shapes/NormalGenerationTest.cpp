// Normals a face set generates when none (or too few) are given: flat, smooth across gentle
// edges, turned by the vertex ordering, and kept between traversals while the input stays.

#include <cmath>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

using NormalGenerationTest = ShapeTest;

namespace {

// Two triangles hinged on the edge 0-1 along x: face 0 "0 1 2" lies in the xy plane (normal
// +z), face 1 "1 0 3" rises out of it by `angle` radians about the hinge.
std::vector<SbVec3f> hinge(float angle) {
    return {SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(0.5f, 1, 0),
            SbVec3f(0.5f, -std::cos(angle), std::sin(angle))};
}

SbVec3f secondFaceNormal(float angle) {
    return SbVec3f(0, std::sin(angle), std::cos(angle));
}

const std::vector<int32_t> kHingeFaces = {0, 1, 2, -1, 1, 0, 3, -1};

}  // namespace

TEST_F(NormalGenerationTest, HingeNormalsByCreaseAngleAndOrdering) {
    // Per vertex met (0 1 2, then 1 0 3): A face 0's normal, B face 1's, S their average.
    const struct {
        float crease;
        float angle;
        int ordering;
        const char* normals;
    } cases[] = {
        {0.0f, 0.3f, SoShapeHints::COUNTERCLOCKWISE, "AAABBB"},
        {0.5f, 0.3f, SoShapeHints::COUNTERCLOCKWISE, "SSASSB"},  // the hinge's ends average
        {0.5f, 0.6f, SoShapeHints::COUNTERCLOCKWISE, "AAABBB"},  // sharper than the crease
        {4.0f, 2.5f, SoShapeHints::COUNTERCLOCKWISE, "SSASSB"},  // past half a turn: all
        {0.0f, 0.3f, SoShapeHints::CLOCKWISE, "AAABBB"},
        {0.5f, 0.3f, SoShapeHints::CLOCKWISE, "SSASSB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.crease << " " << c.angle << " " << c.ordering);
        root->removeAllChildren();
        hints(c.ordering, c.crease);
        coordinates(hinge(c.angle));
        shape(Kind::INDEXED_FACES, kHingeFaces);
        const std::vector<Primitive> result = triangles();
        ASSERT_EQ(result.size(), 2u);
        const float sign = c.ordering == SoShapeHints::CLOCKWISE ? -1.0f : 1.0f;
        const SbVec3f a = SbVec3f(0, 0, 1) * sign, b = secondFaceNormal(c.angle) * sign;
        SbVec3f s = a + b;
        s.normalize();
        const bool smooth = c.crease > 0;  // even where no edge is smoothed
        for (int k = 0; k < 6; ++k) {
            const Primitive& t = result[static_cast<size_t>(k / 3)];
            const char which = c.normals[k];
            EXPECT_TRUE(t.v[k % 3].normal.equals(which == 'A'   ? a
                                                 : which == 'B' ? b
                                                                : s,
                                                 1e-5f))
                << k;
            // Generated normals are numbered by face when flat, by corner when smoothed.
            EXPECT_EQ(t.points[static_cast<size_t>(k % 3)].normal, smooth ? k : k / 3);
        }
    }
}

TEST_F(NormalGenerationTest, GeneratedNormalsFollowChangesOnly) {
    // PER_VERTEX on 6 vertices needs 6 normals: 2 do not cover it, so they are generated.
    normals({SbVec3f(1, 0, 0), SbVec3f(1, 0, 0)});
    auto* binding = add(new SoNormalBinding);
    binding->value.setValue(SoNormalBinding::PER_VERTEX);
    auto* shapeHints = hints(SoShapeHints::COUNTERCLOCKWISE, 0.0f);
    SoCoordinate3* coords = coordinates(hinge(0.3f));
    shape(Kind::INDEXED_FACES, kHingeFaces);
    DebugErrorRecorder recorder;
    EXPECT_TRUE(triangles()[1].v[0].normal.equals(secondFaceNormal(0.3f), 1e-5f));
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    // Same array, same size, new values: the cached normals must not be reused.
    SbVec3f* points = coords->point.startEditing();
    points[3] = hinge(1.2f)[3];
    coords->point.finishEditing();
    const std::vector<Primitive> result = triangles();
    EXPECT_TRUE(result[1].v[0].normal.equals(secondFaceNormal(1.2f), 1e-5f));
    // A traversal with nothing changed gives the very same normals again.
    const std::vector<Primitive> again = triangles();
    for (int j = 0; j < 3; ++j) EXPECT_EQ(again[1].v[j].normal, result[1].v[j].normal);
    shapeHints->creaseAngle.setValue(1.5f);
    EXPECT_FALSE(triangles()[0].v[0].normal.equals(SbVec3f(0, 0, 1), 1e-3f));
    shapeHints->creaseAngle.setValue(0.0f);
    EXPECT_TRUE(triangles()[0].v[0].normal.equals(SbVec3f(0, 0, 1), 1e-5f));
    // Bound per face, the 2 given normals are enough and are used.
    binding->value.setValue(SoNormalBinding::PER_FACE);
    EXPECT_EQ(triangles()[0].v[0].normal, SbVec3f(1, 0, 0));
}

TEST_F(NormalGenerationTest, SmoothingSpansManyFacesAroundOneCoordinate) {
    // A flat fan of 40 triangles around the centre, then a cone-like fan of 40 around an
    // apex: above the count where identical normals are merged first. The flat fan is tilted,
    // its faces' normals apart in their last bits: no corner may round off from its face's.
    for (float lift : {0.0f, 0.5f}) {
        SCOPED_TRACE(lift);
        root->removeAllChildren();
        std::vector<SbVec3f> points = {SbVec3f(0, 0, lift)};
        std::vector<int32_t> indices;
        const int n = 40;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * M_PI * i / n;
            points.emplace_back(static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a)),
                                lift > 0 ? 0.0f : static_cast<float>(std::cos(a + 1)));
            indices.insert(indices.end(), {0, 1 + i, 1 + (i + 1) % n, -1});
        }
        coordinates(points);
        hints(SoShapeHints::COUNTERCLOCKWISE, 3.0f);
        shape(Kind::INDEXED_FACES, indices);
        const std::vector<Primitive> result = triangles();
        ASSERT_EQ(result.size(), static_cast<size_t>(n));
        // By symmetry the cone's centre normal is +z.
        for (const Primitive& t : result)
            EXPECT_TRUE(lift > 0
                            ? t.v[0].normal.equals(SbVec3f(0, 0, 1), 1e-5f)
                            : t.v[1].normal == t.v[0].normal && t.v[2].normal == t.v[0].normal);
    }
}
