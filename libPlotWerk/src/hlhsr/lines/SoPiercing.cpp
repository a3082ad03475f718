#include "SoPiercing.h"

bool SoPiercing::find(const SoLineObject& p, const SoLinePoint& a, const SoLinePoint& b,
                      double tolerance, double& t) {
    if (std::max(a.z, b.z) < p.zmin || std::min(a.z, b.z) > p.zmax) return false;
    const double da = p.planeDistance(a), db = p.planeDistance(b);
    if (!((da > tolerance && db < -tolerance) || (da < -tolerance && db > tolerance))) return false;
    t = da / (da - db);
    const SoLinePoint x = along(a, b, t);
    return p.outlineContains(x.x, x.y);
}
