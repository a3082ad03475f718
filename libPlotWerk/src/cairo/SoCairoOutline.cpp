#include "SoCairoOutline.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double maxCornerShift = 4.0;

struct Point {
    double x, y;
    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Point& other) const { return !(*this == other); }
};

/// The outward unit normal of the edge from a to b of a counter-clockwise polygon.
Point outwards(const Point& a, const Point& b) {
    const double nx = b.y - a.y, ny = a.x - b.x, length = std::hypot(nx, ny);
    return length > 0.0 ? Point{nx / length, ny / length} : Point{0.0, 0.0};
}

/// Where a corner goes when both its edges move `grow` outwards: the mitre point of the
/// moved edges, kept within reach.
Point moved(const Point& before, const Point& corner, const Point& after, double grow) {
    const Point a = outwards(before, corner), b = outwards(corner, after);
    const double scale = grow / std::max(1.0 + a.x * b.x + a.y * b.y, 1e-9);
    double dx = (a.x + b.x) * scale, dy = (a.y + b.y) * scale;
    const double length = std::hypot(dx, dy);
    if (length > maxCornerShift * grow) {
        dx *= maxCornerShift * grow / length;
        dy *= maxCornerShift * grow / length;
    }
    return {corner.x + dx, corner.y + dy};
}

}  // namespace

void SoCairoOutline::append(cairo_t* cr, const SbVec4f* points, int n, double grow) {
    double twiceArea = 0.0;
    for (int i = 0, j = n - 1; i < n; j = i++)
        twiceArea += double(points[j][0]) * points[i][1] - double(points[i][0]) * points[j][1];
    // Kept from call to call: a mesh sends a million polygons, each wanting this list.
    thread_local std::vector<Point> corners;
    corners.clear();
    for (int k = 0; k < n; ++k) {
        const SbVec4f& p = points[twiceArea < 0.0 ? n - 1 - k : k];
        const Point corner{p[0], p[1]};
        if (corners.empty() || corner != corners.back()) corners.push_back(corner);
    }
    while (corners.size() > 1 && corners.front() == corners.back()) corners.pop_back();
    const std::size_t count = corners.size();
    if (twiceArea == 0.0 || count < 3) grow = 0.0;
    for (std::size_t k = 0; k < count; ++k) {
        const Point corner = grow > 0.0 ? moved(corners[(k + count - 1) % count], corners[k],
                                                corners[(k + 1) % count], grow)
                                        : corners[k];
        if (k == 0)
            cairo_move_to(cr, corner.x, corner.y);
        else
            cairo_line_to(cr, corner.x, corner.y);
    }
    // Left open: the fill closes it, and a closed path costs the document a close operator
    // and a repeated point per polygon (a fifth of a mesh's PDF).
}
