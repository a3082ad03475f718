#include <Tessara/math/SbLine.h>
#include <Tessara/math/SbViewVolume.h>
#include <gtest/gtest.h>

#include <cmath>

#include "MathTestUtil.h"
#include "support/DebugErrorRecorder.h"

namespace {

const float kHalfPi = static_cast<float>(SbMathHelper::PI / 2);

SbVec3f screen(const SbViewVolume& vv, const SbVec3f& world) {
    SbVec3f out;
    vv.projectToScreen(world, out);
    return out;
}

// Normalised device coordinates through getMatrix() and an explicit division by w.
SbVec3f ndc(const SbViewVolume& vv, const SbVec3f& world) {
    SbVec4f clip;
    vv.getMatrix().multVecMatrix(SbVec4f(world[0], world[1], world[2], 1), clip);
    return SbVec3f(clip[0] / clip[3], clip[1] / clip[3], clip[2] / clip[3]);
}

}  // namespace

TEST(SbViewVolumeOrtho, NearCentreFarAndCorners) {
    SbViewVolume vv;
    vv.ortho(-2, 2, -1, 1, 1, 11);
    EXPECT_EQ(vv.getProjectionType(), SbViewVolume::ORTHOGRAPHIC);
    EXPECT_TRUE(near(screen(vv, SbVec3f(0, 0, -1)), SbVec3f(0.5f, 0.5f, 0)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(0, 0, -11)), SbVec3f(0.5f, 0.5f, 1)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(-2, -1, -1)), SbVec3f(0, 0, 0)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(2, 1, -11)), SbVec3f(1, 1, 1)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(2, -1, -6)), SbVec3f(1, 0, 0.5f)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(1, 0.5f, -3.5f)), SbVec3f(0.75f, 0.75f, 0.25f)));
}

TEST(SbViewVolumeOrtho, ClipSpaceIsTheUnitCube) {
    SbViewVolume vv;
    vv.ortho(0, 4, 0, 2, 1, 3);
    EXPECT_TRUE(near(ndc(vv, SbVec3f(0, 0, -1)), SbVec3f(-1, -1, -1)));
    EXPECT_TRUE(near(ndc(vv, SbVec3f(4, 2, -3)), SbVec3f(1, 1, 1)));
    EXPECT_TRUE(near(ndc(vv, SbVec3f(2, 1, -2)), SbVec3f(0, 0, 0)));
    // Row-vector layout: the offsets sit in row 3, and there is no perspective column.
    SbMatrix affine, proj;
    vv.getMatrices(affine, proj);
    EXPECT_EQ(affine, SbMatrix::identity());
    EXPECT_FLOAT_EQ(proj[0][0], 0.5f);
    EXPECT_FLOAT_EQ(proj[2][2], -1.0f);
    EXPECT_FLOAT_EQ(proj[3][0], -1.0f);
    EXPECT_FLOAT_EQ(proj[3][1], -1.0f);
    EXPECT_FLOAT_EQ(proj[3][2], -2.0f);
    EXPECT_EQ(proj[0][3], 0.0f);
    EXPECT_EQ(proj[2][3], 0.0f);
    EXPECT_EQ(proj[3][3], 1.0f);
}

TEST(SbViewVolumeOrtho, NegativeNearDistance) {
    SbViewVolume vv;
    vv.ortho(-1, 1, -1, 1, -5, 5);
    EXPECT_EQ(vv.getNearDist(), -5.0f);
    EXPECT_EQ(vv.getDepth(), 10.0f);
    EXPECT_TRUE(near(screen(vv, SbVec3f(0, 0, 5)), SbVec3f(0.5f, 0.5f, 0)));  // behind the eye
    EXPECT_TRUE(near(screen(vv, SbVec3f(0, 0, 0)), SbVec3f(0.5f, 0.5f, 0.5f)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(1, 1, -5)), SbVec3f(1, 1, 1)));
    EXPECT_TRUE(near(ndc(vv, SbVec3f(-1, 0, 5)), SbVec3f(-1, 0, -1)));
    // Zero near works as well.
    vv.ortho(-1, 1, -1, 1, 0, 2);
    EXPECT_TRUE(near(screen(vv, SbVec3f(0, 0, 0)), SbVec3f(0.5f, 0.5f, 0)));
}

