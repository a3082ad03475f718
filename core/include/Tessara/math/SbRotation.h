#pragma once

#include <Tessara/math/SbVec3f.h>

class SbMatrix;

/// A 3D rotation stored as a unit quaternion (x, y, z, w).
///
/// Rotations act on row vectors like SbMatrix does: `a * b` rotates by a first, then by b, so
/// that the matrix of `a * b` is the matrix of a times the matrix of b.
class SbRotation {
  public:
    /// The identity rotation.
    SbRotation() : quat_{0.0f, 0.0f, 0.0f, 1.0f} {}
    SbRotation(const SbVec3f& axis, float radians) { setValue(axis, radians); }
    SbRotation(float x, float y, float z, float w) { setValue(x, y, z, w); }
    explicit SbRotation(const float q[4]) { setValue(q); }
    /// The shortest rotation that turns direction rotateFrom into direction rotateTo.
    SbRotation(const SbVec3f& rotateFrom, const SbVec3f& rotateTo) {
        setValue(rotateFrom, rotateTo);
    }
    explicit SbRotation(const SbMatrix& m) { setValue(m); }

    /// Takes a quaternion; it is normalised, and a zero quaternion is reported and gives the
    /// identity.
    SbRotation& setValue(float x, float y, float z, float w);
    SbRotation& setValue(const float q[4]);
    /// Rotation of `radians` counter-clockwise about axis (seen from its tip). A zero axis is
    /// reported and gives the identity.
    SbRotation& setValue(const SbVec3f& axis, float radians);
    /// Shortest arc from one direction to another; opposite directions give a half turn about
    /// some axis perpendicular to them.
    SbRotation& setValue(const SbVec3f& rotateFrom, const SbVec3f& rotateTo);
    /// Rotation part of the upper 3x3 of m; the length of each row (an axis scale) is divided
    /// out first.
    SbRotation& setValue(const SbMatrix& m);

    /// The quaternion as four floats x, y, z, w.
    const float* getValue() const { return quat_; }
    void getValue(float& x, float& y, float& z, float& w) const;
    /// Unit axis and angle in [0, 2pi]; the identity reports axis (0, 0, 1) and angle 0.
    void getValue(SbVec3f& axis, float& radians) const;
    /// The matrix that rotates row vectors as this rotation does.
    void getValue(SbMatrix& m) const;

    SbRotation inverse() const { return SbRotation(-quat_[0], -quat_[1], -quat_[2], quat_[3]); }
    SbRotation& invert() { return *this = inverse(); }

    /// Appends q: this rotation is applied first, then q.
    SbRotation& operator*=(const SbRotation& q);
    friend SbRotation operator*(SbRotation a, const SbRotation& b) { return a *= b; }

    /// Rotates a vector.
    void multVec(const SbVec3f& src, SbVec3f& dst) const;

    /// True when both stand for the same rotation within tolerance per quaternion component;
    /// q and -q are the same rotation, so either sign matches.
    bool equals(const SbRotation& r, float tolerance) const;
    /// Exact equality of the stored quaternions.
    friend bool operator==(const SbRotation& a, const SbRotation& b);
    friend bool operator!=(const SbRotation& a, const SbRotation& b) { return !(a == b); }

    /// Spherical interpolation along the shorter arc: t = 0 gives from, t = 1 gives to.
    static SbRotation slerp(const SbRotation& from, const SbRotation& to, float t);
    static SbRotation identity() { return SbRotation(); }

  private:
    float quat_[4];
};
