#pragma once

#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbRotation.h>
#include <Tessara/math/SbVec4f.h>
#include <gtest/gtest.h>

#include <random>

const float kHalfPi = static_cast<float>(SbMathHelper::PI / 2);

/// Tolerance check for any value type made of floats, saying what differed.
template <typename T>
::testing::AssertionResult near(const T& actual, const T& expected, float tol = 1e-5f) {
    if (actual.equals(expected, tol)) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << "got / expected (tolerance " << tol << "):";
    for (size_t i = 0; i < sizeof(T) / sizeof(float); ++i)
        failure << ' ' << actual.getValue()[i] << " / " << expected.getValue()[i];
    return failure;
}

/// p x m as a plain point transform.
inline SbVec3f xform(const SbMatrix& m, const SbVec3f& p) {
    SbVec3f out;
    m.multVecMatrix(p, out);
    return out;
}

inline SbMatrix translation(const SbVec3f& t) {
    SbMatrix m;
    m.setTranslate(t);
    return m;
}

inline SbMatrix scaling(const SbVec3f& s) {
    SbMatrix m;
    m.setScale(s);
    return m;
}

inline SbMatrix rotation(const SbRotation& r) {
    SbMatrix m;
    m.setRotate(r);
    return m;
}

/// Seeded random values for the property checks: the same cases on every run.
class Random {
  public:
    explicit Random(unsigned seed) : m_engine(seed) {}
    float uniform(float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(m_engine);
    }
    SbVec3f vec(float range = 5.0f) {
        return SbVec3f(uniform(-range, range), uniform(-range, range), uniform(-range, range));
    }
    SbVec3f direction() {
        SbVec3f d;
        while (d.length() < 0.1f) d = vec(1.0f);
        d.normalize();
        return d;
    }
    SbRotation rotation() { return SbRotation(direction(), uniform(-3.1f, 3.1f)); }
    SbMatrix matrix() {
        float v[16];
        for (float& x : v) x = uniform(-2.0f, 2.0f);
        SbMatrix m;
        return m.setValue(v);
    }
    /// Scale, rotation and translation: no projective part.
    SbMatrix affine() {
        SbMatrix m;
        m.setTransform(vec(), rotation(), SbVec3f(uniform(0.3f, 3), uniform(-3, -0.3f), 1.5f),
                       rotation(), vec());
        return m;
    }

  private:
    std::mt19937 m_engine;
};
