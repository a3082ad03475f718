#include <Tessara/math/SbBox3f.h>
#include <Tessara/math/SbLine.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbPlane.h>
#include <Tessara/math/SbRotation.h>
#include <Tessara/math/SbSphere.h>
#include <gtest/gtest.h>

#include <cmath>

#include "MathTestUtil.h"
#include "support/DebugErrorRecorder.h"

TEST(SbLine, TwoPointsGiveUnitDirection) {
    const SbLine line(SbVec3f(1, 1, 1), SbVec3f(1, 4, 5));
    EXPECT_EQ(line.getPosition(), SbVec3f(1, 1, 1));
    EXPECT_TRUE(near(line.getDirection(), SbVec3f(0, 0.6f, 0.8f), 1e-7f));
    SbLine other;
    EXPECT_EQ(other.getDirection(), SbVec3f(0, 0, 1));
    other.setPosDir(SbVec3f(0, 0, 0), SbVec3f(0, 0, -7));
    EXPECT_EQ(other.getDirection(), SbVec3f(0, 0, -1));
}

TEST(SbLine, ClosestPoint) {
    const SbLine line(SbVec3f(0, 0, 0), SbVec3f(2, 0, 0));
    EXPECT_EQ(line.getClosestPoint(SbVec3f(5, 3, -4)), SbVec3f(5, 0, 0));
    EXPECT_EQ(line.getClosestPoint(SbVec3f(-1, 1, 1)), SbVec3f(-1, 0, 0));
}

TEST(SbLine, ClosestPointsOfSkewAndParallelLines) {
    const SbLine a(SbVec3f(0, 0, 0), SbVec3f(1, 0, 0));
    const SbLine b(SbVec3f(3, -1, 2), SbVec3f(3, 1, 2));  // along y, 2 above the x axis
    SbVec3f onA, onB;
    ASSERT_TRUE(a.getClosestPoints(b, onA, onB));
    EXPECT_TRUE(near(onA, SbVec3f(3, 0, 0), 1e-6f));
    EXPECT_TRUE(near(onB, SbVec3f(3, 0, 2), 1e-6f));
    const SbLine parallel(SbVec3f(0, 1, 0), SbVec3f(5, 1, 0));
    EXPECT_FALSE(a.getClosestPoints(parallel, onA, onB));
}

TEST(SbLine, CoincidentPointsAreReported) {
    DebugErrorRecorder recorder;
    const SbLine line(SbVec3f(1, 2, 3), SbVec3f(1, 2, 3));
    EXPECT_EQ(line.getPosition(), SbVec3f(1, 2, 3));
    EXPECT_EQ(line.getDirection(), SbVec3f(0, 0, 1));
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u);
}

TEST(SbPlane, ConstructionsAgree) {
    const SbPlane a(SbVec3f(0, 0, 2), 6.0f);  // unnormalised normal: still the plane z = 3
    EXPECT_EQ(a.getNormal(), SbVec3f(0, 0, 1));
    EXPECT_EQ(a.getDistanceFromOrigin(), 3.0f);
    const SbPlane b(SbVec3f(0, 0, 3), SbVec3f(4, 5, 3));
    EXPECT_EQ(a, b);
    // Counter-clockwise seen from +z: the normal faces +z.
    const SbPlane c(SbVec3f(0, 0, 3), SbVec3f(1, 0, 3), SbVec3f(0, 1, 3));
    EXPECT_EQ(c, a);
    const SbPlane flipped(SbVec3f(0, 0, 3), SbVec3f(0, 1, 3), SbVec3f(1, 0, 3));
    EXPECT_EQ(flipped.getNormal(), SbVec3f(0, 0, -1));
    EXPECT_EQ(flipped.getDistanceFromOrigin(), -3.0f);
}

