#pragma once

#include <Tessara/math/SbMathHelper.h>

#include <cstdint>

/// Two-component 32-bit integer vector: pixel sizes too large for shorts (print resolutions).
class SbVec2i32 {
  public:
    SbVec2i32() : vec_{0, 0} {}
    SbVec2i32(int32_t x, int32_t y) : vec_{x, y} {}
    /// Copies two ints; a null pointer is reported and gives the zero vector.
    explicit SbVec2i32(const int32_t v[2]) : vec_{0, 0} { setValue(v); }

    SbVec2i32& setValue(int32_t x, int32_t y) {
        vec_[0] = x;
        vec_[1] = y;
        return *this;
    }
    SbVec2i32& setValue(const int32_t v[2]);
    const int32_t* getValue() const { return vec_; }
    void getValue(int32_t& x, int32_t& y) const {
        x = vec_[0];
        y = vec_[1];
    }

    int32_t& operator[](int i) {
        return (i >= 0 && i < 2) ? vec_[i] : SbMathHelper::badIndex<int32_t>("SbVec2i32", i, 2);
    }
    const int32_t& operator[](int i) const {
        return (i >= 0 && i < 2) ? vec_[i] : SbMathHelper::badIndex<int32_t>("SbVec2i32", i, 2);
    }

    // Added in 64 bits and wrapped back, so that overflow is defined instead of UB.
    friend SbVec2i32 operator+(const SbVec2i32& a, const SbVec2i32& b) {
        return SbVec2i32(wrap(int64_t(a[0]) + b[0]), wrap(int64_t(a[1]) + b[1]));
    }
    friend SbVec2i32 operator-(const SbVec2i32& a, const SbVec2i32& b) {
        return SbVec2i32(wrap(int64_t(a[0]) - b[0]), wrap(int64_t(a[1]) - b[1]));
    }
    friend bool operator==(const SbVec2i32& a, const SbVec2i32& b) {
        return a[0] == b[0] && a[1] == b[1];
    }
    friend bool operator!=(const SbVec2i32& a, const SbVec2i32& b) { return !(a == b); }

  private:
    static int32_t wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

    int32_t vec_[2];
};
