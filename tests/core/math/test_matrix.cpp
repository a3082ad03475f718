#include <Tessara/math/SbLine.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbRotation.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "MathTestUtil.h"
#include "support/DebugErrorRecorder.h"

namespace {

const float kHalfPi = static_cast<float>(SbMathHelper::PI / 2);

SbMatrix translation(const SbVec3f& t) {
    SbMatrix m;
    m.setTranslate(t);
    return m;
}

SbMatrix scaling(const SbVec3f& s) {
    SbMatrix m;
    m.setScale(s);
    return m;
}

SbMatrix rotation(const SbRotation& r) {
    SbMatrix m;
    m.setRotate(r);
    return m;
}

// An arbitrary invertible matrix with nothing special about it.
const SbMatrix kGeneral(1, 2, 3, 4, 5, 6, 7, 8, 2, 6, 4, 8, 3, 1, 1, 2);

}  // namespace

TEST(SbMatrixLayout, DefaultIsIdentityAndValuesAreRowMajor) {
    EXPECT_EQ(SbMatrix(), SbMatrix(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));
    EXPECT_EQ(SbMatrix::identity(), SbMatrix());
    EXPECT_EQ(kGeneral[1][2], 7.0f);
    EXPECT_EQ(kGeneral.getValue()[6], 7.0f);
    float rows[4][4];
    kGeneral.getValue(rows);
    EXPECT_EQ(rows[3][0], 3.0f);
    EXPECT_EQ(SbMatrix(rows), kGeneral);
    SbMatrix m;
    m.setValue(kGeneral.getValue());
    EXPECT_EQ(m, kGeneral);
    m[2][3] = 42.0f;
    EXPECT_NE(m, kGeneral);
    m.makeIdentity();
    EXPECT_EQ(m, SbMatrix::identity());
}

TEST(SbMatrixLayout, TranslationLivesInRowThree) {
    const SbMatrix t = translation(SbVec3f(1, 2, 3));
    EXPECT_EQ(t[3][0], 1.0f);
    EXPECT_EQ(t[3][1], 2.0f);
    EXPECT_EQ(t[3][2], 3.0f);
    EXPECT_EQ(t[0][3], 0.0f);
    EXPECT_EQ(t[2][3], 0.0f);
    EXPECT_EQ(xform(t, SbVec3f(1, 1, 1)), SbVec3f(2, 3, 4));
}

TEST(SbMatrixVectors, RowFormAgainstColumnForm) {
    const SbMatrix t = translation(SbVec3f(1, 2, 3));
    // The column product does not see a row-3 translation...
    EXPECT_EQ(t * SbVec4f(0, 0, 0, 1), SbVec4f(0, 0, 0, 1));
    SbVec4f row;
    t.multVecMatrix(SbVec4f(0, 0, 0, 1), row);
    EXPECT_EQ(row, SbVec4f(1, 2, 3, 1));  // ...the row product does
    // In general, M x v equals v x M^T.
    const SbVec4f v(1, -2, 0.5f, 2);
    kGeneral.transpose().multVecMatrix(v, row);
    EXPECT_EQ(kGeneral * v, row);
    EXPECT_EQ(kGeneral * v, SbVec4f(6.5f, 12.5f, 8, 5.5f));
    kGeneral.multVecMatrix(v, row);
    EXPECT_EQ(row, SbVec4f(-2, -5, -7, -4));
}

TEST(SbMatrixVectors, MultMatrixVecIsTheColumnPointTransform) {
    SbMatrix m = translation(SbVec3f(0, 0, 0));
    m[0][3] = 5.0f;  // column-vector style translation in x
    SbVec3f out;
    m.multMatrixVec(SbVec3f(1, 2, 3), out);
    EXPECT_EQ(out, SbVec3f(6, 2, 3));
    const SbMatrix t = translation(SbVec3f(1, 2, 3));
    t.transpose().multMatrixVec(SbVec3f(1, 1, 1), out);
    EXPECT_EQ(out, xform(t, SbVec3f(1, 1, 1)));
}

