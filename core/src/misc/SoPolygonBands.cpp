// Lines lie halfway between the values of two corners, so that no corner lies on one: a
// corner on a line would belong to both bands, and the corners of many edges that end on
// it (a comb's teeth) would make long runs back and forth along the line, for nothing. Only
// crossings lie on lines, each made once and shared by the bands on both sides.

#include "SoPolygonBands.h"

#include <algorithm>

std::vector<std::vector<SoPolygonBands::Contour>> SoPolygonBands::cut(
    std::vector<Corner>& corners, const std::vector<Contour>& contours, int axis, int count) {
    SoPolygonBands bands(corners, axis);
    bands.placeLines(contours, std::max(count, 1));
    bands.bands_.resize(bands.lines_.size() + 1);
    bands.isTouched_.assign(bands.bands_.size(), 0);
    for (const Contour& contour : contours) bands.cutContour(contour);
    return std::move(bands.bands_);
}

SoPolygonBands::SoPolygonBands(std::vector<Corner>& corners, int axis)
    : corners_(corners), axis_(axis) {}

// Each line goes through the widest gap between the values of two corners next to each other
// within a quarter band of where the band would end by count: a corner close to a line makes
// a sliver of a triangle there, which a line drawing leaves out and a fill draws as a hairline.
void SoPolygonBands::placeLines(const std::vector<Contour>& contours, int count) {
    std::vector<double> values;
    for (const Contour& contour : contours)
        for (const int corner : contour) values.push_back(valueOf(corner));
    std::sort(values.begin(), values.end());
    if (values.size() < 2) return;
    const std::size_t reach = values.size() / std::size_t(count) / 4;
    for (int k = 1; k < count; ++k) {
        const std::size_t middle = values.size() * std::size_t(k) / std::size_t(count);
        const std::size_t first = std::max<std::size_t>(1, middle - std::min(middle, reach));
        const std::size_t last = std::min(values.size() - 1, middle + reach);
        std::size_t above = first;
        for (std::size_t i = first; i <= last; ++i)
            if (values[i] - values[i - 1] > values[above] - values[above - 1]) above = i;
        const double line = values[above - 1] + (values[above] - values[above - 1]) / 2;
        if (line > values[above - 1] && line < values[above] &&
            (lines_.empty() || line > lines_.back()))
            lines_.push_back(line);
    }
}

void SoPolygonBands::cutContour(const Contour& contour) {
    if (contour.size() < 3) return;
    for (std::size_t k = 0; k < contour.size(); ++k) {
        addCorner(contour[k]);
        addCrossings(contour[k], contour[k + 1 == contour.size() ? 0 : k + 1]);
    }
    closeContours();
}

// The crossings of the lines strictly between the edge's ends, in the edge's direction. Each
// is computed from the edge's lower end, so that an edge walked the other way by another
// contour meets the lines at the same points.
void SoPolygonBands::addCrossings(int from, int to) {
    const bool rising = valueOf(from) < valueOf(to);
    const int low = rising ? from : to, high = rising ? to : from;
    const std::array<double, 3> p = corners_[std::size_t(low)].point;
    const std::array<double, 3> q = corners_[std::size_t(high)].point;
    const auto first = std::upper_bound(lines_.begin(), lines_.end(), p[axis_]);
    const auto last = std::lower_bound(first, lines_.end(), q[axis_]);
    const int count = static_cast<int>(last - first);
    const int base = static_cast<int>(first - lines_.begin());
    for (int k = 0; k < count; ++k) {
        const double value = lines_[std::size_t(base + (rising ? k : count - 1 - k))];
        Corner crossing;
        crossing.from = low;
        crossing.to = high;
        crossing.t = (value - p[axis_]) / (q[axis_] - p[axis_]);
        for (std::size_t i = 0; i < 3; ++i) crossing.point[i] = p[i] + crossing.t * (q[i] - p[i]);
        crossing.point[std::size_t(axis_)] = value;
        corners_.push_back(crossing);
        addCorner(static_cast<int>(corners_.size()) - 1);
    }
}

void SoPolygonBands::addCorner(int corner) {
    const double value = valueOf(corner);
    const int band =
        static_cast<int>(std::upper_bound(lines_.begin(), lines_.end(), value) - lines_.begin());
    append(band, corner);
    if (band > 0 && value == lines_[std::size_t(band - 1)]) append(band - 1, corner);
}

void SoPolygonBands::append(int band, int corner) {
    std::vector<Contour>& contours = bands_[std::size_t(band)];
    if (!isTouched_[std::size_t(band)]) {
        isTouched_[std::size_t(band)] = 1;
        touched_.push_back(band);
        contours.emplace_back();
    }
    Contour& contour = contours.back();
    if (contour.empty() || contour.back() != corner) contour.push_back(corner);
}

void SoPolygonBands::closeContours() {
    for (const int band : touched_) {
        std::vector<Contour>& contours = bands_[std::size_t(band)];
        Contour& contour = contours.back();
        if (contour.size() > 1 && contour.front() == contour.back()) contour.pop_back();
        if (contour.size() < 3) contours.pop_back();
        isTouched_[std::size_t(band)] = 0;
    }
    touched_.clear();
}
