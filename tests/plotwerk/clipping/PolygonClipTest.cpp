// Triangles clipped as polygons against the sides, the far plane and the near limit.

#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoPattern.h>

#include "ClipScene.h"

namespace {

class PolygonClipTest : public ClipScene {
  protected:
    void addTriangle(const SbVec3f& a, const SbVec3f& b, const SbVec3f& c) {
        addCoordinates({a, b, c});
        root->addChild(new SoFaceSet);
    }
};

TEST_F(PolygonClipTest, TriangleInsideKeepsItsVertices) {
    addOrthoCamera();
    addBaseColor(SbColor(1, 0, 0));
    addTriangle(SbVec3f(-0.5f, -0.5f, 0), SbVec3f(0.5f, -0.5f, 0), SbVec3f(0, 1, 0));
    apply();

    const auto polygons = calls(RecordedCall::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    ASSERT_EQ(polygons[0].points.size(), 3u);
    expectPoint(polygons[0].points[0], 50, 50, 0.5f);
    expectPoint(polygons[0].points[1], 150, 50, 0.5f);
    expectPoint(polygons[0].points[2], 100, 200, 0.5f);
    EXPECT_EQ(polygons[0].multicolor, 0);
    ASSERT_EQ(polygons[0].colors.size(), 1u);
    expectColor(polygons[0].colors[0], 1, 0, 0);
    EXPECT_TRUE(polygons[0].pattern.empty()) << "no pattern node: a solid fill";
}

TEST_F(PolygonClipTest, TriangleWhollyOutsideOnePlaneIsDropped) {
    addOrthoCamera();
    addBaseColor(SbColor(1, 0, 0));
    addTriangle(SbVec3f(1.01f, 0, 0), SbVec3f(3, 0, 0), SbVec3f(2, 0.5f, 0));        // right
    addTriangle(SbVec3f(0, -1.5f, 0), SbVec3f(0.5f, -3, 0), SbVec3f(-0.5f, -3, 0));  // below
    addTriangle(SbVec3f(0, 0, -6), SbVec3f(0.5f, 0, -6), SbVec3f(0, 0.5f, -7));      // far
    addTriangle(SbVec3f(0, 0, 16), SbVec3f(0.5f, 0, 16), SbVec3f(0, 0.5f, 17));      // near
    apply();
    EXPECT_EQ(action->count(RecordedCall::POLYGON), 0u);
}

TEST_F(PolygonClipTest, TriangleCutByACornerGainsTwoVertices) {
    addOrthoCamera();
    addBaseColor(SbColor(0, 0, 1));
    // Two vertices outside, on either side of the top right corner, whose edge passes
    // inside the corner: both sides cut the triangle into a pentagon.
    addTriangle(SbVec3f(0, 0, 0), SbVec3f(1.4f, 0.2f, 0), SbVec3f(0.2f, 1.4f, 0));
    apply();

    const auto polygons = calls(RecordedCall::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    const auto& p = polygons[0].points;
    ASSERT_EQ(p.size(), 5u);
    expectPoint(p[0], 100, 100, 0.5f);
    expectPoint(p[1], 200, mm(1.0f / 7.0f), 0.5f);
    expectPoint(p[2], 200, mm(0.6f), 0.5f);
    expectPoint(p[3], mm(0.6f), 200, 0.5f);
    expectPoint(p[4], mm(1.0f / 7.0f), 200, 0.5f);
    EXPECT_EQ(p[1][0], 200.0f);
    EXPECT_EQ(p[2][0], 200.0f);
    EXPECT_EQ(p[3][1], 200.0f);
    EXPECT_EQ(p[4][1], 200.0f);
}

TEST_F(PolygonClipTest, CutsLandExactlyOnTheEdgeWhateverTheRounding) {
    addOrthoCamera();
    addBaseColor(SbColor(0, 0, 1));
    // Interpolating x along both cut edges gives -0.99999994 in floats.
    addTriangle(SbVec3f(0.3f, 0, 0), SbVec3f(-1.7f, 0, 0), SbVec3f(0.3f, 0.5f, 0));
    apply();
    const auto polygons = calls(RecordedCall::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    const auto& p = polygons[0].points;
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[1][0], 0.0f);
    EXPECT_EQ(p[2][0], 0.0f);
    expectPoint(p[2], 0, mm(0.175f), 0.5f);
}

TEST_F(PolygonClipTest, TriangleCoveringTheViewBecomesTheView) {
    addOrthoCamera();
    addBaseColor(SbColor(0, 1, 0));
    addTriangle(SbVec3f(-5, -5, 0), SbVec3f(5, -5, 0), SbVec3f(0, 5, 0));
    apply();
    const auto polygons = calls(RecordedCall::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    // Only the view's four corners survive, each exactly on two limits.
    const auto& p = polygons[0].points;
    ASSERT_EQ(p.size(), 4u);
    expectPoint(p[0], 0, 200, 0.5f);
    expectPoint(p[1], 0, 0, 0.5f);
    expectPoint(p[2], 200, 0, 0.5f);
    expectPoint(p[3], 200, 200, 0.5f);
}

TEST_F(PolygonClipTest, FlatShadingPrintsOneColourEvenWhenVerticesDiffer) {
    action->setShadeModel(SoVectorizeAction::FLAT);
    addOrthoCamera();
    addVertexColors({SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1)});
    // The first two vertices are cut away: the colour still is the one the first had.
    addTriangle(SbVec3f(2, 0, 0), SbVec3f(2, 0.5f, 0), SbVec3f(0, 0, 0));
    apply();

    const auto polygons = calls(RecordedCall::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].points.size(), 3u);
    EXPECT_EQ(polygons[0].multicolor, 0);
    ASSERT_EQ(polygons[0].colors.size(), 1u);
    expectColor(polygons[0].colors[0], 1, 0, 0);
}

TEST_F(PolygonClipTest, SmoothShadingInterpolatesTheCutColours) {
    action->setShadeModel(SoVectorizeAction::SMOOTH);
    addOrthoCamera();
    addVertexColors({SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1)});
    addTriangle(SbVec3f(0, 0, 0), SbVec3f(2, 0, 0), SbVec3f(0, 1, 0));
    apply();

    const auto polygons = calls(RecordedCall::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    const RecordedCall& polygon = polygons[0];
    EXPECT_EQ(polygon.multicolor, 1);
    ASSERT_EQ(polygon.points.size(), 4u);
    ASSERT_EQ(polygon.colors.size(), 4u);
    expectPoint(polygon.points[0], 100, 100, 0.5f);
    expectPoint(polygon.points[1], 200, 100, 0.5f);
    expectPoint(polygon.points[2], 200, 150, 0.5f);
    expectPoint(polygon.points[3], 100, 200, 0.5f);
    expectColor(polygon.colors[0], 1, 0, 0);
    expectColor(polygon.colors[1], 0.5f, 0.5f, 0);  // half way from red to green
    expectColor(polygon.colors[2], 0, 0.5f, 0.5f);  // half way from green to blue
    expectColor(polygon.colors[3], 0, 0, 1);
}

TEST_F(PolygonClipTest, SmoothShadingWithEqualColoursIsNotMulticolour) {
    action->setShadeModel(SoVectorizeAction::SMOOTH);
    addOrthoCamera();
    addVertexColors({SbColor(0, 1, 0), SbColor(0, 1, 0), SbColor(0, 1, 0)});
    addTriangle(SbVec3f(0, 0, 0), SbVec3f(2, 0, 0), SbVec3f(0, 1, 0));
    apply();
    const auto polygons = calls(RecordedCall::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].multicolor, 0);
    ASSERT_EQ(polygons[0].colors.size(), 1u);
}

TEST_F(PolygonClipTest, FilledPolygonsCarryTheCurrentPattern) {
    addOrthoCamera();
    addBaseColor(SbColor(1, 0, 0));
    auto* pattern = new SoPattern;
    pattern->category.setValue(SbString("hatches"));
    pattern->name.setValue(SbString("diagonal"));
    pattern->mask.setValues({0x80000000u, 0x40000000u, 0x20000000u});
    root->addChild(pattern);
    addTriangle(SbVec3f(-0.5f, -0.5f, 0), SbVec3f(0.5f, -0.5f, 0), SbVec3f(0, 0.5f, 0));
    apply();

    const auto polygons = calls(RecordedCall::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].patternString1, "hatches");
    EXPECT_EQ(polygons[0].patternString2, "diagonal");
    const unsigned char* bytes = pattern->getMaskBytes();
    ASSERT_NE(bytes, nullptr);
    ASSERT_EQ(polygons[0].pattern.size(), 128u);
    EXPECT_TRUE(std::equal(bytes, bytes + 128, polygons[0].pattern.begin()));
    EXPECT_EQ(polygons[0].pattern[0], 0x80);
    EXPECT_EQ(polygons[0].pattern[4], 0x40);
}

}  // namespace
