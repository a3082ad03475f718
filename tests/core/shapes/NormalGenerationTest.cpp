// Normals a face set generates when none (or too few) are given: flat, smooth across gentle
// edges, turned by the vertex ordering, and kept between traversals while the input stays.

#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoTriangleStripSet.h>

#include <cmath>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

namespace {

// Two triangles hinged on the edge 0-1 along x: one lies in the xy plane (normal +z), the
// other rises out of it by `angle` radians about the hinge.
std::vector<SbVec3f> hinge(float angle) {
    return {SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(0.5f, 1, 0),
            SbVec3f(0.5f, -std::cos(angle), std::sin(angle))};
}

// Face 0: 0 1 2 (normal +z). Face 1: 1 0 3, counterclockwise seen from its outside.
const std::vector<int32_t> kHingeFaces = {0, 1, 2, -1, 1, 0, 3, -1};

SbVec3f secondFaceNormal(float angle) {
    return SbVec3f(0, std::sin(angle), std::cos(angle));
}

class NormalGenerationTest : public ShapeTest {
  protected:
    SoIndexedFaceSet* hingeShape(float angle) {
        const std::vector<SbVec3f> points = hinge(angle);
        coords = add(new SoCoordinate3);
        coords->point.setValues(0, 4, points.data());
        auto* shape = add(new SoIndexedFaceSet);
        shape->coordIndex.setValues(0, 8, kHingeFaces.data());
        return shape;
    }
    SoCoordinate3* coords = nullptr;
};

void expectNear(const SbVec3f& actual, const SbVec3f& expected, float tolerance = 1e-5f) {
    EXPECT_TRUE(actual.equals(expected, tolerance))
        << "(" << actual[0] << ", " << actual[1] << ", " << actual[2] << ") vs (" << expected[0]
        << ", " << expected[1] << ", " << expected[2] << ")";
}

}  // namespace

TEST_F(NormalGenerationTest, CreaseAngleZeroGivesOneNormalPerFace) {
    const float angle = 0.3f;
    hingeShape(angle);
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 2u);
    for (int j = 0; j < 3; ++j) {
        expectNear(result[0].v[j].normal, SbVec3f(0, 0, 1));
        expectNear(result[1].v[j].normal, secondFaceNormal(angle));
        EXPECT_EQ(result[0].points[j].normal, 0);  // generated normals are numbered by face
        EXPECT_EQ(result[1].points[j].normal, 1);
    }
}

TEST_F(NormalGenerationTest, EdgesFlatterThanTheCreaseAngleAreSmoothed) {
    const float angle = 0.3f;
    hints(SoShapeHints::COUNTERCLOCKWISE, 0.5f);
    hingeShape(angle);
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 2u);
    SbVec3f shared = SbVec3f(0, 0, 1) + secondFaceNormal(angle);
    shared.normalize();
    // The hinge's ends average both faces; the far corners keep their own face's normal.
    expectNear(result[0].v[0].normal, shared);
    expectNear(result[0].v[1].normal, shared);
    expectNear(result[0].v[2].normal, SbVec3f(0, 0, 1));
    expectNear(result[1].v[0].normal, shared);
    expectNear(result[1].v[1].normal, shared);
    expectNear(result[1].v[2].normal, secondFaceNormal(angle));
    for (const Triangle& t : result)
        for (const Vertex& v : t.v) EXPECT_TRUE(isUnit(v.normal));
    EXPECT_EQ(result[1].points[2].normal, 5);  // one normal per corner, in corner order
}

TEST_F(NormalGenerationTest, EdgesSharperThanTheCreaseAngleStayCreased) {
    const float angle = 0.6f;
    hints(SoShapeHints::COUNTERCLOCKWISE, 0.5f);
    hingeShape(angle);
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 2u);
    for (int j = 0; j < 3; ++j) {
        expectNear(result[0].v[j].normal, SbVec3f(0, 0, 1));
        expectNear(result[1].v[j].normal, secondFaceNormal(angle));
    }
}

TEST_F(NormalGenerationTest, ClockwiseOrderingTurnsGeneratedNormals) {
    const float angle = 0.3f;
    auto* shapeHints = hints(SoShapeHints::CLOCKWISE, 0.0f);
    hingeShape(angle);
    std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 2u);
    expectNear(result[0].v[0].normal, SbVec3f(0, 0, -1));
    expectNear(result[1].v[2].normal, -secondFaceNormal(angle));

    shapeHints->creaseAngle.setValue(0.5f);  // smooth ones turn too
    result = triangles();
    SbVec3f shared = SbVec3f(0, 0, 1) + secondFaceNormal(angle);
    shared.normalize();
    expectNear(result[0].v[0].normal, -shared);
    expectNear(result[0].v[2].normal, SbVec3f(0, 0, -1));
}

TEST_F(NormalGenerationTest, GeneratedNormalsFollowCoordinatesEditedInPlace) {
    hingeShape(0.3f);
    std::vector<Triangle> result = triangles();
    expectNear(result[1].v[0].normal, secondFaceNormal(0.3f));
    // Same array, same size, new values: the cached normals must not be reused.
    SbVec3f* points = coords->point.startEditing();
    points[3] = hinge(1.2f)[3];
    coords->point.finishEditing();
    result = triangles();
    expectNear(result[1].v[0].normal, secondFaceNormal(1.2f));
    // And a traversal with nothing changed gives the very same normals again.
    const std::vector<Triangle> again = triangles();
    for (int j = 0; j < 3; ++j) EXPECT_EQ(again[1].v[j].normal, result[1].v[j].normal);
}

