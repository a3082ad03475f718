#include "SoSectorRays.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;
// Sectors stay clear of half a turn, and edges of the middle, by this much: angles measured
// within rounding of either would be read the wrong way round.
constexpr double margin = 1e-6;

double squaredDistance(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    double sum = 0.0;
    for (std::size_t i = 0; i < 3; ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
    return sum;
}

}  // namespace

SoSectorRays::SoSectorRays(std::vector<Corner>& corners, const std::vector<Contour>& contours,
                           int axis, int otherAxis, int count)
    : corners_(corners), axis_(axis), otherAxis_(otherAxis) {
    std::vector<int> used;
    for (const Contour& contour : contours) used.insert(used.end(), contour.begin(), contour.end());
    if (used.empty()) return;
    placeMiddle(corners, used);
    if (middle_ >= 0 && measureAngles(contours, used)) placeRays(used, count);
}

// The middle is as near the mean of the corners as a point between two corners can be: the
// mean lies where a star's or a gear's edges point to. The corner farthest from the mean
// gives one end; the other is the corner whose line from there passes nearest the mean.
void SoSectorRays::placeMiddle(std::vector<Corner>& corners, const std::vector<int>& used) {
    std::array<double, 3> mean{0.0, 0.0, 0.0};
    for (const int corner : used)
        for (std::size_t i = 0; i < 3; ++i)
            mean[i] += corners[std::size_t(corner)].point[i] / double(used.size());
    auto distance = [&](int corner) {
        return squaredDistance(corners[std::size_t(corner)].point, mean);
    };
    Corner middle;
    middle.from = *std::max_element(used.begin(), used.end(),
                                    [&](int a, int b) { return distance(a) < distance(b); });
    double nearest = distance(middle.from);
    for (const int corner : used) {
        const Corner along = between(corners, middle.from, corner, mean);
        if (along.t > 0.05 && along.t < 0.95 && squaredDistance(along.point, mean) < nearest)
            middle = along, nearest = squaredDistance(along.point, mean);
    }
    if (middle.to < 0) return;
    corners.push_back(middle);
    middle_ = static_cast<int>(corners.size()) - 1;
}

// The point of the line from a to b nearest `point`.
SoPolygonBorders::Corner SoSectorRays::between(const std::vector<Corner>& corners, int a, int b,
                                               const std::array<double, 3>& point) {
    const std::array<double, 3>& p = corners[std::size_t(a)].point;
    const std::array<double, 3>& q = corners[std::size_t(b)].point;
    double along = 0.0, length = 0.0;
    for (std::size_t i = 0; i < 3; ++i)
        along += (point[i] - p[i]) * (q[i] - p[i]), length += (q[i] - p[i]) * (q[i] - p[i]);
    Corner corner;
    corner.from = a;
    corner.to = b;
    corner.t = length > 0.0 ? along / length : 0.0;
    for (std::size_t i = 0; i < 3; ++i) corner.point[i] = p[i] + corner.t * (q[i] - p[i]);
    return corner;
}

bool SoSectorRays::measureAngles(const std::vector<Contour>& contours,
                                 const std::vector<int>& used) {
    const std::array<double, 2> reach = fromMiddle(corners_[std::size_t(middle_)].from);
    const double nearest = margin * margin * (reach[0] * reach[0] + reach[1] * reach[1]);
    angles_.assign(corners_.size(), 0.0);
    for (const int corner : used) {
        const std::array<double, 2> d = fromMiddle(corner);
        if (!(d[0] * d[0] + d[1] * d[1] > nearest)) return false;
        angles_[std::size_t(corner)] = std::atan2(d[1], d[0]);
    }
    for (const Contour& contour : contours)
        for (std::size_t k = 0; k < contour.size(); ++k)
            if (std::fabs(turn(contour[k], contour[(k + 1) % contour.size()])) > pi - margin)
                return false;
    return true;
}

// Rays between the runs of sorted angles, and one where the angles go round from the last to
// the first; no sector may take half a turn.
void SoSectorRays::placeRays(const std::vector<int>& used, int count) {
    std::vector<double> values;
    for (const int corner : used) values.push_back(angles_[std::size_t(corner)]);
    std::sort(values.begin(), values.end());
    std::vector<double> rays = placeBetween(values, count);
    double round = values.back() + (values.front() + 2 * pi - values.back()) / 2;
    if (round >= pi) round -= 2 * pi;
    if (round != values.back() && round != values.front()) rays.push_back(round);
    std::sort(rays.begin(), rays.end());
    if (rays.size() < 3) return;
    double widest = rays.front() + 2 * pi - rays.back();
    for (std::size_t k = 1; k < rays.size(); ++k) widest = std::max(widest, rays[k] - rays[k - 1]);
    if (widest < pi - margin) rays_ = std::move(rays);
}

int SoSectorRays::pieceOf(int corner) const {
    const auto above = std::upper_bound(rays_.begin(), rays_.end(), angles_[std::size_t(corner)]);
    return static_cast<int>(above - rays_.begin()) % getPieceCount();
}

// The rays crossed follow from the two ends' sectors and the way the edge turns round the
// middle, so that they agree with where the ends lie whatever the rounding. They are found and
// computed from the end numbered lower, so that an edge walked either way meets them at the
// same points.
void SoSectorRays::cross(int from, int to, std::vector<Crossing>& crossings) const {
    const int low = std::min(from, to), high = std::max(from, to);
    const int n = getPieceCount(), start = pieceOf(low), end = pieceOf(high);
    const bool turningLeft = turn(low, high) > 0;
    const int count = ((turningLeft ? end - start : start - end) % n + n) % n;
    const std::size_t first = crossings.size();
    for (int k = 0; k < count; ++k) {
        const int ray = ((turningLeft ? start + k : start - 1 - k) % n + n) % n;
        crossings.push_back({ray, crossingOf(ray, low, high)});
    }
    if (from != low) std::reverse(crossings.begin() + std::ptrdiff_t(first), crossings.end());
}

SoPolygonBorders::Corner SoSectorRays::crossingOf(int ray, int low, int high) const {
    const double dx = std::cos(rays_[std::size_t(ray)]), dy = std::sin(rays_[std::size_t(ray)]);
    const std::array<double, 2> a = fromMiddle(low), b = fromMiddle(high);
    const double sideOfLow = dx * a[1] - dy * a[0], sideOfHigh = dx * b[1] - dy * b[0];
    Corner crossing;
    crossing.from = low;
    crossing.to = high;
    const double span = sideOfLow - sideOfHigh;
    crossing.t = span != 0.0 ? std::clamp(sideOfLow / span, 0.0, 1.0) : 0.5;
    const std::array<double, 3>& p = corners_[std::size_t(low)].point;
    const std::array<double, 3>& q = corners_[std::size_t(high)].point;
    for (std::size_t i = 0; i < 3; ++i) crossing.point[i] = p[i] + crossing.t * (q[i] - p[i]);
    return crossing;
}

std::array<double, 2> SoSectorRays::fromMiddle(int corner) const {
    const std::array<double, 3>& p = corners_[std::size_t(corner)].point;
    const std::array<double, 3>& m = corners_[std::size_t(middle_)].point;
    return {p[std::size_t(axis_)] - m[std::size_t(axis_)],
            p[std::size_t(otherAxis_)] - m[std::size_t(otherAxis_)]};
}

double SoSectorRays::turn(int a, int b) const {
    double angle = angles_[std::size_t(b)] - angles_[std::size_t(a)];
    if (angle > pi) angle -= 2 * pi;
    if (angle <= -pi) angle += 2 * pi;
    return angle;
}
