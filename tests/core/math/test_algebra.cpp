// The algebra of matrices, rotations, vectors and colours. Matrices multiply row vectors: a
// point p goes to p x M, the translation sits in row 3 and A x B applies A first; rotations are
// quaternions stored x, y, z, w that turn counterclockwise seen from the tip of their axis, and
// a * b applies a first too. Seeded property checks cover the algebra; hand-computed values pin
// the conventions.

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbLine.h>
#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec2i32.h>
#include <Tessara/math/SbVec2s.h>
#include <Tessara/math/SbVec3s.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "MathTestUtil.h"

TEST(SbMatrix, RowVectorConventionsByHand) {
    // An arbitrary invertible matrix with nothing special about it.
    const SbMatrix m(1, 2, 3, 4, 5, 6, 7, 8, 2, 6, 4, 8, 3, 1, 1, 2);
    EXPECT_EQ(m.getValue()[6], 7.0f);  // stored row by row
    SbVec4f row;
    m.multVecMatrix(SbVec4f(1, -2, 0.5f, 2), row);
    EXPECT_EQ(row, SbVec4f(-2, -5, -7, -4));
    EXPECT_EQ(m * SbVec4f(1, -2, 0.5f, 2), SbVec4f(6.5f, 12.5f, 8, 5.5f));  // the column form
    EXPECT_EQ(m.det3(), 24.0f);
    EXPECT_EQ(m.det4(), 72.0f);
    SbMatrix close = m;
    close[3][3] += 0.01f;
    EXPECT_TRUE(m.equals(close, 0.02f));
    EXPECT_FALSE(m.equals(close, 0.001f));
    EXPECT_NE(m, close);
    FILE* fp = std::tmpfile();
    ASSERT_NE(fp, nullptr);
    m.print(fp);
    std::rewind(fp);
    float printed[16];
    for (float& v : printed) ASSERT_EQ(std::fscanf(fp, "%f", &v), 1);
    std::fclose(fp);
    EXPECT_EQ(SbMatrix().setValue(printed), m);

    // Points are divided by w, unless w is 0: then x, y, z come back as they are.
    SbMatrix w = scaling(SbVec3f(2, 4, 6));
    SbVec3f column;
    for (float last : {2.0f, 0.0f}) {
        w[3][3] = last;
        const SbVec3f expected = last == 0 ? SbVec3f(2, 4, 6) : SbVec3f(1, 2, 3);
        w.multMatrixVec(SbVec3f(1, 1, 1), column);
        EXPECT_EQ(column, expected);
        EXPECT_EQ(xform(w, SbVec3f(1, 1, 1)), expected);
    }
}

TEST(SbMatrix, AlgebraHoldsForRandomMatrices) {
    Random rnd(1);
    for (int i = 0; i < 300; ++i) {
        const SbMatrix a = rnd.matrix(), b = rnd.matrix();
        const SbVec4f v(rnd.uniform(-3, 3), rnd.uniform(-3, 3), rnd.uniform(-3, 3), 1);
        SbVec4f va, vab, vAB, vt;
        a.multVecMatrix(v, va);
        b.multVecMatrix(va, vab);
        (a * b).multVecMatrix(v, vAB);
        EXPECT_TRUE(near(vAB, vab, 1e-4f));
        SbMatrix left = b;
        EXPECT_EQ(left.multLeft(a), a * b);
        a.transpose().multVecMatrix(v, vt);
        EXPECT_EQ(a * v, vt);
        const float det = a.det4() * b.det4();
        EXPECT_NEAR((a * b).det4(), det, 1e-4f * std::max(1.0f, std::fabs(det)));
        if (std::fabs(a.det4()) > 1.0f) {
            EXPECT_TRUE(near(a.inverse() * a, SbMatrix::identity(), 1e-4f));
            EXPECT_TRUE(near(a * a.inverse(), SbMatrix::identity(), 1e-4f));
        }

        const SbMatrix m = rnd.affine();
        const SbVec3f p = rnd.vec(), q = rnd.vec();
        EXPECT_NEAR(m.det4(), m.det3(), 1e-4f * std::fabs(m.det3()));
        SbVec3f direction, column;
        m.multDirMatrix(p, direction);
        EXPECT_TRUE(near(direction, xform(m, p) - xform(m, SbVec3f()), 1e-4f));
        m.transpose().multMatrixVec(p, column);
        EXPECT_TRUE(near(column, xform(m, p), 1e-4f));
        SbLine line;
        m.multLineMatrix(SbLine(p, q), line);
        EXPECT_TRUE(near(line.getClosestPoint(xform(m, q)), xform(m, q), 1e-3f));
        EXPECT_TRUE(near(line.getClosestPoint(xform(m, p)), xform(m, p), 1e-3f));
    }
}

