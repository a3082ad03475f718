#include "SoFanPieces.h"

#include <Tessara/misc/SoPolygonTessellator.h>

#include <algorithm>
#include <cmath>

namespace {
// A long outline is tried from its first corners only: checking every corner of every
// outline would cost its length squared.
constexpr int MAX_STARTS = 32;

double cross(const SbVec2f& o, const SbVec2f& a, const SbVec2f& b) {
    return double(a[0] - o[0]) * (b[1] - o[1]) - double(a[1] - o[1]) * (b[0] - o[0]);
}
}  // namespace

std::vector<std::vector<SbVec2f>> SoFanPieces::of(const std::vector<SbVec2f>& outline,
                                                  float tolerance) {
    const int n = static_cast<int>(outline.size());
    if (n < 3) return {};
    double area = 0.0;
    for (int i = 0; i < n; ++i) area += cross(outline[0], outline[i], outline[(i + 1) % n]);
    const double orientation = area < 0.0 ? -1.0 : 1.0;
    for (int k = 0; k < std::min(n, MAX_STARTS); ++k) {
        if (!fansFrom(outline, k, orientation, tolerance)) continue;
        std::vector<SbVec2f> rotated(outline.begin() + k, outline.end());
        rotated.insert(rotated.end(), outline.begin(), outline.begin() + k);
        return {rotated};
    }
    return triangles(outline);
}

// A fan triangle turning the wrong way paints outside the outline; one whose far corner
// lies within tolerance of the fan's ray spills less than that, which no reader sees.
bool SoFanPieces::fansFrom(const std::vector<SbVec2f>& outline, int k, double orientation,
                           float tolerance) {
    const int n = static_cast<int>(outline.size());
    const SbVec2f& o = outline[k];
    for (int step = 1; step + 1 < n; ++step) {
        const SbVec2f& a = outline[(k + step) % n];
        const SbVec2f& b = outline[(k + step + 1) % n];
        const double turn = cross(o, a, b) * orientation;
        if (turn >= 0.0) continue;
        const double reach = std::max((a - o).length(), (b - o).length());
        if (reach > 0.0 && -turn / reach > tolerance) return false;
    }
    return true;
}

std::vector<std::vector<SbVec2f>> SoFanPieces::triangles(const std::vector<SbVec2f>& outline) {
    SoPolygonTessellator tessellator(SoPolygonTessellator::NONZERO);
    tessellator.beginPolygon();
    tessellator.beginContour();
    for (const SbVec2f& p : outline) tessellator.addVertex(SbVec3f(p[0], p[1], 0.0f));
    tessellator.endContour();
    if (!tessellator.endPolygon()) return {};
    std::vector<std::vector<SbVec2f>> pieces;
    const std::vector<int>& corners = tessellator.getTriangles();
    for (size_t t = 0; t + 2 < corners.size(); t += 3) {
        std::vector<SbVec2f> triangle;
        for (size_t c = t; c < t + 3; ++c) {
            const SbVec3f& p = tessellator.getPoint(corners[c]);
            triangle.emplace_back(p[0], p[1]);
        }
        pieces.push_back(triangle);
    }
    return pieces;
}