TEST(SbMatrixVectors, HomogeneousDivision) {
    SbMatrix m = scaling(SbVec3f(2, 4, 6));
    m[3][3] = 2.0f;
    EXPECT_EQ(xform(m, SbVec3f(1, 1, 1)), SbVec3f(1, 2, 3));
    SbVec3f out;
    m.multMatrixVec(SbVec3f(1, 1, 1), out);
    EXPECT_EQ(out, SbVec3f(1, 2, 3));
    // w == 0 has nothing to divide to: the x, y, z come back as they are.
    m[3][3] = 0.0f;
    EXPECT_EQ(xform(m, SbVec3f(1, 1, 1)), SbVec3f(2, 4, 6));
}

TEST(SbMatrixVectors, DirectionsIgnoreTranslation) {
    SbMatrix m = scaling(SbVec3f(2, 3, 4));
    m.multRight(translation(SbVec3f(10, 20, 30)));
    SbVec3f dir;
    m.multDirMatrix(SbVec3f(1, 1, 1), dir);
    EXPECT_EQ(dir, SbVec3f(2, 3, 4));
    EXPECT_EQ(xform(m, SbVec3f(1, 1, 1)), SbVec3f(12, 23, 34));
}

TEST(SbMatrixVectors, LinesFollowTheirPoints) {
    const SbMatrix m =
        rotation(SbRotation(SbVec3f(0, 0, 1), kHalfPi)) * translation(SbVec3f(0, 0, 5));
    SbLine line;
    m.multLineMatrix(SbLine(SbVec3f(1, 0, 0), SbVec3f(2, 0, 0)), line);
    EXPECT_TRUE(near(line.getPosition(), SbVec3f(0, 1, 5), 1e-6f));
    EXPECT_TRUE(near(line.getDirection(), SbVec3f(0, 1, 0), 1e-6f));
}

TEST(SbMatrixProducts, MultRightAppliesAfterMultLeftBefore) {
    const SbMatrix t = translation(SbVec3f(1, 0, 0)), s = scaling(SbVec3f(2, 2, 2));
    SbMatrix right = t;
    right.multRight(s);  // translate, then scale
    EXPECT_EQ(xform(right, SbVec3f(0, 0, 0)), SbVec3f(2, 0, 0));
    SbMatrix left = t;
    left.multLeft(s);  // scale, then translate
    EXPECT_EQ(xform(left, SbVec3f(0, 0, 0)), SbVec3f(1, 0, 0));
    EXPECT_EQ(xform(left, SbVec3f(1, 1, 1)), SbVec3f(3, 2, 2));
    EXPECT_EQ(t * s, right);
    SbMatrix star = t;
    star *= s;
    EXPECT_EQ(star, right);
}

TEST(SbMatrixProducts, ExactProductAndSelfMultiplication) {
    const SbMatrix a(1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 3, 0, 0, 1);
    const SbMatrix b(2, 0, 0, 0, 1, 1, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1);
    EXPECT_EQ(a * b, SbMatrix(4, 2, 0, 0, 1, 1, 0, 0, 0, 0, 3, 0, 6, 0, 0, 1));
    SbMatrix self = a;
    self.multRight(self);  // aliasing must be safe
    EXPECT_EQ(self, a * a);
    self = a;
    self.multLeft(self);
    EXPECT_EQ(self, a * a);
}

TEST(SbMatrixAlgebra, Determinants) {
    EXPECT_EQ(kGeneral.det3(), 24.0f);
    EXPECT_EQ(kGeneral.det4(), 72.0f);
    SbMatrix m = scaling(SbVec3f(2, 3, 4));
    m.multRight(translation(SbVec3f(5, 6, 7)));
    EXPECT_EQ(m.det3(), 24.0f);
    EXPECT_EQ(m.det4(), 24.0f);
    EXPECT_EQ(SbMatrix(0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1).det4(), -1.0f);
    EXPECT_NEAR(rotation(SbRotation(SbVec3f(1, 2, 3), 1.0f)).det3(), 1.0f, 1e-6f);
}

