#pragma once

#include <Tessara/math/SbMathHelper.h>

/// Two-component short vector: window and viewport sizes in pixels.
class SbVec2s {
  public:
    SbVec2s() : vec_{0, 0} {}
    SbVec2s(short x, short y) : vec_{x, y} {}
    /// Copies two shorts; a null pointer is reported and gives the zero vector.
    explicit SbVec2s(const short v[2]) : vec_{0, 0} { setValue(v); }

    SbVec2s& setValue(short x, short y) {
        vec_[0] = x;
        vec_[1] = y;
        return *this;
    }
    SbVec2s& setValue(const short v[2]);
    const short* getValue() const { return vec_; }
    void getValue(short& x, short& y) const {
        x = vec_[0];
        y = vec_[1];
    }

    short& operator[](int i) {
        return (i >= 0 && i < 2) ? vec_[i] : SbMathHelper::badIndex<short>("SbVec2s", i, 2);
    }
    const short& operator[](int i) const {
        return (i >= 0 && i < 2) ? vec_[i] : SbMathHelper::badIndex<short>("SbVec2s", i, 2);
    }

    // Sums are computed in int and narrowed back, as for any short arithmetic.
    friend SbVec2s operator+(const SbVec2s& a, const SbVec2s& b) {
        return SbVec2s(static_cast<short>(a[0] + b[0]), static_cast<short>(a[1] + b[1]));
    }
    friend SbVec2s operator-(const SbVec2s& a, const SbVec2s& b) {
        return SbVec2s(static_cast<short>(a[0] - b[0]), static_cast<short>(a[1] - b[1]));
    }
    friend bool operator==(const SbVec2s& a, const SbVec2s& b) {
        return a[0] == b[0] && a[1] == b[1];
    }
    friend bool operator!=(const SbVec2s& a, const SbVec2s& b) { return !(a == b); }

  private:
    short vec_[2];
};
