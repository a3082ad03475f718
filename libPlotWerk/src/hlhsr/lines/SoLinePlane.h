#pragma once

#include "SoLinePoint.h"

/// A plane of the hidden-line computation: a x + b y + c z + d = 0, (a, b, c) of unit
/// length, so that distances from it are those of the page's space.
struct SoLinePlane {
    double a = 0, b = 0, c = 1, d = 0;

    /// The plane through p with the unit normal n.
    static SoLinePlane through(const SoLinePoint& p, const SoLinePoint& n) {
        return {n.x, n.y, n.z, -(n.x * p.x + n.y * p.y + n.z * p.z)};
    }
    /// The signed distance of p, positive on the side the normal points to.
    double distance(const SoLinePoint& p) const { return a * p.x + b * p.y + c * p.z + d; }
    /// The depth of the plane at (x, y).
    double depthAt(double x, double y) const { return -(a * x + b * y + d) / c; }
};
