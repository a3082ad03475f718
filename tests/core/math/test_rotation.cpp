#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbRotation.h>
#include <gtest/gtest.h>

#include <cmath>

#include "MathTestUtil.h"
#include "support/DebugErrorRecorder.h"

namespace {

const float kHalfPi = static_cast<float>(SbMathHelper::PI / 2);
const float kPi = static_cast<float>(SbMathHelper::PI);

SbVec3f rotate(const SbRotation& r, const SbVec3f& v) {
    SbVec3f out;
    r.multVec(v, out);
    return out;
}

SbMatrix matrixOf(const SbRotation& r) {
    SbMatrix m;
    r.getValue(m);
    return m;
}

}  // namespace

TEST(SbRotation, DefaultIsIdentity) {
    const SbRotation r;
    EXPECT_EQ(r, SbRotation(0, 0, 0, 1));
    EXPECT_EQ(r, SbRotation::identity());
    SbVec3f axis;
    float angle = -1.0f;
    r.getValue(axis, angle);
    EXPECT_EQ(angle, 0.0f);
    EXPECT_EQ(axis, SbVec3f(0, 0, 1));
    EXPECT_EQ(matrixOf(r), SbMatrix::identity());
}

TEST(SbRotation, AxisAngleRoundTrip) {
    const SbVec3f axes[] = {SbVec3f(1, 0, 0), SbVec3f(0, -1, 0), SbVec3f(1, 2, 3),
                            SbVec3f(-0.3f, 0.1f, 0.9f)};
    const float angles[] = {0.001f, 0.5f, kHalfPi, 2.5f, 3.1f};
    for (const SbVec3f& axisIn : axes) {
        for (float angleIn : angles) {
            SbVec3f axis;
            float angle;
            SbRotation(axisIn, angleIn).getValue(axis, angle);
            SbVec3f unit = axisIn;
            unit.normalize();
            EXPECT_TRUE(near(axis, unit, 1e-5f)) << angleIn;
            EXPECT_NEAR(angle, angleIn, 1e-5f);
        }
    }
}

TEST(SbRotation, QuaternionLayoutIsXYZW) {
    const SbRotation r(SbVec3f(0, 0, 2), kHalfPi);
    const float* q = r.getValue();
    const float s = std::sqrt(0.5f);
    EXPECT_NEAR(q[0], 0.0f, 1e-7f);
    EXPECT_NEAR(q[1], 0.0f, 1e-7f);
    EXPECT_NEAR(q[2], s, 1e-7f);
    EXPECT_NEAR(q[3], s, 1e-7f);
    // Non-unit quaternions are normalised on the way in.
    EXPECT_TRUE(near(SbRotation(0, 0, 3, 3), r, 1e-7f));
}

TEST(SbRotation, QuarterTurnAboutZTurnsXIntoY) {
    const SbRotation r(SbVec3f(0, 0, 1), kHalfPi);
    EXPECT_TRUE(near(rotate(r, SbVec3f(1, 0, 0)), SbVec3f(0, 1, 0), 1e-6f));
    EXPECT_TRUE(near(rotate(r, SbVec3f(0, 1, 0)), SbVec3f(-1, 0, 0), 1e-6f));
    // The matrix form agrees, for row vectors.
    EXPECT_TRUE(near(xform(matrixOf(r), SbVec3f(1, 0, 0)), SbVec3f(0, 1, 0), 1e-6f));
    const SbMatrix m = matrixOf(r);
    EXPECT_NEAR(m[0][1], 1.0f, 1e-6f);  // row 0 is the image of x
    EXPECT_NEAR(m[1][0], -1.0f, 1e-6f);
}