TEST(SbMatrixAlgebra, InverseTimesMatrixIsIdentity) {
    SbMatrix m;
    m.setTransform(SbVec3f(1, -2, 3), SbRotation(SbVec3f(1, 1, 0), 0.7f), SbVec3f(2, 0.5f, 3),
                   SbRotation(SbVec3f(0, 1, 1), 0.3f), SbVec3f(-1, 4, 2));
    EXPECT_TRUE(near(m.inverse() * m, SbMatrix::identity(), 1e-5f));
    EXPECT_TRUE(near(m * m.inverse(), SbMatrix::identity(), 1e-5f));
    EXPECT_TRUE(near(kGeneral.inverse() * kGeneral, SbMatrix::identity(), 1e-5f));
    // A perspective-style matrix with an empty last diagonal entry.
    const SbMatrix proj(1, 0, 0, 0, 0, 2, 0, 0, 0, 0, -1.2f, -1, 0, 0, -2.2f, 0);
    EXPECT_TRUE(near(proj.inverse() * proj, SbMatrix::identity(), 1e-5f));
    EXPECT_TRUE(near(translation(SbVec3f(1, 2, 3)).inverse(), translation(SbVec3f(-1, -2, -3))));
}

TEST(SbMatrixAlgebra, SingularInverseIsReportedAndGivesIdentity) {
    DebugErrorRecorder recorder;
    EXPECT_EQ(scaling(SbVec3f(1, 0, 1)).inverse(), SbMatrix::identity());
    EXPECT_EQ(SbMatrix(1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1).inverse(),
              SbMatrix::identity());
    // Row 2 = row 0 + 2 row 1, but elimination leaves rounding dust instead of an exact zero.
    EXPECT_EQ(SbMatrix(3, 2, 5, 0, 8, 9, 3, 0, 19, 20, 11, 0, 0, 0, 0, 1).inverse(),
              SbMatrix::identity());
    SbMatrix nan;
    nan[1][1] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(nan.inverse(), SbMatrix::identity());
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 4u) << recorder.dump();
    // Tiny but regular scales are not singular.
    recorder.clear();
    EXPECT_TRUE(near(scaling(SbVec3f(1e-4f, 1e-4f, 1e-4f)).inverse(),
                     scaling(SbVec3f(1e4f, 1e4f, 1e4f)), 0.01f));
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(SbMatrixAlgebra, Transpose) {
    const SbMatrix t = kGeneral.transpose();
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(t[i][j], kGeneral[j][i]);
    EXPECT_EQ(t.transpose(), kGeneral);
}

TEST(SbMatrixTransform, ScaleRotateTranslateOrder) {
    SbMatrix m;
    m.setTransform(SbVec3f(10, 0, 0), SbRotation(SbVec3f(0, 0, 1), kHalfPi), SbVec3f(2, 2, 2));
    // (1,0,0) scaled to (2,0,0), turned to (0,2,0), moved to (10,2,0).
    EXPECT_TRUE(near(xform(m, SbVec3f(1, 0, 0)), SbVec3f(10, 2, 0), 1e-5f));
}

TEST(SbMatrixTransform, FullFormulaWithCentreAndScaleOrientation) {
    const SbVec3f t(1, 2, 3), s(2, 3, 0.5f), c(4, -1, 2);
    const SbRotation r(SbVec3f(1, -1, 2), 0.8f), so(SbVec3f(0, 1, 0), 0.6f);
    SbMatrix m;
    m.setTransform(t, r, s, so, c);
    const SbMatrix expected = translation(-c) * rotation(so.inverse()) * scaling(s) * rotation(so) *
                              rotation(r) * translation(t) * translation(c);
    EXPECT_TRUE(near(m, expected, 1e-5f));
    // The centre is a fixed point of rotation and scale: it only moves by t.
    EXPECT_TRUE(near(xform(m, c), c + t, 1e-5f));
}

