#include "SoBandLines.h"

#include <algorithm>

SoBandLines::SoBandLines(const std::vector<Corner>& corners, const std::vector<Contour>& contours,
                         int axis, int count)
    : corners_(corners), axis_(axis) {
    std::vector<double> values;
    for (const Contour& contour : contours)
        for (const int corner : contour) values.push_back(valueOf(corner));
    std::sort(values.begin(), values.end());
    lines_ = placeBetween(values, count);
}

int SoBandLines::pieceOf(int corner) const {
    return static_cast<int>(std::upper_bound(lines_.begin(), lines_.end(), valueOf(corner)) -
                            lines_.begin());
}

// Each crossing is computed from the edge's lower end, so that an edge walked the other way
// by another contour meets the lines at the same points.
void SoBandLines::cross(int from, int to, std::vector<Crossing>& crossings) const {
    const bool rising = valueOf(from) < valueOf(to);
    const int low = rising ? from : to, high = rising ? to : from;
    const std::array<double, 3>& p = corners_[std::size_t(low)].point;
    const std::array<double, 3>& q = corners_[std::size_t(high)].point;
    const auto first = std::upper_bound(lines_.begin(), lines_.end(), p[axis_]);
    const auto last = std::lower_bound(first, lines_.end(), q[axis_]);
    const int count = static_cast<int>(last - first);
    const int base = static_cast<int>(first - lines_.begin());
    for (int k = 0; k < count; ++k) {
        const int line = base + (rising ? k : count - 1 - k);
        const double value = lines_[std::size_t(line)];
        Corner crossing;
        crossing.from = low;
        crossing.to = high;
        crossing.t = (value - p[axis_]) / (q[axis_] - p[axis_]);
        for (std::size_t i = 0; i < 3; ++i) crossing.point[i] = p[i] + crossing.t * (q[i] - p[i]);
        crossing.point[std::size_t(axis_)] = value;
        crossings.push_back({line, crossing});
    }
}
