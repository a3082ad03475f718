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
    forEachBucketIn(xmin, ymin, xmax, ymax, [&](size_t b) { buckets_[b].push_back(item); });
}

void SoLineGrid::addSegment(int item, double x0, double y0, double x1, double y1, double margin) {
    forEachBucketAlong(x0, y0, x1, y1, margin, [&](size_t b) { buckets_[b].push_back(item); });
}

const std::vector<int>& SoLineGrid::at(double x, double y) const {
    return buckets_[static_cast<size_t>(row(y)) * columns_ + column(x)];
}
