#pragma once

#include <Tessara/math/SbVec3f.h>

/// The normal of a polygon by Newell's method: the normal of the plane that best fits all its
/// corners, weighted by the area they enclose. Exact for planar polygons, a fair average for
/// warped ones, and independent of which corner comes first.
///
/// The sum runs in double precision about the first corner. In single precision about the
/// origin, the sum of products of coordinates cancels down to the polygon's area: for a
/// triangle a tenth of a unit wide, 100,000 units from the origin, a typical normal was off by
/// ten degrees; and coordinates beyond 1e19 or below 1e-19 overflowed or vanished in it.
class SbPolygonNormal {
  public:
    /// Adds the next corner, in order around the polygon.
    void add(float x, float y, float z);
    void add(const SbVec3f& corner) { add(corner[0], corner[1], corner[2]); }
    /// Starts another contour of the same polygon, a hole or another part: the corners added
    /// next run around it, and the normal is that of all contours together.
    void beginContour() { corners_ = 0; }

    /// The unit normal, facing the side from which the corners run counter-clockwise; the zero
    /// vector for corners that enclose no area, NaN components for corners that are not all
    /// finite.
    SbVec3f getUnit() const;

  private:
    int corners_ = 0;
    double first_[3] = {0.0, 0.0, 0.0};
    double last_[3] = {0.0, 0.0, 0.0};  ///< the last corner, from the first
    double sum_[3] = {0.0, 0.0, 0.0};
};
