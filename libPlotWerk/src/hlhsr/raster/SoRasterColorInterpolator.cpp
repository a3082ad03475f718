// Colours inside a stored polygon.
//
// Every stored polygon is a triangle of a shape, possibly cut by the clipping planes: cutting
// a convex polygon by a plane leaves it convex, so the fan of triangles from its first
// vertex tessellates it exactly, with no tessellator needed. Colour is linear over each fan
// triangle, as a smooth-shaded triangle is on the page. A point outside every triangle (the
// traced outline runs along pixel edges, half a pixel beyond the polygon in places) is
// given to the triangle it is least outside of, with its weights clamped to the triangle:
// the colour of the nearest edge, not an extrapolation that could leave 0 .. 1.

#include "SoRasterColorInterpolator.h"

#include <algorithm>
#include <cmath>

#include "../SoGraphicPrimitive.h"
#include "../SoPrimitiveMultiPoints.h"

namespace {

struct Weights {
    double w[3] = {1.0, 0.0, 0.0};
    double smallest() const { return std::min({w[0], w[1], w[2]}); }
};

SbVec2f xy(const SbVec4f& p) {
    return SbVec2f(p[0], p[1]);
}

/// Barycentric weights of p in triangle (a, b, c); false when it has no area.
bool barycentric(const SbVec2f& a, const SbVec2f& b, const SbVec2f& c, const SbVec2f& p,
                 Weights& out) {
    const double area = double(b[0] - a[0]) * (c[1] - a[1]) - double(c[0] - a[0]) * (b[1] - a[1]);
    if (std::fabs(area) < 1e-12) return false;
    out.w[1] = (double(p[0] - a[0]) * (c[1] - a[1]) - double(c[0] - a[0]) * (p[1] - a[1])) / area;
    out.w[2] = (double(b[0] - a[0]) * (p[1] - a[1]) - double(p[0] - a[0]) * (b[1] - a[1])) / area;
    out.w[0] = 1.0 - out.w[1] - out.w[2];
    return true;
}

SbColor mix(const SbColor* colors[3], Weights weights) {
    double sum = 0.0;
    for (double& w : weights.w) sum += (w = std::max(w, 0.0));
    SbColor result(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 3; ++i) result += *colors[i] * static_cast<float>(weights.w[i] / sum);
    return result;
}

int hundredths(float component) {
    return static_cast<int>(component * 100.0f);
}

}  // namespace

SbColor SoRasterColorInterpolator::colorAt(const SoPrimitiveMultiPoints& record, const SbVec2f& p) {
    if (record.numPoints <= 0 || !record.colors) return SbColor(0.0f, 0.0f, 0.0f);
    if (record.getType() == SoGraphicPrimitive::POLYGON && record.numPoints >= 3)
        return onPolygon(record, p);
    if (record.numPoints >= 2) return onSegment(record, p);
    return record.colors[0];
}

bool SoRasterColorInterpolator::differ(const SbColor& a, const SbColor& b) {
    for (int i = 0; i < 3; ++i)
        if (hundredths(a[i]) != hundredths(b[i])) return true;
    return false;
}

SbColor SoRasterColorInterpolator::onPolygon(const SoPrimitiveMultiPoints& polygon,
                                             const SbVec2f& p) {
    const SbVec4f* v = polygon.points.get();
    int best = -1;
    Weights bestWeights;
    for (int k = 1; k + 1 < polygon.numPoints; ++k) {
        Weights weights;
        if (!barycentric(xy(v[0]), xy(v[k]), xy(v[k + 1]), p, weights)) continue;
        if (best < 0 || weights.smallest() > bestWeights.smallest()) {
            best = k;
            bestWeights = weights;
        }
        if (bestWeights.smallest() >= 0.0) break;
    }
    if (best < 0) return onSegment(polygon, p);
    const SbColor* corners[3] = {&polygon.colors[0], &polygon.colors[best],
                                 &polygon.colors[best + 1]};
    return mix(corners, bestWeights);
}

// Along the segment from the first point to the farthest one: a polygon without area is a
// line on the page.
SbColor SoRasterColorInterpolator::onSegment(const SoPrimitiveMultiPoints& line, const SbVec2f& p) {
    const SbVec2f a = xy(line.points[0]);
    int far = 0;
    for (int i = 1; i < line.numPoints; ++i)
        if ((xy(line.points[i]) - a).sqrLength() > (xy(line.points[far]) - a).sqrLength()) far = i;
    const SbVec2f along = xy(line.points[far]) - a;
    const float length2 = along.sqrLength();
    const float t = length2 > 0.0f ? std::clamp((p - a).dot(along) / length2, 0.0f, 1.0f) : 0.0f;
    return line.colors[0] * (1.0f - t) + line.colors[far] * t;
}