TEST(SbViewVolumePerspective, ClipSpaceAndDepth) {
    SbViewVolume vv;
    vv.perspective(kHalfPi, 2.0f, 1.0f, 10.0f);  // near window 4 x 2
    EXPECT_EQ(vv.getProjectionType(), SbViewVolume::PERSPECTIVE);
    EXPECT_NEAR(vv.getWidth(), 4.0f, 1e-6f);
    EXPECT_NEAR(vv.getHeight(), 2.0f, 1e-6f);
    EXPECT_EQ(vv.getNearDist(), 1.0f);
    EXPECT_EQ(vv.getDepth(), 9.0f);
    EXPECT_TRUE(near(ndc(vv, SbVec3f(2, 1, -1)), SbVec3f(1, 1, -1)));
    EXPECT_TRUE(near(ndc(vv, SbVec3f(-20, 10, -10)), SbVec3f(-1, 1, 1)));
    // Depth is not linear: halfway in z is 7/9 in clip space.
    EXPECT_TRUE(near(ndc(vv, SbVec3f(0, 0, -5)), SbVec3f(0, 0, 7.0f / 9.0f)));
    SbVec4f clip;
    vv.getMatrix().multVecMatrix(SbVec4f(0, 0, -5, 1), clip);
    EXPECT_FLOAT_EQ(clip[3], 5.0f);  // w is the distance in front of the eye

    SbMatrix affine, proj;
    vv.getMatrices(affine, proj);
    EXPECT_EQ(proj[2][3], -1.0f);
    EXPECT_FLOAT_EQ(proj[3][2], -20.0f / 9.0f);
    EXPECT_EQ(proj[3][3], 0.0f);
    EXPECT_EQ(proj[0][3], 0.0f);
}

TEST(SbViewVolumePerspective, ProjectToScreen) {
    SbViewVolume vv;
    vv.perspective(kHalfPi, 2.0f, 1.0f, 10.0f);
    EXPECT_TRUE(near(screen(vv, SbVec3f(0, 0, -1)), SbVec3f(0.5f, 0.5f, 0)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(-2, -1, -1)), SbVec3f(0, 0, 0)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(2, 1, -1)), SbVec3f(1, 1, 0)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(-20, -10, -10)), SbVec3f(0, 0, 1)));
    // At five units the window is five times larger: 20 x 10.
    EXPECT_TRUE(near(screen(vv, SbVec3f(10, 5, -5)), SbVec3f(1, 1, 8.0f / 9.0f)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(5, 2.5f, -5)), SbVec3f(0.75f, 0.75f, 8.0f / 9.0f)));
}

TEST(SbViewVolumePerspective, OffCentreFrustum) {
    SbViewVolume vv;
    vv.frustum(0, 2, 0, 1, 1, 10);
    EXPECT_EQ(vv.getProjectionType(), SbViewVolume::PERSPECTIVE);
    EXPECT_TRUE(near(screen(vv, SbVec3f(0, 0, -1)), SbVec3f(0, 0, 0)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(2, 1, -1)), SbVec3f(1, 1, 0)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(10, 5, -10)), SbVec3f(0.5f, 0.5f, 1)));
}

