#pragma once

#include <Tessara/math/SbVec2f.h>

/// Axis-aligned 2D box given by its min and max corners: screen areas, page regions. A new box
/// is empty (min = +FLT_MAX, max = -FLT_MAX) so that the first extendBy() sets it exactly.
class SbBox2f {
  public:
    SbBox2f() { makeEmpty(); }
    SbBox2f(float xmin, float ymin, float xmax, float ymax)
        : minPt_(xmin, ymin), maxPt_(xmax, ymax) {}
    SbBox2f(const SbVec2f& min, const SbVec2f& max) : minPt_(min), maxPt_(max) {}

    const SbVec2f& getMin() const { return minPt_; }
    const SbVec2f& getMax() const { return maxPt_; }
    SbVec2f& getMin() { return minPt_; }
    SbVec2f& getMax() { return maxPt_; }
    void getBounds(SbVec2f& min, SbVec2f& max) const {
        min = minPt_;
        max = maxPt_;
    }
    void getBounds(float& xmin, float& ymin, float& xmax, float& ymax) const;
    void setBounds(const SbVec2f& min, const SbVec2f& max) {
        minPt_ = min;
        maxPt_ = max;
    }
    void setBounds(float xmin, float ymin, float xmax, float ymax);

    void makeEmpty();
    /// True when min exceeds max along some axis.
    bool isEmpty() const;
    /// True when the box has positive extent along both axes.
    bool hasArea() const;

    /// Grows the box just enough to hold point; a point with NaN is reported and ignored.
    void extendBy(const SbVec2f& point);
    /// Grows the box to hold box; an empty box changes nothing.
    void extendBy(const SbBox2f& box);
    /// True when point lies inside or on the boundary.
    bool intersect(const SbVec2f& point) const;
    /// True when the boxes share at least one point (touching counts); empty boxes never do.
    bool intersect(const SbBox2f& box) const;

    /// The middle of the box; the origin for an empty box.
    SbVec2f getCenter() const;
    /// Extent along each axis; zero for an empty box.
    void getSize(float& x, float& y) const;
    SbVec2f getSize() const;
    /// The min corner.
    SbVec2f getOrigin() const { return minPt_; }
    /// Width over height; 0 when the box has no height.
    float getAspectRatio() const;

    friend bool operator==(const SbBox2f& a, const SbBox2f& b) {
        return a.minPt_ == b.minPt_ && a.maxPt_ == b.maxPt_;
    }
    friend bool operator!=(const SbBox2f& a, const SbBox2f& b) { return !(a == b); }

  private:
    SbVec2f minPt_;
    SbVec2f maxPt_;
};