TEST_F(NormalGenerationTest, GeneratedNormalsFollowANewCreaseAngle) {
    auto* shapeHints = hints(SoShapeHints::COUNTERCLOCKWISE, 0.0f);
    hingeShape(0.3f);
    expectNear(triangles()[0].v[0].normal, SbVec3f(0, 0, 1));
    shapeHints->creaseAngle.setValue(1.0f);
    EXPECT_FALSE(triangles()[0].v[0].normal.equals(SbVec3f(0, 0, 1), 1e-3f));
    shapeHints->creaseAngle.setValue(0.0f);
    expectNear(triangles()[0].v[0].normal, SbVec3f(0, 0, 1));
}

TEST_F(NormalGenerationTest, TooFewGivenNormalsAreReplacedByGeneratedOnes) {
    hingeShape(0.3f);
    // PER_VERTEX on 6 vertices needs 6 normals; 2 do not cover it.
    root->insertChild(new SoNormal, 0);
    static_cast<SoNormal*>(root->getChild(0))
        ->vector.setValues({SbVec3f(1, 0, 0), SbVec3f(1, 0, 0)});
    auto* binding = new SoNormalBinding;
    binding->value.setValue(SoNormalBinding::PER_VERTEX);
    root->insertChild(binding, 0);
    DebugErrorRecorder recorder;
    std::vector<Triangle> result = triangles();
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    expectNear(result[0].v[0].normal, SbVec3f(0, 0, 1));
    // With PER_FACE, two normals are enough and are used as given.
    binding->value.setValue(SoNormalBinding::PER_FACE);
    result = triangles();
    EXPECT_EQ(result[0].v[0].normal, SbVec3f(1, 0, 0));
}

TEST_F(NormalGenerationTest, SmoothingSpansManyFacesAroundOneCoordinate) {
    // A flat fan of 40 triangles around the centre, then a cone-like fan of 40 around an
    // apex: above the bucket size where identical normals are merged first.
    for (float lift : {0.0f, 0.5f}) {
        SCOPED_TRACE(lift);
        root->removeAllChildren();
        std::vector<SbVec3f> points = {SbVec3f(0, 0, lift)};
        const int n = 40;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * M_PI * i / n;
            points.emplace_back(static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a)),
                                0.0f);
        }
        add(new SoCoordinate3)->point.setValues(0, n + 1, points.data());
        hints(SoShapeHints::COUNTERCLOCKWISE, 3.0f);
        std::vector<int32_t> indices;
        for (int i = 0; i < n; ++i) indices.insert(indices.end(), {0, 1 + i, 1 + (i + 1) % n, -1});
        add(new SoIndexedFaceSet)
            ->coordIndex.setValues(0, static_cast<int>(indices.size()), indices.data());
        const std::vector<Triangle> result = triangles();
        ASSERT_EQ(result.size(), static_cast<size_t>(n));
        // By symmetry the centre's normal is +z either way.
        for (const Triangle& t : result) expectNear(t.v[0].normal, SbVec3f(0, 0, 1));
    }
}

TEST_F(NormalGenerationTest, FaceSetAndStripSetGenerateFacingNormals) {
    coordinates(
        {SbVec3f(0, 1, 0), SbVec3f(0, 0, 0), SbVec3f(1, 1, 0), SbVec3f(1, 0, 0), SbVec3f(2, 1, 0)});
    auto* strip = add(new SoTriangleStripSet);
    for (float crease : {0.0f, 0.5f}) {
        auto* shapeHints = new SoShapeHints;
        shapeHints->creaseAngle.setValue(crease);
        root->insertChild(shapeHints, 1);
        const std::vector<Triangle> result = triangles();
        ASSERT_EQ(result.size(), 3u);
        for (const Triangle& t : result)
            for (const Vertex& v : t.v) expectNear(v.normal, SbVec3f(0, 0, 1));
        root->removeChild(1);
    }
    root->removeChild(strip);
    add(new SoFaceSet)->numVertices.setValues({3});
    std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 1u);
    expectNear(result[0].v[0].normal, SbVec3f(0, 0, 1));
    // Swapping the first two coordinates turns the face over.
    auto* coords = static_cast<SoCoordinate3*>(root->getChild(0));
    coords->point.set1Value(0, SbVec3f(0, 0, 0));
    coords->point.set1Value(1, SbVec3f(0, 1, 0));
    result = triangles();
    ASSERT_EQ(result.size(), 1u);
    expectNear(result[0].v[0].normal, SbVec3f(0, 0, -1));
}

TEST_F(NormalGenerationTest, DegenerateFaceGetsAZeroNormalNotNaN) {
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(2, 0, 0)});
    add(new SoIndexedFaceSet)->coordIndex.setValues({0, 1, 2});
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].v[0].normal, SbVec3f(0, 0, 0));
}
