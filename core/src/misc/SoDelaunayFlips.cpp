// Each flip is judged on the two triangles as they are stored, whichever way round they run,
// and writes the new pair the same way round. A flip needs the quadrilateral to be strictly
// convex and the fourth corner clearly inside the circle, beyond rounding, so that corners
// on one circle do not flip back and forth; the budget ends any cycle all the same.

#include "SoDelaunayFlips.h"

#include <algorithm>
#include <cmath>

void SoDelaunayFlips::improve(const std::vector<std::array<double, 2>>& corners,
                              std::vector<int>& triangles) {
    SoDelaunayFlips flips(corners, triangles);
    for (std::size_t budget = 4 * triangles.size() / 3 + 16;
         !flips.pending_.empty() && budget > 0;) {
        const std::array<int, 2> side = flips.pending_.back();
        flips.pending_.pop_back();
        if (flips.flipIfBetter(side[0], side[1])) --budget;
    }
}

SoDelaunayFlips::SoDelaunayFlips(const std::vector<std::array<double, 2>>& corners,
                                 std::vector<int>& triangles)
    : corners_(corners), triangles_(triangles) {
    for (std::size_t t = 0; t + 2 < triangles.size(); t += 3)
        for (std::size_t k = 0; k < 3; ++k)
            addSide(triangles[t + k], triangles[t + (k + 1) % 3], static_cast<int>(t / 3));
}

std::uint64_t SoDelaunayFlips::key(int a, int b) {
    const auto low = std::uint32_t(std::min(a, b)), high = std::uint32_t(std::max(a, b));
    return std::uint64_t(low) << 32 | high;
}

void SoDelaunayFlips::addSide(int a, int b, int triangle) {
    if (a == b) return;
    Sides& sides = sides_[key(a, b)];
    if (sides.count < 2) sides.triangle[sides.count] = triangle;
    if (++sides.count == 2) pending_.push_back({a, b});
}

void SoDelaunayFlips::replaceSide(int a, int b, int from, int to) {
    Sides& sides = sides_[key(a, b)];
    for (int& t : sides.triangle)
        if (t == from) t = to;
}

int SoDelaunayFlips::opposite(int triangle, int a, int b) const {
    for (std::size_t k = 0; k < 3; ++k) {
        const int corner = triangles_[std::size_t(triangle) * 3 + k];
        if (corner != a && corner != b) return corner;
    }
    return -1;
}

double SoDelaunayFlips::turnOf(int triangle) const {
    const int* corners = &triangles_[std::size_t(triangle) * 3];
    return cross(corners[0], corners[1], corners[2]);
}

double SoDelaunayFlips::cross(int a, int b, int c) const {
    const auto &p = corners_[std::size_t(a)], &q = corners_[std::size_t(b)],
               &r = corners_[std::size_t(c)];
    return (q[0] - p[0]) * (r[1] - p[1]) - (q[1] - p[1]) * (r[0] - p[0]);
}

// Whether d lies inside the circle through a, b and c, counter-clockwise.
bool SoDelaunayFlips::insideCircle(int a, int b, int c, int d) const {
    const auto& o = corners_[std::size_t(d)];
    double det = 0.0, bound = 0.0;
    const int rows[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        const auto& p = corners_[std::size_t(rows[i])];
        const auto& q = corners_[std::size_t(rows[(i + 1) % 3])];
        const auto& r = corners_[std::size_t(rows[(i + 2) % 3])];
        const double px = p[0] - o[0], py = p[1] - o[1];
        const double qx = q[0] - o[0], qy = q[1] - o[1], rx = r[0] - o[0], ry = r[1] - o[1];
        const double minor = qx * ry - qy * rx;
        det += (px * px + py * py) * minor;
        bound += (px * px + py * py) * (std::fabs(qx * ry) + std::fabs(qy * rx));
    }
    return det > 1e-9 * bound;
}

bool SoDelaunayFlips::flipIfBetter(int a, int b) {
    const auto found = sides_.find(key(a, b));
    if (found == sides_.end() || found->second.count != 2) return false;
    const int t1 = found->second.triangle[0], t2 = found->second.triangle[1];
    const double turn = turnOf(t1);
    if (!(turn * turnOf(t2) > 0.0)) return false;
    const int c = opposite(t1, a, b), d = opposite(t2, a, b);
    if (c < 0 || d < 0 || c == d || sides_.count(key(c, d))) return false;
    if (cross(a, b, c) < 0.0) std::swap(a, b);
    if (!(cross(a, b, c) > 0.0 && cross(a, b, d) < 0.0)) return false;
    if (!insideCircle(a, b, c, d) || !(cross(c, a, d) > 0.0) || !(cross(d, b, c) > 0.0))
        return false;
    const bool counterClockwise = turn > 0.0;
    const std::array<int, 3> first =
        counterClockwise ? std::array<int, 3>{c, a, d} : std::array<int, 3>{c, d, a};
    const std::array<int, 3> second =
        counterClockwise ? std::array<int, 3>{d, b, c} : std::array<int, 3>{d, c, b};
    for (std::size_t k = 0; k < 3; ++k) {
        triangles_[std::size_t(t1) * 3 + k] = first[k];
        triangles_[std::size_t(t2) * 3 + k] = second[k];
    }
    sides_.erase(found);
    replaceSide(b, c, t1, t2);
    replaceSide(a, d, t2, t1);
    Sides& diagonal = sides_[key(c, d)];
    diagonal.triangle[0] = t1;
    diagonal.triangle[1] = t2;
    diagonal.count = 2;
    for (const std::array<int, 2>& side : {std::array<int, 2>{a, c}, {b, c}, {a, d}, {b, d}})
        pending_.push_back(side);
    return true;
}
