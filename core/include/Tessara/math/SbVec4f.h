#pragma once

#include <Tessara/math/SbMathHelper.h>
#include <Tessara/math/SbVec3f.h>

#include <cmath>

/// Four-component float vector, mostly homogeneous points (x, y, z, w).
class SbVec4f {
  public:
    SbVec4f() : vec{0.0f, 0.0f, 0.0f, 0.0f} {}
    SbVec4f(float x, float y, float z, float w) : vec{x, y, z, w} {}
    /// Copies four floats; a null pointer is reported and gives the zero vector.
    explicit SbVec4f(const float v[4]) : vec{0.0f, 0.0f, 0.0f, 0.0f} { setValue(v); }

    SbVec4f& setValue(float x, float y, float z, float w) {
        vec[0] = x;
        vec[1] = y;
        vec[2] = z;
        vec[3] = w;
        return *this;
    }
    SbVec4f& setValue(const float v[4]);
    const float* getValue() const { return vec; }
    void getValue(float& x, float& y, float& z, float& w) const {
        x = vec[0];
        y = vec[1];
        z = vec[2];
        w = vec[3];
    }
    /// The 3D point this homogeneous vector stands for (x/w, y/w, z/w). With w == 0 there is no
    /// such point: that is reported and x, y, z are returned undivided.
    void getReal(SbVec3f& v) const;

    float& operator[](int i) {
        return (i >= 0 && i < 4) ? vec[i] : SbMathHelper::badIndex<float>("SbVec4f", i, 4);
    }
    const float& operator[](int i) const {
        return (i >= 0 && i < 4) ? vec[i] : SbMathHelper::badIndex<float>("SbVec4f", i, 4);
    }

    float dot(const SbVec4f& v) const {
        return vec[0] * v[0] + vec[1] * v[1] + vec[2] * v[2] + vec[3] * v[3];
    }
    float sqrLength() const { return dot(*this); }
    float length() const { return std::sqrt(sqrLength()); }
    /// Scales to unit length and returns the former length; a zero vector is left as it is.
    float normalize() {
        const float len = length();
        if (len > 0.0f) *this /= len;
        return len;
    }
    void negate() { setValue(-vec[0], -vec[1], -vec[2], -vec[3]); }
    /// True when every component differs from v's by at most tolerance.
    bool equals(const SbVec4f& v, float tolerance) const {
        for (int i = 0; i < 4; ++i) {
            if (!SbMathHelper::isCoinc(vec[i], v[i], tolerance)) return false;
        }
        return true;
    }

    SbVec4f& operator+=(const SbVec4f& v) {
        return setValue(vec[0] + v[0], vec[1] + v[1], vec[2] + v[2], vec[3] + v[3]);
    }
    SbVec4f& operator-=(const SbVec4f& v) {
        return setValue(vec[0] - v[0], vec[1] - v[1], vec[2] - v[2], vec[3] - v[3]);
    }
    SbVec4f& operator*=(float s) {
        return setValue(vec[0] * s, vec[1] * s, vec[2] * s, vec[3] * s);
    }
    SbVec4f& operator/=(float s) {
        return setValue(vec[0] / s, vec[1] / s, vec[2] / s, vec[3] / s);
    }
    SbVec4f operator-() const { return SbVec4f(-vec[0], -vec[1], -vec[2], -vec[3]); }

    friend SbVec4f operator+(SbVec4f a, const SbVec4f& b) { return a += b; }
    friend SbVec4f operator-(SbVec4f a, const SbVec4f& b) { return a -= b; }
    friend SbVec4f operator*(SbVec4f v, float s) { return v *= s; }
    friend SbVec4f operator*(float s, SbVec4f v) { return v *= s; }
    friend SbVec4f operator/(SbVec4f v, float s) { return v /= s; }
    friend bool operator==(const SbVec4f& a, const SbVec4f& b) {
        return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
    }
    friend bool operator!=(const SbVec4f& a, const SbVec4f& b) { return !(a == b); }

  private:
    float vec[4];
};