TEST(SbMatrix, TransformPartsComposeAndComeBack) {
    Random rnd(2);
    for (int i = 0; i < 300; ++i) {
        const SbVec3f t = rnd.vec(), c = rnd.vec();
        const SbRotation r = rnd.rotation(), so = rnd.rotation();
        // Mirrors (negative scales), a uniform scale, and one to three flattened axes.
        SbVec3f s(rnd.uniform(0.25f, 3), rnd.uniform(-3, -0.25f), rnd.uniform(0.25f, 3));
        if (i % 10 == 4) s = SbVec3f(s[0], s[0], s[0]);
        for (int k = 0; k < (i % 10 < 4 ? i % 10 : 0); ++k) s[k] = 0.0f;

        SbMatrix m;
        m.setTransform(t, r, s, so, c);
        const SbMatrix parts = translation(-c) * rotation(so.inverse()) * scaling(s) *
                               rotation(so) * rotation(r) * translation(t) * translation(c);
        ASSERT_TRUE(near(m, parts, 1e-4f)) << i;
        SbVec3f t2, s2;
        SbRotation r2, so2;
        m.getTransform(t2, r2, s2, so2, c);
        EXPECT_TRUE(near(t2, t, 1e-4f)) << i;
        SbMatrix rebuilt;
        rebuilt.setTransform(t2, r2, s2, so2, c);
        EXPECT_TRUE(near(rebuilt, m, 1e-4f)) << i;

        // Without a centre or scale orientation.
        m.setTransform(t, r, s);
        EXPECT_TRUE(near(m, scaling(s) * rotation(r) * translation(t), 1e-5f)) << i;
    }
}

namespace {

const float kPi = static_cast<float>(SbMathHelper::PI);

SbVec3f rotate(const SbRotation& r, const SbVec3f& v) {
    SbVec3f out;
    r.multVec(v, out);
    return out;
}

SbVec3f unit(SbVec3f v) {
    v.normalize();
    return v;
}

}  // namespace

TEST(SbRotation, ConventionsByHand) {
    const SbRotation quarterZ(SbVec3f(0, 0, 2), kHalfPi);
    float x, y, z, w;
    quarterZ.getValue(x, y, z, w);
    EXPECT_TRUE(near(SbVec4f(x, y, z, w), SbVec4f(0, 0, std::sqrt(0.5f), std::sqrt(0.5f))));
    const float unnormalised[4] = {0, 0, 3, 3};
    EXPECT_TRUE(near(SbRotation(unnormalised), quarterZ, 1e-7f));
    EXPECT_TRUE(near(rotate(quarterZ, SbVec3f(1, 0, 0)), SbVec3f(0, 1, 0), 1e-6f));
    SbVec3f axis;
    float angle = -1.0f;
    SbRotation().getValue(axis, angle);
    EXPECT_EQ(axis, SbVec3f(0, 0, 1));
    EXPECT_EQ(angle, 0.0f);

    // Either sign of the quaternion is the same rotation.
    const SbRotation negated(-x, -y, -z, -w);
    EXPECT_TRUE(quarterZ.equals(negated, 1e-7f));
    EXPECT_NE(quarterZ, negated);
    // Turns by opposite angles about x differ in the sign of x alone.
    const SbRotation plusX(SbVec3f(1, 0, 0), 1), minusX(SbVec3f(1, 0, 0), -1);
    EXPECT_FALSE(plusX.equals(minusX, 1e-4f));
    EXPECT_NE(plusX, minusX);
    // Almost equal rotations blend linearly instead of dividing by a vanishing sine.
    const SbRotation close(SbVec3f(0, 0, 1), kHalfPi + 1e-5f);
    EXPECT_TRUE(near(SbRotation::slerp(quarterZ, close, 0.5f), quarterZ, 1e-5f));
}

