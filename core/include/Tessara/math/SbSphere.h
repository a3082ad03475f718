#pragma once

#include <Tessara/math/SbVec3f.h>

class SbBox3f;
class SbLine;

/// A sphere by centre and radius: cheap bounds for cameras fitting a scene into view.
class SbSphere {
  public:
    /// Unit sphere at the origin.
    SbSphere() : center_(0.0f, 0.0f, 0.0f), radius_(1.0f) {}
    SbSphere(const SbVec3f& c, float r) { setValue(c, r); }

    /// A negative or NaN radius is reported and replaced by 0.
    void setValue(const SbVec3f& c, float r);
    void setCenter(const SbVec3f& c) { center_ = c; }
    void setRadius(float r) { setValue(center_, r); }
    const SbVec3f& getCenter() const { return center_; }
    float getRadius() const { return radius_; }

    /// Smallest sphere around the box's corners (centre at the box centre). An empty box gives
    /// a zero sphere at the origin.
    void circumscribe(const SbBox3f& box);
    /// True when point lies inside or on the sphere.
    bool pointInside(const SbVec3f& point) const;
    /// Where line enters and leaves the sphere; false when it misses. A tangent line enters
    /// and leaves at the same point.
    bool intersect(const SbLine& line, SbVec3f& enter, SbVec3f& exit) const;

  private:
    SbVec3f center_;
    float radius_;
};
