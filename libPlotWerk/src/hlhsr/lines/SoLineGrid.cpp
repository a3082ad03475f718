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

int SoLineGrid::row(double y) {
    return bucketOf(y, ROWS);
}

int SoLineGrid::column(double x) const {
    return bucketOf(x, columns_);
}

void SoLineGrid::addSegment(int item, double x0, double y0, double x1, double y1, double margin) {
    forEachBucketAlong(x0, y0, x1, y1, margin, [&](size_t b) { buckets_[b].push_back(item); });
}

void SoLineGrid::addPolygon(int item, const SoLineObject& polygon) {
    forEachBucketOver(polygon, 0.0, [&](size_t b) { buckets_[b].push_back(item); });
}

// Each edge, row by row, over the part within the row's band of y, the band widened by a
// hair: a point that the rounding puts in the row next to its own still finds the polygon
// there. Every row between the lowest and highest point has a part of the outline in it.
void SoLineGrid::findRowExtents(const SoLineObject& polygon, std::vector<double>& extents) {
    constexpr double WIDENING = 1e-12;
    const int first = row(polygon.ymin), last = row(polygon.ymax);
    extents.clear();
    for (int r = first; r <= last; ++r) extents.insert(extents.end(), {HUGE_VAL, -HUGE_VAL});
    for (int e = 0; e < polygon.getNumEdges(); ++e) {
        SoLinePoint a = polygon.edgeStart(e), b = polygon.edgeEnd(e);
        if (b.y < a.y) std::swap(a, b);
        const auto xAt = [&](double y) {
            if (y <= a.y) return a.x;
            return y >= b.y ? b.x : a.x + (b.x - a.x) * ((y - a.y) / (b.y - a.y));
        };
        for (int r = std::max(row(a.y), first); r <= std::min(row(b.y), last); ++r) {
            // The border rows hold what lies beyond the square too.
            const double xa = xAt(r == 0 ? -HUGE_VAL : -1.0 + 2.0 * r / ROWS - WIDENING);
            const double xb =
                xAt(r == ROWS - 1 ? HUGE_VAL : -1.0 + 2.0 * (r + 1) / ROWS + WIDENING);
            double* extent = &extents[2 * static_cast<size_t>(r - first)];
            extent[0] = std::min({extent[0], xa, xb});
            extent[1] = std::max({extent[1], xa, xb});
        }
    }
}

const std::vector<int>& SoLineGrid::at(double x, double y) const {
    return buckets_[static_cast<size_t>(row(y)) * columns_ + column(x)];
}