TEST(SbRotation, AlgebraHoldsForRandomRotations) {
    Random rnd(3);
    for (int i = 0; i < 300; ++i) {
        const SbVec3f axis = rnd.direction(), v = rnd.vec();
        const float angle = rnd.uniform(0.01f, 3.1f);
        const SbRotation a(axis * rnd.uniform(0.5f, 3), angle), b = rnd.rotation();
        SbVec3f axisBack;
        float angleBack;
        a.getValue(axisBack, angleBack);
        EXPECT_TRUE(near(axisBack, axis, 1e-4f)) << i;
        EXPECT_NEAR(angleBack, angle, 1e-4f) << i;

        EXPECT_TRUE(near(rotate(a, v), xform(rotation(a), v), 1e-4f)) << i;
        EXPECT_TRUE(near(rotation(a * b), rotation(a) * rotation(b), 1e-5f)) << i;
        EXPECT_TRUE(near(rotate(a.inverse(), rotate(a, v)), v, 1e-4f)) << i;

        // Back from a matrix, scaled and moved or not.
        EXPECT_TRUE(near(SbRotation(rotation(b)), b, 1e-5f)) << i;
        SbMatrix placed;
        placed.setTransform(v, b, SbVec3f(rnd.uniform(0.2f, 4), rnd.uniform(0.2f, 4), 2));
        EXPECT_TRUE(near(SbRotation(placed), b, 1e-5f)) << i;

        // From one direction to another: the same, any other, or the opposite one.
        const SbVec3f from = rnd.vec();
        const SbVec3f to = i % 4 == 0 ? -2.0f * from : i % 4 == 1 ? 3.0f * from : rnd.vec();
        EXPECT_TRUE(near(rotate(SbRotation(from, to), unit(from)), unit(to), 1e-5f)) << i;

        // Slerp from the identity takes the shorter arc: turning by `full` is turning by
        // `shorter`, and part t of the way is t times that angle.
        const float full = rnd.uniform(-6.2f, 6.2f), t = rnd.uniform(0, 1);
        const float shorter = full > kPi ? full - 2 * kPi : full < -kPi ? full + 2 * kPi : full;
        EXPECT_TRUE(near(SbRotation::slerp(SbRotation(), SbRotation(axis, full), t),
                         SbRotation(axis, t * shorter), 1e-5f))
            << i;
        EXPECT_TRUE(near(SbRotation::slerp(a, b, 0), a, 1e-6f)) << i;
        EXPECT_TRUE(near(SbRotation::slerp(a, b, 1), b, 1e-6f)) << i;
    }
}

TEST(SbVec3f, RightHandedAndExactByHand) {
    EXPECT_EQ(SbVec3f(1, 0, 0).cross(SbVec3f(0, 1, 0)), SbVec3f(0, 0, 1));
    SbVec3f v(0, 3, 4), zero;
    EXPECT_EQ(v.normalize(), 5.0f);  // the former length
    EXPECT_TRUE(near(v, SbVec3f(0, 0.6f, 0.8f), 1e-7f));
    EXPECT_EQ(zero.normalize(), 0.0f);
    EXPECT_EQ(zero, SbVec3f(0, 0, 0));
    SbVec3f real;
    SbVec4f(1, 2, 3, -0.5f).getReal(real);
    EXPECT_EQ(real, SbVec3f(-2, -4, -6));
    const float xy[2] = {3, 4};
    const short xyz[3] = {1, -2, 3}, size[2] = {640, 480};
    EXPECT_EQ(SbVec2f(xy).length(), 5.0f);
    EXPECT_EQ(SbVec3s(xyz) + SbVec3s(1, 1, 1), SbVec3s(2, -1, 4));
    EXPECT_EQ(SbVec2s(size) - SbVec2s(40, 80), SbVec2s(600, 400));
    // Overflow wraps rather than being undefined (checked under the sanitizers).
    const int32_t big = std::numeric_limits<int32_t>::max();
    EXPECT_EQ((SbVec2i32(big, 0) + SbVec2i32(1, 0))[0], std::numeric_limits<int32_t>::min());
}

