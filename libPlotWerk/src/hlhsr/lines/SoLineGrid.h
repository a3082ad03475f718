#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "SoLineObject.h"

/// Buckets over the page square -1 .. 1: 500 rows along y, and as many columns along x as
/// the number of items makes worth while. An item is filed in every bucket its polygon
/// meets, or its path passes through, so that a query of a point or a segment looks at
/// nearby items only. A bucket holds its items in the order they were filed.
class SoLineGrid {
  public:
    static constexpr int ROWS = 500;

    /// columns: buckets along x (at least 1).
    explicit SoLineGrid(int columns);
    /// Files the polygon in the buckets its outline and inside meet, in each row from the
    /// least to the greatest x the outline reaches within the row: a long thin triangle
    /// across the page, as a fine disc's fan or a CAD part's slivers bring by the thousand,
    /// meets few of the buckets its box does.
    void addPolygon(int item, const SoLineObject& polygon);
    /// Calls visit(b) for the index b of each bucket the polygon meets (see addPolygon),
    /// reaching `margin` further along x.
    template <class Visit>
    void forEachBucketOver(const SoLineObject& polygon, double margin, Visit visit) const {
        const int first = row(polygon.ymin);
        findRowExtents(polygon, rowExtents_);
        for (size_t k = 0; k < rowExtents_.size(); k += 2) {
            const size_t r = static_cast<size_t>(first) + k / 2;
            const int to = column(rowExtents_[k + 1] + margin);
            for (int c = column(rowExtents_[k] - margin); c <= to; ++c)
                visit(r * static_cast<size_t>(columns_) + static_cast<size_t>(c));
        }
    }
    /// Files the item in the buckets the segment from (x0, y0) to (x1, y1) passes through,
    /// reaching `margin` further along x, so that a point computed on the segment finds it
    /// whatever the rounding. A long segment meets far fewer buckets than its box.
    void addSegment(int item, double x0, double y0, double x1, double y1, double margin);
    /// How many buckets the box meets.
    double countBucketsIn(double xmin, double ymin, double xmax, double ymax) const {
        return double(row(ymax) - row(ymin) + 1) * (column(xmax) - column(xmin) + 1);
    }
    /// The items filed in bucket b.
    const std::vector<int>& bucket(size_t b) const { return buckets_[b]; }
    /// The items filed in the bucket of (x, y).
    const std::vector<int>& at(double x, double y) const;
    /// The items filed in bucket (row, column).
    const std::vector<int>& bucket(int r, int c) const {
        return buckets_[static_cast<size_t>(r) * columns_ + c];
    }
    static int row(double y);
    int column(double x) const;
    /// The least and greatest x the polygon reaches in each row it meets, two numbers a
    /// row, from its lowest row on.
    static void findRowExtents(const SoLineObject& polygon, std::vector<double>& extents);
    int getColumns() const { return columns_; }

    /// Calls visit(b) for the index b of every bucket the segment passes through, reaching
    /// `margin` further along x. Row by row, the part of the segment within the row's band
    /// of y; the end rows take the end points as they are, which also covers parts beyond
    /// the square, in the border rows.
    template <class Visit>
    void forEachBucketAlong(double x0, double y0, double x1, double y1, double margin,
                            Visit visit) const {
        if (y1 < y0) std::swap(x0, x1), std::swap(y0, y1);
        const int first = row(y0), last = row(y1);
        auto xAt = [&](double y) { return x0 + (x1 - x0) * ((y - y0) / (y1 - y0)); };
        for (int r = first; r <= last; ++r) {
            const double xa = r == first ? x0 : xAt(-1.0 + 2.0 * r / ROWS);
            const double xb = r == last ? x1 : xAt(-1.0 + 2.0 * (r + 1) / ROWS);
            const int to = column(std::max(xa, xb) + margin);
            for (int c = column(std::min(xa, xb) - margin); c <= to; ++c)
                visit(static_cast<size_t>(r) * columns_ + c);
        }
    }

  private:
    int columns_;
    std::vector<std::vector<int>> buckets_;
    /// A polygon's row extents, kept between calls, so that a million polygons cost no
    /// allocation each.
    mutable std::vector<double> rowExtents_;
};
