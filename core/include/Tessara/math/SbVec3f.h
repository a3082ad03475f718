#pragma once

#include <Tessara/math/SbMathHelper.h>

#include <cmath>

/// Three-component float vector: points, directions and normals.
class SbVec3f {
  public:
    SbVec3f() : vec{0.0f, 0.0f, 0.0f} {}
    SbVec3f(float x, float y, float z) : vec{x, y, z} {}
    /// Copies three floats; a null pointer is reported and gives the zero vector.
    explicit SbVec3f(const float v[3]) : vec{0.0f, 0.0f, 0.0f} { setValue(v); }

    SbVec3f& setValue(float x, float y, float z) {
        vec[0] = x;
        vec[1] = y;
        vec[2] = z;
        return *this;
    }
    SbVec3f& setValue(const float v[3]);
    const float* getValue() const { return vec; }
    void getValue(float& x, float& y, float& z) const {
        x = vec[0];
        y = vec[1];
        z = vec[2];
    }

    float& operator[](int i) {
        return (i >= 0 && i < 3) ? vec[i] : SbMathHelper::badIndex<float>("SbVec3f", i, 3);
    }
    const float& operator[](int i) const {
        return (i >= 0 && i < 3) ? vec[i] : SbMathHelper::badIndex<float>("SbVec3f", i, 3);
    }

    float dot(const SbVec3f& v) const { return vec[0] * v[0] + vec[1] * v[1] + vec[2] * v[2]; }
    SbVec3f cross(const SbVec3f& v) const {
        return SbVec3f(vec[1] * v[2] - vec[2] * v[1], vec[2] * v[0] - vec[0] * v[2],
                       vec[0] * v[1] - vec[1] * v[0]);
    }
    float sqrLength() const { return dot(*this); }
    float length() const { return std::sqrt(sqrLength()); }
    /// Scales to unit length and returns the former length; a zero vector is left as it is.
    float normalize() {
        const float len = length();
        if (len > 0.0f) *this /= len;
        return len;
    }
    void negate() { setValue(-vec[0], -vec[1], -vec[2]); }
    /// True when every component differs from v's by at most tolerance.
    bool equals(const SbVec3f& v, float tolerance) const {
        return SbMathHelper::isCoinc(vec[0], v[0], tolerance) &&
               SbMathHelper::isCoinc(vec[1], v[1], tolerance) &&
               SbMathHelper::isCoinc(vec[2], v[2], tolerance);
    }

    SbVec3f& operator+=(const SbVec3f& v) {
        return setValue(vec[0] + v[0], vec[1] + v[1], vec[2] + v[2]);
    }
    SbVec3f& operator-=(const SbVec3f& v) {
        return setValue(vec[0] - v[0], vec[1] - v[1], vec[2] - v[2]);
    }
    SbVec3f& operator*=(float s) { return setValue(vec[0] * s, vec[1] * s, vec[2] * s); }
    SbVec3f& operator/=(float s) { return setValue(vec[0] / s, vec[1] / s, vec[2] / s); }
    SbVec3f operator-() const { return SbVec3f(-vec[0], -vec[1], -vec[2]); }

    friend SbVec3f operator+(SbVec3f a, const SbVec3f& b) { return a += b; }
    friend SbVec3f operator-(SbVec3f a, const SbVec3f& b) { return a -= b; }
    friend SbVec3f operator*(SbVec3f v, float s) { return v *= s; }
    friend SbVec3f operator*(float s, SbVec3f v) { return v *= s; }
    friend SbVec3f operator/(SbVec3f v, float s) { return v /= s; }
    friend bool operator==(const SbVec3f& a, const SbVec3f& b) {
        return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
    }
    friend bool operator!=(const SbVec3f& a, const SbVec3f& b) { return !(a == b); }

  protected:
    float vec[3];
};
