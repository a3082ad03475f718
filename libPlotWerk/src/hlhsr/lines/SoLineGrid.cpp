#include "SoLineGrid.h"

#include <algorithm>
#include <cmath>

namespace {
int bucketOf(double v, int count) {
    // NaN and points beyond the square go to the nearest bucket.
    const double at = std::floor((v + 1.0) * count / 2.0);
    if (!(at >= 0)) return 0;
    return at >= count ? count - 1 : static_cast<int>(at);
}
}  // namespace

SoLineGrid::SoLineGrid(int columns)
    : columns_(std::max(1, columns)), buckets_(static_cast<size_t>(ROWS) * columns_) {}

int SoLineGrid::row(double y) const {
    return bucketOf(y, ROWS);
}

int SoLineGrid::column(double x) const {
    return bucketOf(x, columns_);
}

void SoLineGrid::add(int item, double xmin, double ymin, double xmax, double ymax) {
    for (int r = row(ymin); r <= row(ymax); ++r)
        for (int c = column(xmin); c <= column(xmax); ++c)
            buckets_[static_cast<size_t>(r) * columns_ + c].push_back(item);
}

// Row by row, the part of the segment within the row's band of y; the end rows take the end
// points as they are, which also covers parts beyond the square, filed in the border rows.
void SoLineGrid::addSegment(int item, double x0, double y0, double x1, double y1, double margin) {
    if (y1 < y0) std::swap(x0, x1), std::swap(y0, y1);
    const int first = row(y0), last = row(y1);
    auto xAt = [&](double y) { return x0 + (x1 - x0) * ((y - y0) / (y1 - y0)); };
    for (int r = first; r <= last; ++r) {
        const double xa = r == first ? x0 : xAt(-1.0 + 2.0 * r / ROWS);
        const double xb = r == last ? x1 : xAt(-1.0 + 2.0 * (r + 1) / ROWS);
        const int to = column(std::max(xa, xb) + margin);
        for (int c = column(std::min(xa, xb) - margin); c <= to; ++c)
            buckets_[static_cast<size_t>(r) * columns_ + c].push_back(item);
    }
}

const std::vector<int>& SoLineGrid::at(double x, double y) const {
    return buckets_[static_cast<size_t>(row(y)) * columns_ + column(x)];
}