TEST(SbViewVolumePlacement, RotatedAndTranslatedCamera) {
    SbViewVolume vv;
    vv.perspective(kHalfPi, 1.0f, 1.0f, 100.0f);
    const SbRotation q(SbVec3f(0, 1, 0), kHalfPi);  // look down -x
    vv.rotateCamera(q);
    vv.translateCamera(SbVec3f(5, 0, 0));
    EXPECT_TRUE(near(vv.getProjectionPoint(), SbVec3f(5, 0, 0)));
    EXPECT_TRUE(near(vv.getProjectionDirection(), SbVec3f(-1, 0, 0), 1e-6f));
    EXPECT_TRUE(near(vv.zVector(), SbVec3f(1, 0, 0), 1e-6f));
    EXPECT_TRUE(near(screen(vv, SbVec3f(4, 0, 0)), SbVec3f(0.5f, 0.5f, 0)));
    // The camera's right (+x) now points along world -z.
    EXPECT_TRUE(near(screen(vv, SbVec3f(4, 0, -1)), SbVec3f(1, 0.5f, 0)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(4, 1, 0)), SbVec3f(0.5f, 1, 0)));

    SbMatrix placement, tmp;
    placement.setRotate(q);
    tmp.setTranslate(SbVec3f(5, 0, 0));
    placement.multRight(tmp);
    EXPECT_TRUE(near(vv.getCameraSpaceMatrix() * placement, SbMatrix::identity(), 1e-6f));
    SbMatrix affine, proj;
    vv.getMatrices(affine, proj);
    EXPECT_TRUE(near(affine * proj, vv.getMatrix(), 1e-6f));

    EXPECT_TRUE(near(vv.getSightPoint(3), SbVec3f(2, 0, 0), 1e-6f));
    const SbPlane plane = vv.getPlane(3);
    EXPECT_TRUE(near(plane.getNormal(), SbVec3f(1, 0, 0), 1e-6f));
    EXPECT_NEAR(plane.getDistance(SbVec3f(2, 7, -3)), 0.0f, 1e-5f);
}

TEST(SbViewVolumePlacement, RotationTurnsAboutTheEye) {
    SbViewVolume vv;
    vv.ortho(-1, 1, -1, 1, 0, 10);
    vv.translateCamera(SbVec3f(0, 0, 5));
    vv.rotateCamera(SbRotation(SbVec3f(0, 1, 0), static_cast<float>(SbMathHelper::PI)));
    EXPECT_TRUE(near(vv.getProjectionPoint(), SbVec3f(0, 0, 5)));
    EXPECT_TRUE(near(vv.getProjectionDirection(), SbVec3f(0, 0, 1), 1e-6f));
    EXPECT_TRUE(near(screen(vv, SbVec3f(0, 0, 10)), SbVec3f(0.5f, 0.5f, 0.5f), 1e-6f));
    // Turned around, the camera's right is world -x.
    EXPECT_TRUE(near(screen(vv, SbVec3f(-1, 0, 5)), SbVec3f(1, 0.5f, 0), 1e-6f));
    // Setting a new projection starts from an unplaced camera again.
    vv.ortho(-1, 1, -1, 1, 0, 10);
    EXPECT_EQ(vv.getProjectionPoint(), SbVec3f(0, 0, 0));
}

TEST(SbViewVolumePlacement, LaterRotationsAreInWorldSpace) {
    SbViewVolume vv;
    vv.perspective(kHalfPi, 1.0f, 1.0f, 10.0f);
    vv.rotateCamera(SbRotation(SbVec3f(0, 1, 0), kHalfPi));  // look down -x
    vv.rotateCamera(SbRotation(SbVec3f(0, 0, 1), kHalfPi));  // then turn about world z
    EXPECT_TRUE(near(vv.getProjectionDirection(), SbVec3f(0, -1, 0), 1e-6f));
    EXPECT_TRUE(near(screen(vv, SbVec3f(0, -1, 0)), SbVec3f(0.5f, 0.5f, 0), 1e-6f));
}

TEST(SbViewVolumeLines, ProjectPointToLineRoundTrip) {
    SbViewVolume persp;
    persp.perspective(0.8f, 1.5f, 2.0f, 50.0f);
    persp.rotateCamera(SbRotation(SbVec3f(1, 2, 0), 0.6f));
    persp.translateCamera(SbVec3f(-3, 4, 1));
    SbViewVolume orth;
    orth.ortho(-3, 1, -2, 2, -4, 6);
    orth.rotateCamera(SbRotation(SbVec3f(0, 1, 1), 1.2f));
    orth.translateCamera(SbVec3f(2, 0, 0));
    for (const SbViewVolume* vv : {&persp, &orth}) {
        for (const SbVec2f& pt :
             {SbVec2f(0.5f, 0.5f), SbVec2f(0.25f, 0.75f), SbVec2f(0, 0), SbVec2f(1, 0.1f)}) {
            SbVec3f p0, p1;
            vv->projectPointToLine(pt, p0, p1);
            EXPECT_TRUE(near(screen(*vv, p0), SbVec3f(pt[0], pt[1], 0), 1e-4f));
            EXPECT_TRUE(near(screen(*vv, p1), SbVec3f(pt[0], pt[1], 1), 1e-4f));
            SbLine line;
            vv->projectPointToLine(pt, line);
            SbVec3f dir = p1 - p0;
            dir.normalize();
            EXPECT_TRUE(near(line.getDirection(), dir, 1e-5f));
        }
    }
    // Perspective rays pass through the eye; orthographic ones run along the view direction.
    SbLine ray;
    persp.projectPointToLine(SbVec2f(0.9f, 0.2f), ray);
    EXPECT_TRUE(
        near(ray.getClosestPoint(persp.getProjectionPoint()), persp.getProjectionPoint(), 1e-4f));
    orth.projectPointToLine(SbVec2f(0.9f, 0.2f), ray);
    EXPECT_TRUE(near(ray.getDirection(), orth.getProjectionDirection(), 1e-6f));
}

