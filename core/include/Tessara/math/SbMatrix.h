#pragma once

#include <Tessara/math/SbVec3f.h>
#include <Tessara/math/SbVec4f.h>

#include <cstdio>

class SbLine;
class SbRotation;

/// 4x4 float matrix for row vectors: a point p maps to p x M, and the translation sits in row 3
/// (m[3][0..2]). Products read left to right in the order transforms apply.
class SbMatrix {
  public:
    /// The identity, so that a matrix nobody set still transforms harmlessly.
    SbMatrix() { makeIdentity(); }
    /// Sixteen values, row by row.
    SbMatrix(float a11, float a12, float a13, float a14, float a21, float a22, float a23, float a24,
             float a31, float a32, float a33, float a34, float a41, float a42, float a43,
             float a44);
    explicit SbMatrix(const float m[4][4]) { setValue(m); }

    SbMatrix& setValue(float a11, float a12, float a13, float a14, float a21, float a22, float a23,
                       float a24, float a31, float a32, float a33, float a34, float a41, float a42,
                       float a43, float a44);
    /// A null array is reported and leaves the identity.
    SbMatrix& setValue(const float m[4][4]);
    /// Sixteen values row by row; a null pointer is reported and leaves the identity.
    SbMatrix& setValue(const float* m16);
    /// The sixteen values row by row.
    const float* getValue() const { return &matrix_[0][0]; }
    void getValue(float m[4][4]) const;

    /// Row i; an out-of-range row is reported and a scratch row of zeros is returned.
    float* operator[](int i) { return i >= 0 && i < 4 ? matrix_[i] : badRow(i); }
    const float* operator[](int i) const { return i >= 0 && i < 4 ? matrix_[i] : badRow(i); }

    void makeIdentity();
    static SbMatrix identity() { return SbMatrix(); }
    void setScale(float s) { setScale(SbVec3f(s, s, s)); }
    void setScale(const SbVec3f& s);
    void setTranslate(const SbVec3f& t);
    void setRotate(const SbRotation& r);
    /// Scale, then rotate, then translate.
    void setTransform(const SbVec3f& t, const SbRotation& r, const SbVec3f& s);
    /// As above, with the scale applied along the axes of the scale orientation so.
    void setTransform(const SbVec3f& t, const SbRotation& r, const SbVec3f& s,
                      const SbRotation& so);
    /// The full transform about a centre c: -C x SO^-1 x S x SO x R x T x C, where -C and C
    /// translate by -c and c.
    void setTransform(const SbVec3f& t, const SbRotation& r, const SbVec3f& s, const SbRotation& so,
                      const SbVec3f& c);
    /// Splits the matrix back into the parts setTransform takes. The scale orientation comes
    /// from the eigenvectors of the stretch, so a shear-free matrix is recovered exactly up to
    /// float rounding; a mirror shows up as negative scale. The projective column is ignored.
    void getTransform(SbVec3f& t, SbRotation& r, SbVec3f& s, SbRotation& so) const;
    void getTransform(SbVec3f& t, SbRotation& r, SbVec3f& s, SbRotation& so,
                      const SbVec3f& c) const;

    /// Determinant of the upper-left 3x3 block.
    float det3() const;
    float det4() const;
    /// The inverse. A singular or non-finite matrix has none: that is reported as a warning
    /// and the identity is returned, so callers keep a finite, harmless transform.
    SbMatrix inverse() const;
    SbMatrix transpose() const;

    /// this = this x m: m applies after this.
    SbMatrix& multRight(const SbMatrix& m);
    /// this = m x this: m applies before this.
    SbMatrix& multLeft(const SbMatrix& m);
    SbMatrix& operator*=(const SbMatrix& m) { return multRight(m); }
    friend SbMatrix operator*(const SbMatrix& a, const SbMatrix& b) {
        SbMatrix r(a);
        return r.multRight(b);
    }

    /// Point transform (x, y, z, 1) x M, divided by w unless w is 0 or 1.
    void multVecMatrix(const SbVec3f& src, SbVec3f& dst) const;
    void multVecMatrix(const SbVec4f& src, SbVec4f& dst) const;
    /// Column-vector transform M x (x, y, z, 1), divided by w unless w is 0 or 1.
    void multMatrixVec(const SbVec3f& src, SbVec3f& dst) const;
    /// Direction transform with the upper 3x3 only (row vector, no translation).
    void multDirMatrix(const SbVec3f& src, SbVec3f& dst) const;
    /// Moves a line by moving two of its points, so that projective matrices work too.
    void multLineMatrix(const SbLine& src, SbLine& dst) const;
    /// M x v with v taken as a column vector (note: not the row-vector product).
    SbVec4f operator*(const SbVec4f& v) const;

    /// True when every element differs by at most tolerance.
    bool equals(const SbMatrix& m, float tolerance) const;
    friend bool operator==(const SbMatrix& a, const SbMatrix& b);
    friend bool operator!=(const SbMatrix& a, const SbMatrix& b) { return !(a == b); }

    /// Writes the four rows, one per line; a null stream is reported.
    void print(FILE* fp) const;

  private:
    static float* badRow(int i);

    float matrix_[4][4];
};