TEST(SbRotation, CompositionAppliesLeftOperandFirst) {
    const SbRotation a(SbVec3f(0, 0, 1), kHalfPi);  // x -> y
    const SbRotation b(SbVec3f(1, 0, 0), kHalfPi);  // y -> z
    const SbRotation ab = a * b;
    EXPECT_TRUE(near(rotate(ab, SbVec3f(1, 0, 0)), SbVec3f(0, 0, 1), 1e-6f));
    EXPECT_TRUE(near(rotate(b * a, SbVec3f(1, 0, 0)), SbVec3f(0, 1, 0), 1e-6f));
    EXPECT_TRUE(near(matrixOf(ab), matrixOf(a) * matrixOf(b), 1e-6f));

    const SbRotation c(SbVec3f(1, 2, -1), 0.7f), d(SbVec3f(-2, 0.5f, 1), 2.1f);
    EXPECT_TRUE(near(matrixOf(c * d), matrixOf(c) * matrixOf(d), 1e-6f));
    SbRotation e = c;
    e *= d;
    EXPECT_TRUE(near(e, c * d, 1e-7f));
}

TEST(SbRotation, MultVecMatchesMatrix) {
    const SbRotation r(SbVec3f(0.2f, -1, 0.4f), 1.3f);
    const SbMatrix m = matrixOf(r);
    for (const SbVec3f& v : {SbVec3f(1, 0, 0), SbVec3f(0.5f, -2, 3), SbVec3f(-1, -1, 7)}) {
        EXPECT_TRUE(near(rotate(r, v), xform(m, v), 1e-5f));
        EXPECT_NEAR(rotate(r, v).length(), v.length(), 1e-5f);
    }
}

TEST(SbRotation, InverseUndoes) {
    const SbRotation r(SbVec3f(3, -1, 2), 0.9f);
    EXPECT_TRUE(near(r * r.inverse(), SbRotation::identity(), 1e-6f));
    const SbVec3f v(1, 2, 3);
    EXPECT_TRUE(near(rotate(r.inverse(), rotate(r, v)), v, 1e-5f));
    SbRotation s = r;
    s.invert();
    EXPECT_EQ(s, r.inverse());
    EXPECT_TRUE(near(matrixOf(s), matrixOf(r).inverse(), 1e-6f));
}

TEST(SbRotation, FromToTurnsOneDirectionIntoTheOther) {
    EXPECT_TRUE(near(SbRotation(SbVec3f(1, 0, 0), SbVec3f(0, 2, 0)),
                     SbRotation(SbVec3f(0, 0, 1), kHalfPi)));
    const SbVec3f pairs[][2] = {{SbVec3f(1, 2, 3), SbVec3f(-3, 0.5f, 2)},
                                {SbVec3f(0, 0, 1), SbVec3f(0.001f, 0, 1)},
                                {SbVec3f(5, 0, 0), SbVec3f(5, 0, 0)}};
    for (const auto& pair : pairs) {
        SbVec3f to = pair[1];
        to.normalize();
        SbVec3f from = pair[0];
        from.normalize();
        EXPECT_TRUE(near(rotate(SbRotation(pair[0], pair[1]), from), to, 1e-6f)) << str(pair[1]);
    }
}

TEST(SbRotation, FromToOppositeDirectionsIsAHalfTurn) {
    for (const SbVec3f& from : {SbVec3f(1, 0, 0), SbVec3f(0, 0, 1), SbVec3f(0, -3, 0),
                                SbVec3f(1, 2, 3), SbVec3f(-0.6f, 0.0f, 0.8f)}) {
        const SbRotation r(from, -from);
        SbVec3f unit = from;
        unit.normalize();
        EXPECT_TRUE(near(rotate(r, unit), -unit, 1e-6f)) << str(from);
        SbVec3f axis;
        float angle;
        r.getValue(axis, angle);
        EXPECT_NEAR(angle, kPi, 1e-5f);
        EXPECT_NEAR(axis.dot(unit), 0.0f, 1e-6f);  // the axis is perpendicular
    }
}

