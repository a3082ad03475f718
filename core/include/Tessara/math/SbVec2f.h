#pragma once

#include <Tessara/math/SbMathHelper.h>

#include <cmath>

/// Two-component float vector: screen positions, normalised coordinates, texture coordinates.
class SbVec2f {
  public:
    SbVec2f() : vec_{0.0f, 0.0f} {}
    SbVec2f(float x, float y) : vec_{x, y} {}
    /// Copies two floats; a null pointer is reported and gives the zero vector.
    explicit SbVec2f(const float v[2]) : vec_{0.0f, 0.0f} { setValue(v); }

    SbVec2f& setValue(float x, float y) {
        vec_[0] = x;
        vec_[1] = y;
        return *this;
    }
    SbVec2f& setValue(const float v[2]);
    const float* getValue() const { return vec_; }
    void getValue(float& x, float& y) const {
        x = vec_[0];
        y = vec_[1];
    }

    float& operator[](int i) {
        return (i >= 0 && i < 2) ? vec_[i] : SbMathHelper::badIndex<float>("SbVec2f", i, 2);
    }
    const float& operator[](int i) const {
        return (i >= 0 && i < 2) ? vec_[i] : SbMathHelper::badIndex<float>("SbVec2f", i, 2);
    }

    float dot(const SbVec2f& v) const { return vec_[0] * v[0] + vec_[1] * v[1]; }
    float sqrLength() const { return dot(*this); }
    float length() const { return std::sqrt(sqrLength()); }
    /// Scales to unit length and returns the former length; a zero vector is left as it is.
    float normalize() {
        const float len = length();
        if (len > 0.0f) *this /= len;
        return len;
    }
    void negate() { setValue(-vec_[0], -vec_[1]); }
    /// True when every component differs from v's by at most tolerance.
    bool equals(const SbVec2f& v, float tolerance) const {
        return SbMathHelper::isCoinc(vec_[0], v[0], tolerance) &&
               SbMathHelper::isCoinc(vec_[1], v[1], tolerance);
    }

    SbVec2f& operator+=(const SbVec2f& v) { return setValue(vec_[0] + v[0], vec_[1] + v[1]); }
    SbVec2f& operator-=(const SbVec2f& v) { return setValue(vec_[0] - v[0], vec_[1] - v[1]); }
    SbVec2f& operator*=(float s) { return setValue(vec_[0] * s, vec_[1] * s); }
    SbVec2f& operator/=(float s) { return setValue(vec_[0] / s, vec_[1] / s); }
    SbVec2f operator-() const { return SbVec2f(-vec_[0], -vec_[1]); }

    friend SbVec2f operator+(SbVec2f a, const SbVec2f& b) { return a += b; }
    friend SbVec2f operator-(SbVec2f a, const SbVec2f& b) { return a -= b; }
    friend SbVec2f operator*(SbVec2f v, float s) { return v *= s; }
    friend SbVec2f operator*(float s, SbVec2f v) { return v *= s; }
    friend SbVec2f operator/(SbVec2f v, float s) { return v /= s; }
    friend bool operator==(const SbVec2f& a, const SbVec2f& b) {
        return a[0] == b[0] && a[1] == b[1];
    }
    friend bool operator!=(const SbVec2f& a, const SbVec2f& b) { return !(a == b); }

  private:
    float vec_[2];
};