TEST(SbPlane, HalfSpaceAndDistance) {
    const SbPlane p(SbVec3f(1, 0, 0), 2.0f);
    EXPECT_TRUE(p.isInHalfSpace(SbVec3f(5, 0, 0)));
    EXPECT_TRUE(p.isInHalfSpace(SbVec3f(2, 9, 9)));  // on the plane counts
    EXPECT_FALSE(p.isInHalfSpace(SbVec3f(1.9f, 0, 0)));
    EXPECT_EQ(p.getDistance(SbVec3f(-1, 3, 3)), -3.0f);
    SbPlane q = p;
    q.offset(1.0f);
    EXPECT_FALSE(q.isInHalfSpace(SbVec3f(2.5f, 0, 0)));
}

TEST(SbPlane, LineIntersection) {
    const SbPlane p(SbVec3f(0, 1, 0), 4.0f);
    SbVec3f hit;
    ASSERT_TRUE(p.intersect(SbLine(SbVec3f(1, 0, 1), SbVec3f(2, 1, 1)), hit));
    EXPECT_TRUE(near(hit, SbVec3f(5, 4, 1), 1e-5f));
    EXPECT_FALSE(p.intersect(SbLine(SbVec3f(0, 0, 0), SbVec3f(1, 0, 0)), hit));
}

TEST(SbPlane, TransformMovesWithItsPoints) {
    SbPlane p(SbVec3f(0, 0, 1), 1.0f);
    SbMatrix m;
    m.setTransform(SbVec3f(0, 0, 5),
                   SbRotation(SbVec3f(1, 0, 0), static_cast<float>(SbMathHelper::PI / 2)),
                   SbVec3f(1, 1, 1));
    const SbVec3f onPlane(2, 3, 1);
    p.transform(m);
    EXPECT_NEAR(p.getDistance(xform(m, onPlane)), 0.0f, 1e-5f);
    EXPECT_TRUE(near(p.getNormal(), SbVec3f(0, -1, 0), 1e-6f));
    // Non-uniform scale: normals must not simply be scaled like points.
    SbPlane diag(SbVec3f(1, 1, 0), SbVec3f(1, 0, 0));
    SbMatrix s;
    s.setScale(SbVec3f(2, 1, 1));
    diag.transform(s);
    EXPECT_NEAR(diag.getDistance(SbVec3f(2, 0, 0)), 0.0f, 1e-6f);
    EXPECT_NEAR(diag.getDistance(SbVec3f(0, 1, 0)), 0.0f, 1e-6f);
}

TEST(SbSphere, CircumscribeAndInside) {
    SbSphere s;
    s.circumscribe(SbBox3f(0, 0, 0, 2, 2, 2));
    EXPECT_EQ(s.getCenter(), SbVec3f(1, 1, 1));
    EXPECT_FLOAT_EQ(s.getRadius(), std::sqrt(3.0f));
    EXPECT_TRUE(s.pointInside(SbVec3f(0.01f, 0.01f, 0.01f)));
    EXPECT_FALSE(s.pointInside(SbVec3f(-0.1f, -0.1f, -0.1f)));
    s.circumscribe(SbBox3f());
    EXPECT_EQ(s.getRadius(), 0.0f);
}

TEST(SbSphere, LineIntersection) {
    const SbSphere s(SbVec3f(0, 0, 0), 2.0f);
    SbVec3f in, out;
    ASSERT_TRUE(s.intersect(SbLine(SbVec3f(-5, 0, 0), SbVec3f(5, 0, 0)), in, out));
    EXPECT_TRUE(near(in, SbVec3f(-2, 0, 0), 1e-6f));
    EXPECT_TRUE(near(out, SbVec3f(2, 0, 0), 1e-6f));
    EXPECT_FALSE(s.intersect(SbLine(SbVec3f(-5, 3, 0), SbVec3f(5, 3, 0)), in, out));
}

TEST(SbSphere, NegativeRadiusIsReported) {
    DebugErrorRecorder recorder;
    const SbSphere s(SbVec3f(1, 1, 1), -1.0f);
    EXPECT_EQ(s.getRadius(), 0.0f);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u);
}
