#pragma once

#include <Tessara/math/SbMathHelper.h>
#include <Tessara/math/SbVec3f.h>

#include <cmath>

/// Four-component float vector, mostly homogeneous points (x, y, z, w).
class SbVec4f {
  public:
    SbVec4f() : vec_{0.0f, 0.0f, 0.0f, 0.0f} {}
    SbVec4f(float x, float y, float z, float w) : vec_{x, y, z, w} {}
    /// Copies four floats; a null pointer is reported and gives the zero vector.
    explicit SbVec4f(const float v[4]) : vec_{0.0f, 0.0f, 0.0f, 0.0f} { setValue(v); }

    SbVec4f& setValue(float x, float y, float z, float w) {
        vec_[0] = x;
        vec_[1] = y;
        vec_[2] = z;
        vec_[3] = w;
        return *this;
    }
    SbVec4f& setValue(const float v[4]);
    const float* getValue() const { return vec_; }
    void getValue(float& x, float& y, float& z, float& w) const {
        x = vec_[0];
        y = vec_[1];
        z = vec_[2];
        w = vec_[3];
    }
    /// The 3D point this homogeneous vector stands for (x/w, y/w, z/w). With w == 0 there is no
    /// such point: that is reported and x, y, z are returned undivided.
    void getReal(SbVec3f& v) const;

    float& operator[](int i) {
        return (i >= 0 && i < 4) ? vec_[i] : SbMathHelper::badIndex<float>("SbVec4f", i, 4);
    }
    const float& operator[](int i) const {
        return (i >= 0 && i < 4) ? vec_[i] : SbMathHelper::badIndex<float>("SbVec4f", i, 4);
    }

    float dot(const SbVec4f& v) const {
        return vec_[0] * v[0] + vec_[1] * v[1] + vec_[2] * v[2] + vec_[3] * v[3];
    }
    float sqrLength() const { return dot(*this); }
    float length() const { return std::sqrt(sqrLength()); }
    /// Scales to unit length and returns the former length; a zero vector is left as it is.
    float normalize() {
        const float len = length();
        if (len > 0.0f) *this /= len;
        return len;
    }
    void negate() { setValue(-vec_[0], -vec_[1], -vec_[2], -vec_[3]); }
    /// True when every component differs from v's by at most tolerance.
    bool equals(const SbVec4f& v, float tolerance) const {
        for (int i = 0; i < 4; ++i) {
            if (!SbMathHelper::isCoinc(vec_[i], v[i], tolerance)) return false;
        }
        return true;
    }

    SbVec4f& operator+=(const SbVec4f& v) {
        return setValue(vec_[0] + v[0], vec_[1] + v[1], vec_[2] + v[2], vec_[3] + v[3]);
    }
    SbVec4f& operator-=(const SbVec4f& v) {
        return setValue(vec_[0] - v[0], vec_[1] - v[1], vec_[2] - v[2], vec_[3] - v[3]);
    }
    SbVec4f& operator*=(float s) {
        return setValue(vec_[0] * s, vec_[1] * s, vec_[2] * s, vec_[3] * s);
    }
    SbVec4f& operator/=(float s) {
        return setValue(vec_[0] / s, vec_[1] / s, vec_[2] / s, vec_[3] / s);
    }
    SbVec4f operator-() const { return SbVec4f(-vec_[0], -vec_[1], -vec_[2], -vec_[3]); }

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
    float vec_[4];
};
