#include <Tessara/math/SbBox2f.h>
#include <Tessara/math/SbBox3f.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbRotation.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "MathTestUtil.h"
#include "support/DebugErrorRecorder.h"

TEST(SbBox3f, NewBoxIsEmpty) {
    const SbBox3f box;
    EXPECT_TRUE(box.isEmpty());
    EXPECT_FALSE(box.hasVolume());
    EXPECT_EQ(box.getMin(), SbVec3f(FLT_MAX, FLT_MAX, FLT_MAX));
    EXPECT_EQ(box.getMax(), SbVec3f(-FLT_MAX, -FLT_MAX, -FLT_MAX));
    EXPECT_EQ(box.getSize(), SbVec3f(0, 0, 0));
    EXPECT_EQ(box.getCenter(), SbVec3f(0, 0, 0));
    EXPECT_FALSE(box.intersect(SbVec3f(0, 0, 0)));
}

TEST(SbBox3f, ExtendByPointsAndBoxes) {
    SbBox3f box;
    box.extendBy(SbVec3f(1, 2, 3));
    EXPECT_FALSE(box.isEmpty());
    EXPECT_FALSE(box.hasVolume());  // a single point
    EXPECT_EQ(box.getMin(), SbVec3f(1, 2, 3));
    EXPECT_EQ(box.getMax(), SbVec3f(1, 2, 3));
    box.extendBy(SbVec3f(-1, 5, 3));
    box.extendBy(SbVec3f(0, 0, 4));
    EXPECT_EQ(box, SbBox3f(-1, 0, 3, 1, 5, 4));
    EXPECT_TRUE(box.hasVolume());

    SbBox3f other(SbVec3f(0, 0, 0), SbVec3f(10, 1, 1));
    box.extendBy(other);
    EXPECT_EQ(box, SbBox3f(-1, 0, 0, 10, 5, 4));
    box.extendBy(SbBox3f());  // empty: nothing changes
    EXPECT_EQ(box, SbBox3f(-1, 0, 0, 10, 5, 4));
    SbBox3f empty;
    empty.extendBy(other);
    EXPECT_EQ(empty, other);
}

TEST(SbBox3f, SizeCentreOriginBounds) {
    SbBox3f box(-1, 0, 2, 3, 6, 3);
    EXPECT_EQ(box.getSize(), SbVec3f(4, 6, 1));
    float x, y, z;
    box.getSize(x, y, z);
    EXPECT_EQ(y, 6.0f);
    EXPECT_EQ(box.getCenter(), SbVec3f(1, 3, 2.5f));
    EXPECT_EQ(box.getOrigin(), SbVec3f(-1, 0, 2));
    float b[6];
    box.getBounds(b[0], b[1], b[2], b[3], b[4], b[5]);
    EXPECT_EQ(b[2], 2.0f);
    EXPECT_EQ(b[3], 3.0f);
    box.setBounds(0, 0, 0, 1, 1, 1);
    SbVec3f lo, hi;
    box.getBounds(lo, hi);
    EXPECT_EQ(hi, SbVec3f(1, 1, 1));
    box.makeEmpty();
    EXPECT_TRUE(box.isEmpty());
    // Huge boxes must not overflow when the centre is computed.
    const SbBox3f huge(-FLT_MAX, -FLT_MAX, -FLT_MAX, FLT_MAX, FLT_MAX, FLT_MAX);
    EXPECT_EQ(huge.getCenter(), SbVec3f(0, 0, 0));
}

TEST(SbBox3f, PointIntersectionIncludesTheLimits) {
    const SbBox3f box(0, 0, 0, 1, 2, 3);
    EXPECT_TRUE(box.intersect(SbVec3f(0.5f, 1, 1)));
    EXPECT_TRUE(box.intersect(SbVec3f(0, 0, 0)));
    EXPECT_TRUE(box.intersect(SbVec3f(1, 2, 3)));
    EXPECT_TRUE(box.intersect(SbVec3f(1, 0, 1.5f)));
    EXPECT_FALSE(box.intersect(SbVec3f(std::nextafter(1.0f, 2.0f), 1, 1)));
    EXPECT_FALSE(box.intersect(SbVec3f(0.5f, 1, -std::numeric_limits<float>::denorm_min())));
    EXPECT_FALSE(box.intersect(SbVec3f(std::numeric_limits<float>::quiet_NaN(), 1, 1)));
}

