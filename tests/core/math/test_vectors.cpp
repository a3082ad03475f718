#include <Tessara/math/SbMathHelper.h>
#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec2i32.h>
#include <Tessara/math/SbVec2s.h>
#include <Tessara/math/SbVec3f.h>
#include <Tessara/math/SbVec3s.h>
#include <Tessara/math/SbVec4f.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "MathTestUtil.h"
#include "support/DebugErrorRecorder.h"

TEST(SbVec3f, ConstructionAndAccess) {
    EXPECT_EQ(SbVec3f(), SbVec3f(0, 0, 0));
    const float arr[3] = {1.5f, -2.0f, 3.25f};
    const SbVec3f v(arr);
    EXPECT_EQ(v, SbVec3f(1.5f, -2.0f, 3.25f));
    float x, y, z;
    v.getValue(x, y, z);
    EXPECT_EQ(x, 1.5f);
    EXPECT_EQ(y, -2.0f);
    EXPECT_EQ(z, 3.25f);
    EXPECT_EQ(v.getValue()[2], 3.25f);
    SbVec3f w;
    w[1] = 7.0f;
    EXPECT_EQ(w, SbVec3f(0, 7, 0));
    w.setValue(arr);
    EXPECT_EQ(w, v);
}

TEST(SbVec3f, Arithmetic) {
    const SbVec3f a(1, 2, 3), b(4, -5, 6);
    EXPECT_EQ(a + b, SbVec3f(5, -3, 9));
    EXPECT_EQ(a - b, SbVec3f(-3, 7, -3));
    EXPECT_EQ(a * 2.0f, SbVec3f(2, 4, 6));
    EXPECT_EQ(2.0f * a, SbVec3f(2, 4, 6));
    EXPECT_EQ(b / 2.0f, SbVec3f(2, -2.5f, 3));
    EXPECT_EQ(-a, SbVec3f(-1, -2, -3));
    SbVec3f c = a;
    c += b;
    c -= SbVec3f(1, 1, 1);
    c *= 3.0f;
    c /= 2.0f;
    EXPECT_EQ(c, SbVec3f(6, -6, 12));
    c.negate();
    EXPECT_EQ(c, SbVec3f(-6, 6, -12));
    EXPECT_NE(a, b);
    EXPECT_FALSE(a != SbVec3f(1, 2, 3));
}

TEST(SbVec3f, DotCrossAndLength) {
    const SbVec3f x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    EXPECT_EQ(x.cross(y), z);
    EXPECT_EQ(y.cross(z), x);
    EXPECT_EQ(z.cross(x), y);
    EXPECT_EQ(y.cross(x), -z);
    EXPECT_EQ(SbVec3f(1, 2, 3).dot(SbVec3f(4, -5, 6)), 12.0f);
    EXPECT_EQ(SbVec3f(2, 3, 6).length(), 7.0f);
    EXPECT_EQ(SbVec3f(2, 3, 6).sqrLength(), 49.0f);
}

TEST(SbVec3f, NormalizeReturnsFormerLengthAndKeepsZero) {
    SbVec3f v(0, 3, 4);
    EXPECT_EQ(v.normalize(), 5.0f);
    EXPECT_TRUE(near(v, SbVec3f(0, 0.6f, 0.8f), 1e-7f));
    EXPECT_NEAR(v.length(), 1.0f, 1e-7f);
    SbVec3f zero;
    EXPECT_EQ(zero.normalize(), 0.0f);
    EXPECT_EQ(zero, SbVec3f(0, 0, 0));
}

TEST(SbVec3f, EqualsUsesPerComponentTolerance) {
    const SbVec3f a(1, 2, 3);
    EXPECT_TRUE(a.equals(SbVec3f(1.05f, 1.95f, 3.0f), 0.1f));
    EXPECT_FALSE(a.equals(SbVec3f(1.0f, 2.0f, 3.2f), 0.1f));
    EXPECT_TRUE(a.equals(a, 0.0f));
}

