#include "SoCellGrid.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
// Grid coordinates in double are exact to about 1e-16 of their size, a million cells at
// most; this hair of a cell covers their error many times over.
constexpr double HAIR = 1e-7;
}  // namespace

SoCellGrid::SoCellGrid(float originX, float originY, float scaleX, float scaleY, int columns,
                       int rows)
    : originX_(originX),
      originY_(originY),
      scaleX_(scaleX),
      scaleY_(scaleY),
      columns_(columns),
      rows_(rows) {}

int SoCellGrid::cellOf(double g, int count) {
    if (!(g > 0.0)) return 0;
    if (g >= count) return count - 1;
    return static_cast<int>(g);
}

SoCellGrid::Range SoCellGrid::boxCells(float minX, float minY, float maxX, float maxY) const {
    return Range{cellOf(gridX(minX) - HAIR, columns_), cellOf(gridY(minY) - HAIR, rows_),
                 cellOf(gridX(maxX) + HAIR, columns_), cellOf(gridY(maxY) + HAIR, rows_)};
}

// Within one row, an outline reaches no further left or right than its edges do in that
// row: any point inside lies between two edge points of the same height. A row's reach is
// therefore the extremes of its edges clipped to the row, the border rows reaching out for
// ever as their cells do.
bool SoCellGrid::outlineSpans(const SbVec4f* points, int count, int level,
                              std::vector<Span>& out) const {
    out.clear();
    if (count <= 0) return false;
    const double unit = std::ldexp(1.0, -level);
    const int columns = columnsAt(level), rows = rowsAt(level);
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (int k = 0; k < count; ++k) {
        const double x = gridX(points[k][0]), y = gridY(points[k][1]);
        if (!std::isfinite(x) || !std::isfinite(y)) return false;
        low = std::min(low, y * unit), high = std::max(high, y * unit);
    }
    const int firstRow = cellOf(low - HAIR, rows), lastRow = cellOf(high + HAIR, rows);
    reach_.assign(static_cast<size_t>(lastRow - firstRow + 1), Reach{HUGE_VAL, -HUGE_VAL});
    const int edges = count > 2 ? count : 1;
    for (int k = 0; k < edges; ++k) {
        const SbVec4f& a = points[k];
        const SbVec4f& b = points[(k + 1) % count];
        reachAlong(gridX(a[0]) * unit, gridY(a[1]) * unit, gridX(b[0]) * unit, gridY(b[1]) * unit,
                   firstRow, rows);
    }
    for (int row = firstRow; row <= lastRow; ++row) {
        const Reach& r = reach_[size_t(row - firstRow)];
        if (r.left <= r.right)
            out.push_back(
                Span{row, cellOf(r.left - HAIR, columns), cellOf(r.right + HAIR, columns)});
    }
    return true;
}

void SoCellGrid::reachAlong(double ax, double ay, double bx, double by, int firstRow,
                            int rows) const {
    if (ay > by) std::swap(ax, bx), std::swap(ay, by);
    // Within a row a slanted edge reaches across part of its width only; where the slope
    // overflows, its whole width is still a bound.
    const double slope = by > ay ? (bx - ax) / (by - ay) : 0.0;
    const bool slanted = slope != 0.0 && std::isfinite(slope);
    const int top = cellOf(by + HAIR, rows);
    for (int row = cellOf(ay - HAIR, rows); row <= top; ++row) {
        double left = std::min(ax, bx), right = std::max(ax, bx);
        if (slanted) {
            const double bottom = row == 0 ? -HUGE_VAL : row - HAIR;
            const double ceiling = row == rows - 1 ? HUGE_VAL : row + 1 + HAIR;
            const double x0 = ax + (std::max(ay, bottom) - ay) * slope;
            const double x1 = ax + (std::min(by, ceiling) - ay) * slope;
            left = std::max(left, std::min(x0, x1)), right = std::min(right, std::max(x0, x1));
        }
        Reach& r = reach_[size_t(row - firstRow)];
        r.left = std::min(r.left, left), r.right = std::max(r.right, right);
    }
}

std::size_t SoCellGrid::cellsOf(const std::vector<Span>& spans) {
    std::size_t cells = 0;
    for (const Span& span : spans) cells += static_cast<std::size_t>(span.last - span.first + 1);
    return cells;
}
