#pragma once

#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbRotation.h>
#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec3f.h>
#include <Tessara/math/SbVec4f.h>
#include <gtest/gtest.h>

#include <sstream>

// Readable failure messages for the value types, and tolerance checks that say what differed.

inline std::string str(const SbVec2f& v) {
    std::ostringstream s;
    s << "(" << v[0] << ", " << v[1] << ")";
    return s.str();
}

inline std::string str(const SbVec3f& v) {
    std::ostringstream s;
    s << "(" << v[0] << ", " << v[1] << ", " << v[2] << ")";
    return s.str();
}

inline std::string str(const SbVec4f& v) {
    std::ostringstream s;
    s << "(" << v[0] << ", " << v[1] << ", " << v[2] << ", " << v[3] << ")";
    return s.str();
}

inline std::string str(const SbMatrix& m) {
    std::ostringstream s;
    for (int i = 0; i < 4; ++i) {
        s << "\n  [" << m[i][0] << ", " << m[i][1] << ", " << m[i][2] << ", " << m[i][3] << "]";
    }
    return s.str();
}

inline std::string str(const SbRotation& r) {
    const float* q = r.getValue();
    std::ostringstream s;
    s << "quat(" << q[0] << ", " << q[1] << ", " << q[2] << ", " << q[3] << ")";
    return s.str();
}

template <typename T>
::testing::AssertionResult near(const T& actual, const T& expected, float tol = 1e-5f) {
    if (actual.equals(expected, tol)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << str(actual) << ", expected " << str(expected)
                                         << " (tolerance " << tol << ")";
}

/// p x m as a plain point transform, for the tests that build expectations by hand.
inline SbVec3f xform(const SbMatrix& m, const SbVec3f& p) {
    SbVec3f out;
    m.multVecMatrix(p, out);
    return out;
}
