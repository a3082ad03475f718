#pragma once

#include <Tessara/math/SbVec3f.h>

class SbMatrix;

/// Axis-aligned 3D box given by its min and max corners. A new box is empty (min = +FLT_MAX,
/// max = -FLT_MAX) so that the first extendBy() sets it to exactly that point or box.
class SbBox3f {
  public:
    SbBox3f() { makeEmpty(); }
    SbBox3f(float xmin, float ymin, float zmin, float xmax, float ymax, float zmax)
        : minPt_(xmin, ymin, zmin), maxPt_(xmax, ymax, zmax) {}
    SbBox3f(const SbVec3f& min, const SbVec3f& max) : minPt_(min), maxPt_(max) {}

    const SbVec3f& getMin() const { return minPt_; }
    const SbVec3f& getMax() const { return maxPt_; }
    SbVec3f& getMin() { return minPt_; }
    SbVec3f& getMax() { return maxPt_; }
    void getBounds(SbVec3f& min, SbVec3f& max) const {
        min = minPt_;
        max = maxPt_;
    }
    void getBounds(float& xmin, float& ymin, float& zmin, float& xmax, float& ymax,
                   float& zmax) const;
    void setBounds(const SbVec3f& min, const SbVec3f& max) {
        minPt_ = min;
        maxPt_ = max;
    }
    void setBounds(float xmin, float ymin, float zmin, float xmax, float ymax, float zmax);

    void makeEmpty();
    /// True when min exceeds max along some axis.
    bool isEmpty() const;
    /// True when the box has positive extent along all three axes.
    bool hasVolume() const;

    /// Grows the box just enough to hold point; a point with NaN is reported and ignored.
    void extendBy(const SbVec3f& point);
    /// Grows the box to hold box; an empty box changes nothing.
    void extendBy(const SbBox3f& box);
    /// True when point lies inside or on the boundary.
    bool intersect(const SbVec3f& point) const;
    /// True when the boxes share at least one point (touching counts); empty boxes never do.
    bool intersect(const SbBox3f& box) const;

    /// The middle of the box; the origin for an empty box.
    SbVec3f getCenter() const;
    /// Extent along each axis; zero for an empty box.
    void getSize(float& x, float& y, float& z) const;
    SbVec3f getSize() const;
    /// The min corner.
    SbVec3f getOrigin() const { return minPt_; }
    /// Range of dot(point, direction) over the box: its extent along an arbitrary axis.
    /// An empty box gives dMin > dMax.
    void getSpan(const SbVec3f& direction, float& dMin, float& dMax) const;
    /// Corner `index` (0 to 7): bit 0 takes the max x, bit 1 the max y, bit 2 the max z.
    SbVec3f getCorner(int index) const {
        return SbVec3f((index & 1 ? maxPt_ : minPt_)[0], (index & 2 ? maxPt_ : minPt_)[1],
                       (index & 4 ? maxPt_ : minPt_)[2]);
    }
    /// Replaces the box by the bounding box of its eight transformed corners (row-vector
    /// transform with division by w). An empty box stays empty.
    void transform(const SbMatrix& m);

    friend bool operator==(const SbBox3f& a, const SbBox3f& b) {
        return a.minPt_ == b.minPt_ && a.maxPt_ == b.maxPt_;
    }
    friend bool operator!=(const SbBox3f& a, const SbBox3f& b) { return !(a == b); }

  private:
    SbVec3f minPt_;
    SbVec3f maxPt_;
};