TEST(SbViewVolumeWindow, ScaleAboutTheCentre) {
    SbViewVolume vv;
    vv.ortho(-2, 2, -1, 1, 1, 11);
    vv.scaleWidth(2.0f);
    vv.scaleHeight(0.5f);
    EXPECT_EQ(vv.getWidth(), 8.0f);
    EXPECT_EQ(vv.getHeight(), 1.0f);
    EXPECT_TRUE(near(screen(vv, SbVec3f(2, 0.5f, -1)), SbVec3f(0.75f, 1, 0)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(0, 0, -1)), SbVec3f(0.5f, 0.5f, 0)));
}

TEST(SbViewVolumeWindow, NarrowToAQuadrant) {
    SbViewVolume vv;
    vv.perspective(kHalfPi, 2.0f, 1.0f, 10.0f);
    const SbViewVolume sub = vv.narrow(0.5f, 0.5f, 1.0f, 1.0f);
    EXPECT_NEAR(sub.getWidth(), 2.0f, 1e-6f);
    EXPECT_NEAR(sub.getHeight(), 1.0f, 1e-6f);
    EXPECT_EQ(sub.getNearDist(), 1.0f);
    const SbVec3f p(3, 1.5f, -3);  // (0.75, 0.75) in the full view
    EXPECT_TRUE(near(screen(vv, p), SbVec3f(0.75f, 0.75f, screen(vv, p)[2])));
    EXPECT_TRUE(near(screen(sub, p), SbVec3f(0.5f, 0.5f, screen(vv, p)[2])));
    EXPECT_TRUE(near(screen(sub, SbVec3f(0, 0, -1)), SbVec3f(0, 0, 0)));
}

TEST(SbViewVolumeErrors, InvalidInputIsReportedAndIgnored) {
    DebugErrorRecorder recorder;
    SbViewVolume vv;
    vv.perspective(1.0f, 1.5f, 1.0f, 10.0f);
    const SbMatrix before = vv.getMatrix();
    vv.ortho(1, 1, -1, 1, 0, 1);         // no width
    vv.ortho(-1, 1, -1, 1, 5, 5);        // no depth
    vv.perspective(0.0f, 1.0f, 1, 10);   // no field of view
    vv.perspective(1.0f, -1.0f, 1, 10);  // negative aspect
    vv.perspective(1.0f, 1.0f, 0, 10);   // eye on the near plane
    vv.frustum(-1, 1, -1, 1, -1, 10);    // near behind the eye
    vv.scaleWidth(0.0f);
    vv.scaleHeight(-2.0f);
    const SbViewVolume same = vv.narrow(0.5f, 0.0f, 0.5f, 1.0f);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 9u) << recorder.dump();
    EXPECT_EQ(vv.getMatrix(), before);
    EXPECT_EQ(same.getMatrix(), before);
    EXPECT_EQ(vv.getProjectionType(), SbViewVolume::PERSPECTIVE);
}

TEST(SbViewVolume, DefaultVolume) {
    const SbViewVolume vv;
    EXPECT_EQ(vv.getProjectionType(), SbViewVolume::ORTHOGRAPHIC);
    EXPECT_EQ(vv.getWidth(), 2.0f);
    EXPECT_EQ(vv.getNearDist(), 0.0f);
    EXPECT_EQ(vv.getDepth(), 1.0f);
    EXPECT_EQ(vv.getProjectionDirection(), SbVec3f(0, 0, -1));
}
