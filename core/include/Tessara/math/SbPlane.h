#pragma once

#include <Tessara/math/SbVec3f.h>

class SbLine;
class SbMatrix;

/// An oriented plane: the points p with dot(normal, p) == distance, normal of unit length.
class SbPlane {
  public:
    /// The plane z = 0 facing +z.
    SbPlane() : normalVec_(0.0f, 0.0f, 1.0f), distance_(0.0f) {}
    /// normal need not be unit length; a zero normal is reported and replaced by +z.
    SbPlane(const SbVec3f& normal, float distanceFromOrigin);
    /// The plane through three points, facing the side from which they run counter-clockwise.
    SbPlane(const SbVec3f& p0, const SbVec3f& p1, const SbVec3f& p2);
    SbPlane(const SbVec3f& normal, const SbVec3f& point);

    const SbVec3f& getNormal() const { return normalVec_; }
    float getDistanceFromOrigin() const { return distance_; }
    /// Signed distance of point: positive on the side the normal points to.
    float getDistance(const SbVec3f& point) const { return normalVec_.dot(point) - distance_; }

    /// Moves the plane along its normal.
    void offset(float d) { distance_ += d; }
    /// Moves the plane with the points it contains when they are transformed by matrix (a row-
    /// vector transform). A singular matrix is reported and leaves the plane unchanged.
    void transform(const SbMatrix& matrix);

    /// True when point lies on the plane or on the side its normal points to.
    bool isInHalfSpace(const SbVec3f& point) const { return getDistance(point) >= 0.0f; }
    /// Where line crosses the plane; false, with nothing written, when they are parallel.
    bool intersect(const SbLine& line, SbVec3f& intersection) const;

    friend bool operator==(const SbPlane& a, const SbPlane& b) {
        return a.normalVec_ == b.normalVec_ && a.distance_ == b.distance_;
    }
    friend bool operator!=(const SbPlane& a, const SbPlane& b) { return !(a == b); }

  private:
    void setNormal(const SbVec3f& normal, const char* where);

    SbVec3f normalVec_;
    float distance_;
};