TEST(SbVec3f, BadIndexAndNullArrayAreReported) {
    DebugErrorRecorder recorder;
    SbVec3f v(1, 2, 3);
    v[3] = 99.0f;  // must not land in memory after the vector
    v[-1] = 98.0f;
    const SbVec3f& cv = v;
    EXPECT_EQ(cv[5], 0.0f);
    EXPECT_EQ(v, SbVec3f(1, 2, 3));
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 3u) << recorder.dump();
    EXPECT_TRUE(recorder.contains("SbVec3f", "index 3"));

    recorder.clear();
    const float* none = nullptr;
    EXPECT_EQ(SbVec3f(none), SbVec3f(0, 0, 0));
    EXPECT_TRUE(recorder.contains("SbVec3f::setValue", "null"));
}

TEST(SbVec2f, ArithmeticAndNormalize) {
    const float arr[2] = {3, 4};
    SbVec2f v(arr);
    EXPECT_EQ(v.length(), 5.0f);
    EXPECT_EQ(v + SbVec2f(1, 1), SbVec2f(4, 5));
    EXPECT_EQ(v - SbVec2f(1, 1), SbVec2f(2, 3));
    EXPECT_EQ(v * 2.0f, SbVec2f(6, 8));
    EXPECT_EQ(v / 2.0f, SbVec2f(1.5f, 2));
    EXPECT_EQ(-v, SbVec2f(-3, -4));
    EXPECT_EQ(v.dot(SbVec2f(-4, 3)), 0.0f);
    EXPECT_EQ(v.normalize(), 5.0f);
    EXPECT_TRUE(near(v, SbVec2f(0.6f, 0.8f), 1e-7f));
    float x, y;
    v.getValue(x, y);
    EXPECT_EQ(x, v[0]);
    EXPECT_EQ(y, v[1]);
    SbVec2f zero;
    EXPECT_EQ(zero.normalize(), 0.0f);
    EXPECT_EQ(zero, SbVec2f());
}

TEST(SbVec4f, ArithmeticAndGetReal) {
    const SbVec4f a(1, 2, 3, 4);
    EXPECT_EQ(a + a, SbVec4f(2, 4, 6, 8));
    EXPECT_EQ(a - SbVec4f(1, 1, 1, 1), SbVec4f(0, 1, 2, 3));
    EXPECT_EQ(a * 0.5f, SbVec4f(0.5f, 1, 1.5f, 2));
    EXPECT_EQ(a.dot(a), 30.0f);
    SbVec4f n(0, 0, 3, 4);
    EXPECT_EQ(n.normalize(), 5.0f);
    SbVec3f real;
    SbVec4f(2, 4, 6, 2).getReal(real);
    EXPECT_EQ(real, SbVec3f(1, 2, 3));
    SbVec4f(1, 2, 3, -0.5f).getReal(real);
    EXPECT_EQ(real, SbVec3f(-2, -4, -6));
}

TEST(SbVec4f, GetRealOfDirectionIsReportedAndUndivided) {
    DebugErrorRecorder recorder;
    SbVec3f real(9, 9, 9);
    SbVec4f(1, 2, 3, 0).getReal(real);
    EXPECT_EQ(real, SbVec3f(1, 2, 3));
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 1u);
}

TEST(SbVec2s, Basics) {
    SbVec2s v(640, 480);
    EXPECT_EQ(v + SbVec2s(1, 2), SbVec2s(641, 482));
    EXPECT_EQ(v - SbVec2s(40, 80), SbVec2s(600, 400));
    short x, y;
    v.getValue(x, y);
    EXPECT_EQ(x, 640);
    EXPECT_EQ(y, 480);
    v[0] = 10;
    EXPECT_EQ(v.getValue()[0], 10);
    EXPECT_NE(v, SbVec2s(640, 480));
    const short arr[2] = {-3, 7};
    EXPECT_EQ(SbVec2s(arr), SbVec2s(-3, 7));
    EXPECT_EQ(SbVec2s(), SbVec2s(0, 0));
}