TEST(SbRotation, FromMatrixRoundTrip) {
    for (const SbRotation& r :
         {SbRotation(SbVec3f(1, 0, 0), 3.0f), SbRotation(SbVec3f(0, 1, 0), kPi),
          SbRotation(SbVec3f(1, 1, 1), 2.0f), SbRotation(SbVec3f(-1, 2, 0.5f), 0.2f),
          SbRotation(SbVec3f(0, 0, 1), -2.9f)}) {
        EXPECT_TRUE(near(SbRotation(matrixOf(r)), r, 1e-6f)) << str(r);
    }
    // A scaled rotation still yields the rotation.
    const SbRotation r(SbVec3f(1, -2, 0.5f), 0.8f);
    SbMatrix scaled;
    scaled.setTransform(SbVec3f(4, 5, 6), r, SbVec3f(2, 3, 0.5f));
    EXPECT_TRUE(near(SbRotation(scaled), r, 1e-6f));
}

TEST(SbRotation, EqualsAcceptsEitherQuaternionSign) {
    const SbRotation r(SbVec3f(1, 2, 3), 1.0f);
    const float* q = r.getValue();
    const SbRotation negated(-q[0], -q[1], -q[2], -q[3]);
    EXPECT_TRUE(r.equals(negated, 1e-7f));
    EXPECT_FALSE(r == negated);
    EXPECT_TRUE(r != negated);
    EXPECT_FALSE(r.equals(SbRotation(SbVec3f(1, 2, 3), 1.01f), 1e-4f));
}

TEST(SbRotation, SlerpEndpointsAndMidpoint) {
    const SbRotation a(SbVec3f(0, 0, 1), 0.0f), b(SbVec3f(0, 0, 1), kHalfPi);
    EXPECT_TRUE(near(SbRotation::slerp(a, b, 0.0f), a, 1e-6f));
    EXPECT_TRUE(near(SbRotation::slerp(a, b, 1.0f), b, 1e-6f));
    EXPECT_TRUE(
        near(SbRotation::slerp(a, b, 0.5f), SbRotation(SbVec3f(0, 0, 1), kHalfPi / 2), 1e-6f));
    EXPECT_TRUE(
        near(SbRotation::slerp(a, b, 0.25f), SbRotation(SbVec3f(0, 0, 1), kHalfPi / 4), 1e-6f));

    const SbRotation c(SbVec3f(1, 2, 3), 0.4f), d(SbVec3f(-2, 1, 0), 2.5f);
    EXPECT_TRUE(near(SbRotation::slerp(c, d, 0.0f), c, 1e-6f));
    EXPECT_TRUE(near(SbRotation::slerp(c, d, 1.0f), d, 1e-6f));
    // Almost equal rotations take the linear path without dividing by ~0.
    const SbRotation e(SbVec3f(1, 2, 3), 0.4f + 1e-5f);
    EXPECT_TRUE(near(SbRotation::slerp(c, e, 0.5f), c, 1e-5f));
}

TEST(SbRotation, SlerpTakesTheShorterArc) {
    // 350 degrees about z is -10 degrees: halfway from identity is -5 degrees, not 175.
    const SbRotation a, b(SbVec3f(0, 0, 1), SbMathHelper::deg2rad(350.0f));
    const SbRotation mid = SbRotation::slerp(a, b, 0.5f);
    EXPECT_TRUE(near(mid, SbRotation(SbVec3f(0, 0, 1), SbMathHelper::deg2rad(-5.0f)), 1e-6f));
}

TEST(SbRotation, DegenerateInputIsReportedAndGivesIdentity) {
    DebugErrorRecorder recorder;
    EXPECT_EQ(SbRotation(SbVec3f(0, 0, 0), 1.0f), SbRotation::identity());
    EXPECT_EQ(SbRotation(0, 0, 0, 0), SbRotation::identity());
    EXPECT_EQ(SbRotation(SbVec3f(0, 0, 0), SbVec3f(1, 0, 0)), SbRotation::identity());
    SbMatrix flat;
    flat.setScale(SbVec3f(1, 0, 1));
    EXPECT_EQ(SbRotation(flat), SbRotation::identity());
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 4u) << recorder.dump();
}
