#pragma once

#include <array>
#include <cstddef>
#include <vector>

/// The corners of the convex hull of points in a plane: the only points that can be the
/// farthest out in any direction, or under any perspective that looks across the plane.
class ConvexOutline {
  public:
    /// The indices of points at the hull's corners, counter-clockwise: where the points lie
    /// on one line, its two ends. Points that are not finite are left out.
    static std::vector<size_t> cornersOf(const std::vector<std::array<double, 2>>& points);
};