TEST(SbColor, PackedValuesByHand) {
    const struct {
        SbColor colour;
        float transparency;
        uint32_t packed;
    } cases[] = {
        {SbColor(1, 0, 0), 0, 0xFFFF0000u},              // alpha is the top byte
        {SbColor(0.5f, 0.5f, 0.5f), 0.5f, 0x80808080u},  // 127.5 rounds up
        {SbColor(127.4f / 255, 0, 0), 0, 0xFF7F0000u},
        {SbColor(2, -1, 0.5f), 0, 0xFFFF0080u},  // clamped
        {SbColor(0, 0, 1), -3, 0xFF0000FFu},     // transparency clamped too
        {SbColor(0, 0, 0), 5, 0x00000000u},
        {SbColor(std::numeric_limits<float>::quiet_NaN(), 1, 1), 0, 0xFF00FFFFu},
    };
    for (const auto& c : cases) EXPECT_EQ(c.colour.getPackedValue(c.transparency), c.packed);

    SbColor c;
    float transparency = -1.0f;
    c.setPackedValue(0x80FF4000u, transparency);
    EXPECT_TRUE(near<SbVec3f>(c, SbVec3f(1, 64.0f / 255, 0), 1e-7f));
    EXPECT_FLOAT_EQ(transparency, 1.0f - 128.0f / 255.0f);
    EXPECT_EQ(c.getPackedValue(transparency), 0x80FF4000u);
}

TEST(SbColor, HsvByHandAndRoundTrip) {
    const struct {
        SbColor rgb;
        SbVec3f hsv;
    } cases[] = {
        {SbColor(1, 0, 0), SbVec3f(0, 1, 1)},
        {SbColor(0, 0.5f, 0), SbVec3f(1.0f / 3, 1, 0.5f)},
        {SbColor(0.75f, 1, 0.5f), SbVec3f(0.25f, 0.5f, 1)},
        {SbColor(0.3f, 0.3f, 0.3f), SbVec3f(0, 0, 0.3f)},  // grey: no hue, no saturation
    };
    SbColor c;
    for (const auto& k : cases) {
        float hsv[3];
        k.rgb.getHSVValue(hsv);
        EXPECT_TRUE(near(SbVec3f(hsv), k.hsv, 1e-6f));
        EXPECT_TRUE(near<SbVec3f>(c.setHSVValue(k.hsv[0], k.hsv[1], k.hsv[2]), k.rgb, 1e-6f));
    }
    Random rnd(6);
    for (int i = 0; i < 300; ++i) {
        const SbColor in(rnd.uniform(0, 1), rnd.uniform(0, 1), rnd.uniform(0, 1));
        float hsv[3];
        in.getHSVValue(hsv[0], hsv[1], hsv[2]);
        EXPECT_GE(hsv[0], 0.0f);
        EXPECT_LT(hsv[0], 1.0f);
        EXPECT_TRUE(near<SbVec3f>(c.setHSVValue(hsv), in, 1e-5f)) << i;
    }
    // Out-of-range input: hue wraps round the circle, saturation and value are clamped.
    EXPECT_TRUE(near<SbVec3f>(c.setHSVValue(1.0f, 1, 1), SbVec3f(1, 0, 0)));
    EXPECT_TRUE(near<SbVec3f>(c.setHSVValue(-0.5f, 2, 3), SbVec3f(0, 1, 1)));
    EXPECT_TRUE(near<SbVec3f>(c.setHSVValue(0, -1, 0.5f), SbVec3f(0.5f, 0.5f, 0.5f)));
}
