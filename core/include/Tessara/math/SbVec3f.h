#pragma once

#include <Tessara/math/SbMathHelper.h>

#include <cmath>

/// Three-component float vector: points, directions and normals.
class SbVec3f {
  public:
    SbVec3f() : vec_{0.0f, 0.0f, 0.0f} {}
    SbVec3f(float x, float y, float z) : vec_{x, y, z} {}
    /// Copies three floats; a null pointer is reported and gives the zero vector.
    explicit SbVec3f(const float v[3]) : vec_{0.0f, 0.0f, 0.0f} { setValue(v); }

    SbVec3f& setValue(float x, float y, float z) {
        vec_[0] = x;
        vec_[1] = y;
        vec_[2] = z;
        return *this;
    }
    SbVec3f& setValue(const float v[3]);
    const float* getValue() const { return vec_; }
    void getValue(float& x, float& y, float& z) const {
        x = vec_[0];
        y = vec_[1];
        z = vec_[2];
    }

    float& operator[](int i) {
        return (i >= 0 && i < 3) ? vec_[i] : SbMathHelper::badIndex<float>("SbVec3f", i, 3);
    }
    const float& operator[](int i) const {
        return (i >= 0 && i < 3) ? vec_[i] : SbMathHelper::badIndex<float>("SbVec3f", i, 3);
    }

    float dot(const SbVec3f& v) const { return vec_[0] * v[0] + vec_[1] * v[1] + vec_[2] * v[2]; }
    SbVec3f cross(const SbVec3f& v) const {
        return SbVec3f(vec_[1] * v[2] - vec_[2] * v[1], vec_[2] * v[0] - vec_[0] * v[2],
                       vec_[0] * v[1] - vec_[1] * v[0]);
    }
    float sqrLength() const { return dot(*this); }
    float length() const { return std::sqrt(sqrLength()); }
    /// Scales to unit length and returns the former length; a zero vector is left as it is.
    float normalize() {
        const float len = length();
        if (len > 0.0f) *this /= len;
        return len;
    }
    void negate() { setValue(-vec_[0], -vec_[1], -vec_[2]); }
    /// True when every component differs from v's by at most tolerance.
    bool equals(const SbVec3f& v, float tolerance) const {
        return SbMathHelper::isCoinc(vec_[0], v[0], tolerance) &&
               SbMathHelper::isCoinc(vec_[1], v[1], tolerance) &&
               SbMathHelper::isCoinc(vec_[2], v[2], tolerance);
    }

    SbVec3f& operator+=(const SbVec3f& v) {
        return setValue(vec_[0] + v[0], vec_[1] + v[1], vec_[2] + v[2]);
    }
    SbVec3f& operator-=(const SbVec3f& v) {
        return setValue(vec_[0] - v[0], vec_[1] - v[1], vec_[2] - v[2]);
    }
    SbVec3f& operator*=(float s) { return setValue(vec_[0] * s, vec_[1] * s, vec_[2] * s); }
    SbVec3f& operator/=(float s) { return setValue(vec_[0] / s, vec_[1] / s, vec_[2] / s); }
    SbVec3f operator-() const { return SbVec3f(-vec_[0], -vec_[1], -vec_[2]); }

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
    float vec_[3];
};