TEST(SbMatrixTransform, GetTransformRecoversParts) {
    const SbVec3f t(1, -2, 3), s(2, 3, 4);
    const SbRotation r(SbVec3f(1, 1, 0), 0.7f);
    SbMatrix m;
    m.setTransform(t, r, s);
    SbVec3f t2, s2;
    SbRotation r2, so2;
    m.getTransform(t2, r2, s2, so2);
    EXPECT_TRUE(near(t2, t, 1e-6f));
    EXPECT_TRUE(near(s2, s, 1e-5f));
    EXPECT_TRUE(near(r2, r, 1e-6f));
    EXPECT_TRUE(near(so2, SbRotation::identity(), 1e-6f));

    m.setTransform(t, r, SbVec3f(1.5f, 1.5f, 1.5f));  // uniform scale
    m.getTransform(t2, r2, s2, so2);
    EXPECT_TRUE(near(s2, SbVec3f(1.5f, 1.5f, 1.5f), 1e-5f));
    EXPECT_TRUE(near(r2, r, 1e-6f));
}

TEST(SbMatrixTransform, GetTransformRebuildsTheSameMatrix) {
    struct Case {
        SbVec3f t, s;
        SbRotation r, so;
        SbVec3f c;
    };
    const Case cases[] = {
        {SbVec3f(1, 2, 3), SbVec3f(2, 3, 4), SbRotation(SbVec3f(1, 0, 1), 1.1f),
         SbRotation(SbVec3f(0, 1, 1), 0.4f), SbVec3f()},
        {SbVec3f(0, 0, 0), SbVec3f(-1, 2, 2), SbRotation(SbVec3f(0, 1, 0), 2.0f), SbRotation(),
         SbVec3f()},  // a mirror
        {SbVec3f(5, 5, 5), SbVec3f(1, 0, 1), SbRotation(SbVec3f(1, 2, 3), 0.5f), SbRotation(),
         SbVec3f()},  // flattened: one scale is zero
        {SbVec3f(-3, 1, 0), SbVec3f(0.5f, 0.5f, 2), SbRotation(SbVec3f(3, 2, 1), 2.5f),
         SbRotation(SbVec3f(1, 0, 0), 0.9f), SbVec3f(1, 2, -3)},
    };
    for (const Case& k : cases) {
        SbMatrix m;
        m.setTransform(k.t, k.r, k.s, k.so, k.c);
        SbVec3f t2, s2;
        SbRotation r2, so2;
        m.getTransform(t2, r2, s2, so2, k.c);
        EXPECT_TRUE(near(t2, k.t, 1e-5f));
        SbMatrix rebuilt;
        rebuilt.setTransform(t2, r2, s2, so2, k.c);
        EXPECT_TRUE(near(rebuilt, m, 1e-5f)) << "scale " << str(k.s);
    }
}

TEST(SbMatrixCompare, EqualsToleranceAndPrint) {
    SbMatrix a = kGeneral, b = kGeneral;
    b[3][3] += 0.01f;
    EXPECT_TRUE(a.equals(b, 0.02f));
    EXPECT_FALSE(a.equals(b, 0.001f));
    EXPECT_TRUE(a != b);
    EXPECT_FALSE(a == b);

    FILE* fp = std::tmpfile();
    ASSERT_NE(fp, nullptr);
    a.print(fp);
    std::rewind(fp);
    char line[128] = {};
    ASSERT_NE(std::fgets(line, sizeof line, fp), nullptr);
    float v[4];
    ASSERT_EQ(std::sscanf(line, "%f %f %f %f", &v[0], &v[1], &v[2], &v[3]), 4);
    EXPECT_EQ(v[3], 4.0f);
    int lines = 1;
    while (std::fgets(line, sizeof line, fp) != nullptr) ++lines;
    EXPECT_EQ(lines, 4);
    std::fclose(fp);
}

TEST(SbMatrixCompare, BadRowAndNullInputAreReported) {
    DebugErrorRecorder recorder;
    SbMatrix m = kGeneral;
    m[4][0] = 1.0f;
    EXPECT_EQ(m[-1][2], 0.0f);
    EXPECT_EQ(m, kGeneral);
    m.setValue(static_cast<const float*>(nullptr));
    EXPECT_EQ(m, SbMatrix::identity());
    m.print(nullptr);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 4u) << recorder.dump();
}