TEST(SbVec3s, Basics) {
    const short arr[3] = {1, -2, 3};
    SbVec3s v(arr);
    EXPECT_EQ(v + SbVec3s(1, 1, 1), SbVec3s(2, -1, 4));
    EXPECT_EQ(v - SbVec3s(1, 1, 1), SbVec3s(0, -3, 2));
    short x, y, z;
    v.getValue(x, y, z);
    EXPECT_EQ(z, 3);
    v.setValue(4, 5, 6);
    EXPECT_EQ(v[1], 5);
    EXPECT_TRUE(v != SbVec3s(4, 5, 7));
}

TEST(SbVec2i32, BasicsAndWrapAround) {
    SbVec2i32 v(100000, -200000);
    EXPECT_EQ(v + SbVec2i32(1, 2), SbVec2i32(100001, -199998));
    EXPECT_EQ(v - SbVec2i32(100000, 0), SbVec2i32(0, -200000));
    int32_t x, y;
    v.getValue(x, y);
    EXPECT_EQ(x, 100000);
    EXPECT_EQ(y, -200000);
    // Overflow wraps rather than invoking undefined behaviour (checked under UBSan).
    const int32_t big = std::numeric_limits<int32_t>::max();
    const SbVec2i32 wrapped = SbVec2i32(big, 0) + SbVec2i32(1, 0);
    EXPECT_EQ(wrapped[0], std::numeric_limits<int32_t>::min());
    DebugErrorRecorder recorder;
    EXPECT_EQ(v[2], 0);
    EXPECT_EQ(recorder.size(), 1u);
}

TEST(SbMathHelper, NaNAndFinite) {
    const float fnan = std::numeric_limits<float>::quiet_NaN();
    const double dnan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(SbMathHelper::isNaN(fnan));
    EXPECT_TRUE(SbMathHelper::isNaN(dnan));
    EXPECT_FALSE(SbMathHelper::isNaN(0.0f));
    EXPECT_FALSE(SbMathHelper::isNaN(std::numeric_limits<double>::infinity()));
    EXPECT_TRUE(SbMathHelper::isFinite(FLT_MAX));
    EXPECT_FALSE(SbMathHelper::isFinite(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(SbMathHelper::isFinite(-std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(SbMathHelper::isFinite(fnan));
    EXPECT_FALSE(SbMathHelper::isFinite(dnan));
}

TEST(SbMathHelper, AnglesClampAndCoincidence) {
    EXPECT_FLOAT_EQ(SbMathHelper::deg2rad(180.0f), static_cast<float>(SbMathHelper::PI));
    EXPECT_DOUBLE_EQ(SbMathHelper::deg2rad(90.0), SbMathHelper::PI / 2);
    EXPECT_FLOAT_EQ(SbMathHelper::rad2deg(static_cast<float>(SbMathHelper::PI / 4)), 45.0f);
    EXPECT_DOUBLE_EQ(SbMathHelper::rad2deg(SbMathHelper::PI), 180.0);
    EXPECT_EQ(SbMathHelper::clamp(1.5f, 0.0f, 1.0f), 1.0f);
    EXPECT_EQ(SbMathHelper::clamp(-0.5f, 0.0f, 1.0f), 0.0f);
    EXPECT_EQ(SbMathHelper::clamp(0.25f, 0.0f, 1.0f), 0.25f);
    EXPECT_EQ(SbMathHelper::clamp(7, 1, 5), 5);
    EXPECT_EQ(SbMathHelper::clamp(std::numeric_limits<float>::quiet_NaN(), 0.0f, 1.0f), 0.0f);
    EXPECT_TRUE(SbMathHelper::isCoinc(1.0f, 1.0f + 0.5f * SbMathHelper::EPSILON));
    EXPECT_FALSE(SbMathHelper::isCoinc(1.0f, 1.001f));
    EXPECT_TRUE(SbMathHelper::isCoinc(1.0, 1.001, 0.01));
    EXPECT_FALSE(SbMathHelper::isCoinc(1.0f, std::numeric_limits<float>::quiet_NaN(), 1.0f));
}
