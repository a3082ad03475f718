#include "views/ConvexOutline.h"

#include <algorithm>
#include <cmath>

namespace {

using Point = std::array<double, 2>;

double cross(const Point& o, const Point& a, const Point& b) {
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0]);
}

/// The points farthest out along the axes and the diagonals: a polygon inside the hull that
/// holds most of a mesh's points, which then need no sorting.
std::vector<size_t> extremesOf(const std::vector<Point>& points,
                               const std::vector<size_t>& finite) {
    const double directions[8][2] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                                     {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    std::vector<size_t> extremes;
    for (const auto& d : directions) {
        size_t best = finite[0];
        for (size_t i : finite)
            if (d[0] * points[i][0] + d[1] * points[i][1] >
                d[0] * points[best][0] + d[1] * points[best][1])
                best = i;
        if (extremes.empty() || extremes.back() != best) extremes.push_back(best);
    }
    return extremes;
}

/// Whether p lies inside the convex polygon or on its outline, its corners counter-clockwise:
/// then it is no corner of the hull, unless it is one of the polygon's. A point may stand
/// for several corners (extreme along several directions): those edges have no length.
bool insideOrOn(const std::vector<Point>& points, const std::vector<size_t>& polygon,
                const Point& p) {
    for (size_t k = 0; k < polygon.size(); ++k) {
        const Point &a = points[polygon[k]], &b = points[polygon[(k + 1) % polygon.size()]];
        if (a != b && cross(a, b, p) < 0) return false;
    }
    return true;
}

}  // namespace

// Andrew's monotone chain over the extremes and the points beyond their polygon, sorted by
// value rather than by index, for the memory's sake.
std::vector<size_t> ConvexOutline::cornersOf(const std::vector<Point>& points) {
    std::vector<size_t> finite;
    for (size_t i = 0; i < points.size(); ++i)
        if (std::isfinite(points[i][0]) && std::isfinite(points[i][1])) finite.push_back(i);
    if (finite.size() < 3) return finite;
    const std::vector<size_t> extremes = extremesOf(points, finite);
    struct Candidate {
        Point p;
        size_t index;
        bool operator<(const Candidate& o) const { return p < o.p; }
    };
    std::vector<Candidate> candidates;
    for (size_t i : extremes) candidates.push_back({points[i], i});
    for (size_t i : finite)
        if (!insideOrOn(points, extremes, points[i])) candidates.push_back({points[i], i});
    std::sort(candidates.begin(), candidates.end());
    std::vector<const Candidate*> hull(2 * candidates.size());
    size_t k = 0;
    auto turnsLeft = [&](const Candidate& c) {
        return cross(hull[k - 2]->p, hull[k - 1]->p, c.p) > 0;
    };
    for (const Candidate& c : candidates) {  // the lower chain
        while (k >= 2 && !turnsLeft(c)) --k;
        hull[k++] = &c;
    }
    for (size_t n = candidates.size(), lower = k + 1; n-- > 1;) {  // the upper chain
        while (k >= lower && !turnsLeft(candidates[n - 1])) --k;
        hull[k++] = &candidates[n - 1];
    }
    std::vector<size_t> corners;
    for (size_t i = 0; i + 1 < k; ++i) corners.push_back(hull[i]->index);
    return corners;
}
