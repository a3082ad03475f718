#pragma once

#include <array>
#include <cmath>
#include <optional>

#include "SoLinePoint.h"

/// Where the page paths (x, y) of the segments p0..p1 and q0..q1 cross strictly between their
/// ends, as parameters along each; none where their cross product is below `parallel`.
inline std::optional<std::array<double, 2>> pageCrossing(const SoLinePoint& p0,
                                                         const SoLinePoint& p1,
                                                         const SoLinePoint& q0,
                                                         const SoLinePoint& q1, double parallel) {
    const double dx = p1.x - p0.x, dy = p1.y - p0.y;
    const double ex = q1.x - q0.x, ey = q1.y - q0.y;
    const double det = dx * ey - dy * ex;
    if (std::fabs(det) < parallel) return std::nullopt;
    const double t = ((q0.x - p0.x) * ey - (q0.y - p0.y) * ex) / det;
    const double u = ((q0.x - p0.x) * dy - (q0.y - p0.y) * dx) / det;
    if (!(t > 0 && t < 1 && u > 0 && u < 1)) return std::nullopt;
    return std::array<double, 2>{t, u};
}