TEST(SbBox3f, BoxIntersection) {
    const SbBox3f box(0, 0, 0, 1, 1, 1);
    EXPECT_TRUE(box.intersect(SbBox3f(0.5f, 0.5f, 0.5f, 2, 2, 2)));
    EXPECT_TRUE(box.intersect(SbBox3f(1, 1, 1, 2, 2, 2)));     // touching at a corner
    EXPECT_TRUE(box.intersect(SbBox3f(-1, -1, -1, 3, 3, 3)));  // containing
    EXPECT_FALSE(box.intersect(SbBox3f(1.01f, 0, 0, 2, 1, 1)));
    EXPECT_FALSE(box.intersect(SbBox3f(0, 0, -2, 1, 1, -0.5f)));
    EXPECT_FALSE(box.intersect(SbBox3f()));
    EXPECT_FALSE(SbBox3f().intersect(box));
}

TEST(SbBox3f, TransformBoundsTheCorners) {
    SbBox3f box(0, 0, 0, 1, 1, 1);
    SbMatrix m;
    m.setRotate(SbRotation(SbVec3f(0, 0, 1), static_cast<float>(SbMathHelper::PI / 4)));
    box.transform(m);
    const float h = std::sqrt(0.5f);
    EXPECT_TRUE(near(box.getMin(), SbVec3f(-h, 0, 0), 1e-6f));
    EXPECT_TRUE(near(box.getMax(), SbVec3f(h, 2 * h, 1), 1e-6f));

    SbBox3f moved(0, 0, 0, 1, 2, 3);
    m.setTransform(SbVec3f(10, 0, 0), SbRotation(), SbVec3f(-2, 1, 1));
    moved.transform(m);
    EXPECT_EQ(moved, SbBox3f(8, 0, 0, 10, 2, 3));

    SbBox3f empty;
    empty.transform(m);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(SbBox3f, Span) {
    const SbBox3f box(0, 0, 0, 1, 2, 3);
    float lo, hi;
    box.getSpan(SbVec3f(1, 0, 0), lo, hi);
    EXPECT_EQ(lo, 0.0f);
    EXPECT_EQ(hi, 1.0f);
    box.getSpan(SbVec3f(1, -1, 1), lo, hi);
    EXPECT_EQ(lo, -2.0f);
    EXPECT_EQ(hi, 4.0f);
    SbBox3f().getSpan(SbVec3f(1, 0, 0), lo, hi);
    EXPECT_GT(lo, hi);
}

TEST(SbBox3f, NaNPointIsReportedAndIgnored) {
    DebugErrorRecorder recorder;
    SbBox3f box(0, 0, 0, 1, 1, 1);
    box.extendBy(SbVec3f(5, std::numeric_limits<float>::quiet_NaN(), 5));
    EXPECT_EQ(box, SbBox3f(0, 0, 0, 1, 1, 1));
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u);
}

TEST(SbBox2f, EmptyExtendAndArea) {
    SbBox2f box;
    EXPECT_TRUE(box.isEmpty());
    EXPECT_FALSE(box.hasArea());
    EXPECT_EQ(box.getMin(), SbVec2f(FLT_MAX, FLT_MAX));
    EXPECT_EQ(box.getSize(), SbVec2f(0, 0));
    box.extendBy(SbVec2f(1, 1));
    EXPECT_FALSE(box.hasArea());
    box.extendBy(SbVec2f(5, -1));
    EXPECT_TRUE(box.hasArea());
    EXPECT_EQ(box, SbBox2f(1, -1, 5, 1));
    EXPECT_EQ(box.getCenter(), SbVec2f(3, 0));
    EXPECT_EQ(box.getSize(), SbVec2f(4, 2));
    EXPECT_EQ(box.getAspectRatio(), 2.0f);
    EXPECT_EQ(box.getOrigin(), SbVec2f(1, -1));
    box.extendBy(SbBox2f(SbVec2f(0, 0), SbVec2f(6, 0.5f)));
    EXPECT_EQ(box, SbBox2f(0, -1, 6, 1));
    box.extendBy(SbBox2f());
    EXPECT_EQ(box, SbBox2f(0, -1, 6, 1));
    float x0, y0, x1, y1;
    box.getBounds(x0, y0, x1, y1);
    EXPECT_EQ(x1, 6.0f);
    EXPECT_EQ(y0, -1.0f);
    EXPECT_EQ(SbBox2f(0, 0, 1, 0).getAspectRatio(), 0.0f);
}

TEST(SbBox2f, Intersections) {
    const SbBox2f box(0, 0, 2, 1);
    EXPECT_TRUE(box.intersect(SbVec2f(2, 1)));
    EXPECT_TRUE(box.intersect(SbVec2f(0, 0.5f)));
    EXPECT_FALSE(box.intersect(SbVec2f(2.001f, 1)));
    EXPECT_TRUE(box.intersect(SbBox2f(2, 1, 3, 3)));
    EXPECT_FALSE(box.intersect(SbBox2f(2.5f, 0, 3, 1)));
    EXPECT_FALSE(box.intersect(SbBox2f()));
    EXPECT_NE(box, SbBox2f(0, 0, 2, 1.5f));
}
