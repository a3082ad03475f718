#pragma once

#include <Tessara/math/SbMathHelper.h>

/// Three-component short vector: compact integer triples such as voxel or grid indices.
class SbVec3s {
  public:
    SbVec3s() : vec_{0, 0, 0} {}
    SbVec3s(short x, short y, short z) : vec_{x, y, z} {}
    /// Copies three shorts; a null pointer is reported and gives the zero vector.
    explicit SbVec3s(const short v[3]) : vec_{0, 0, 0} { setValue(v); }

    SbVec3s& setValue(short x, short y, short z) {
        vec_[0] = x;
        vec_[1] = y;
        vec_[2] = z;
        return *this;
    }
    SbVec3s& setValue(const short v[3]);
    const short* getValue() const { return vec_; }
    void getValue(short& x, short& y, short& z) const {
        x = vec_[0];
        y = vec_[1];
        z = vec_[2];
    }

    short& operator[](int i) {
        return (i >= 0 && i < 3) ? vec_[i] : SbMathHelper::badIndex<short>("SbVec3s", i, 3);
    }
    const short& operator[](int i) const {
        return (i >= 0 && i < 3) ? vec_[i] : SbMathHelper::badIndex<short>("SbVec3s", i, 3);
    }

    // Sums are computed in int and narrowed back, as for any short arithmetic.
    friend SbVec3s operator+(const SbVec3s& a, const SbVec3s& b) {
        return SbVec3s(static_cast<short>(a[0] + b[0]), static_cast<short>(a[1] + b[1]),
                       static_cast<short>(a[2] + b[2]));
    }
    friend SbVec3s operator-(const SbVec3s& a, const SbVec3s& b) {
        return SbVec3s(static_cast<short>(a[0] - b[0]), static_cast<short>(a[1] - b[1]),
                       static_cast<short>(a[2] - b[2]));
    }
    friend bool operator==(const SbVec3s& a, const SbVec3s& b) {
        return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
    }
    friend bool operator!=(const SbVec3s& a, const SbVec3s& b) { return !(a == b); }

  private:
    short vec_[3];
};
