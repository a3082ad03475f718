// The near limit: where it lies for each kind of camera, and how pieces crossing it are cut.
//
// The perspective camera of the fixture maps camera point (x, y, -e) to clip coordinates
// (x, y, (11e - 20) / 9, e). Its near reference is the near plane's centre (0, 0, -1, 1)
// in clip space, (0, 0, -1, 1): points with clip z below -1 (e < 1) are in front. A near
// cut gets z = -1 and w = 1, hence the normalised depth -1, and x, y interpolated on the
// undivided values.

#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoPointSet.h>

#include "ClipScene.h"

namespace {

class NearPlaneClipTest : public ClipScene {};

constexpr float kNearDepth = -1.0f;

TEST_F(NearPlaneClipTest, SegmentThroughTheEyePlaneEndsOnTheNearLimit) {
    addPerspectiveCamera();
    addBaseColor(SbColor(1, 0, 0));
    // From 4 in front of the eye to 1 behind it: the cut, at e = 1, is at t = 0.6.
    addCoordinates({SbVec3f(0, 0, -4), SbVec3f(0.5f, 0.5f, 1)});
    root->addChild(new SoLineSet);
    apply();

    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].points.size(), 2u);
    expectPoint(lines[0].points[0], 100, 100, 24.0f / 36.0f);
    expectPoint(lines[0].points[1], mm(0.3f), mm(0.3f), kNearDepth);
}

TEST_F(NearPlaneClipTest, PolylineComingBackFromBehindTheEyeGivesTwoRuns) {
    addPerspectiveCamera();
    addBaseColor(SbColor(1, 0, 0));
    addCoordinates({SbVec3f(0, 0, -4), SbVec3f(0.5f, 0.5f, 1), SbVec3f(-0.4f, 0, -4)});
    root->addChild(new SoLineSet);
    apply();

    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].points.size(), 2u);
    ASSERT_EQ(lines[1].points.size(), 2u);
    expectPoint(lines[0].points[1], mm(0.3f), mm(0.3f), kNearDepth);
    // Entering at t = 0.4 from the point behind the eye.
    expectPoint(lines[1].points[0], mm(0.14f), mm(0.3f), kNearDepth);
    expectPoint(lines[1].points[1], mm(-0.1f), 100, 24.0f / 36.0f);
}

TEST_F(NearPlaneClipTest, TriangleWithAVertexBehindTheEyeIsCutToAQuadrilateral) {
    addPerspectiveCamera();
    addBaseColor(SbColor(0, 0, 1));
    addCoordinates({SbVec3f(-1, -1, -4), SbVec3f(1, -1, -4), SbVec3f(0, 0, 1)});
    root->addChild(new SoFaceSet);
    apply();

    const auto polygons = calls(RecordedCall::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    const auto& p = polygons[0].points;
    ASSERT_EQ(p.size(), 4u);
    expectPoint(p[0], mm(-0.25f), mm(-0.25f), 24.0f / 36.0f);
    expectPoint(p[1], mm(0.25f), mm(-0.25f), 24.0f / 36.0f);
    // Cut of (1, -1) → (0, 0) at t = 0.6, then of (0, 0) → (-1, -1) at t = 0.4.
    expectPoint(p[2], mm(0.4f), mm(-0.4f), kNearDepth);
    expectPoint(p[3], mm(-0.4f), mm(-0.4f), kNearDepth);
}

TEST_F(NearPlaneClipTest, TriangleWhollyBehindTheNearLimitIsDropped) {
    addPerspectiveCamera();
    addBaseColor(SbColor(0, 0, 1));
    // Between the eye and the near plane, though inside the field of view.
    addCoordinates({SbVec3f(0, 0, -0.5f), SbVec3f(0.2f, 0, -0.5f), SbVec3f(0, 0.2f, -0.9f)});
    root->addChild(new SoFaceSet);
    apply();
    EXPECT_EQ(action->count(RecordedCall::POLYGON), 0u);
}

TEST_F(NearPlaneClipTest, OrthographicNearLimitIsTheNearPlane) {
    // near 1, far 10, eye at the origin: the near plane's centre has clip z = -1; points
    // closer to the eye than 1 are dropped, everything up to the far plane is kept.
    addOrthoCamera(1.0f, 10.0f, 0.0f);
    addBaseColor(SbColor(1, 0, 0));
    addCoordinates({SbVec3f(0.1f, 0, -0.5f), SbVec3f(0.2f, 0, -1.5f), SbVec3f(0.3f, 0, -0.99f),
                    SbVec3f(0.4f, 0, -6)});
    root->addChild(new SoPointSet);
    apply();

    const auto marks = calls(RecordedCall::POLYMARK_DOTS);
    ASSERT_EQ(marks.size(), 1u);
    ASSERT_EQ(marks[0].points.size(), 2u);
    // Depth of eye distance e: (2e - 11) / 9.
    expectPoint(marks[0].points[0], mm(0.2f), 100, -8.0f / 9.0f);
    expectPoint(marks[0].points[1], mm(0.4f), 100, 1.0f / 9.0f);
}

TEST_F(NearPlaneClipTest, NegativeNearDistanceIsUsedAsTheLimitItself) {
    // near -10, far 10: the limit is clip z = -10, which lets the camera see behind itself.
    addOrthoCamera(-10.0f, 10.0f, 0.0f);
    addBaseColor(SbColor(1, 0, 0));
    addCoordinates({SbVec3f(0.5f, 0, 5), SbVec3f(-0.5f, 0, -5)});
    root->addChild(new SoPointSet);
    apply();

    const auto marks = calls(RecordedCall::POLYMARK_DOTS);
    ASSERT_EQ(marks.size(), 1u);
    ASSERT_EQ(marks[0].points.size(), 2u);
    // Depth of eye distance e: e / 10.
    expectPoint(marks[0].points[0], mm(0.5f), 100, -0.5f);
    expectPoint(marks[0].points[1], mm(-0.5f), 100, 0.5f);
}

}  // namespace
