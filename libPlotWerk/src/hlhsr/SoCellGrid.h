#pragma once

#include <Tessara/math/SbVec4f.h>

#include <cstddef>
#include <vector>

/// A grid of cells over the page and the cells that a box or an outline may touch. Cell
/// (c, r) holds the points with floor((x - originX) * scaleX) = c and likewise r; points
/// beyond the grid fall into its border cells. At level l a cell joins 2^l cells each way.
///
/// Every cover is conservative: a point of a box or an outline lies in one of its cells,
/// computed in double and widened by a hair, so that two records that share a point share
/// a cell whatever the rounding. The pair index finds pairs by that alone.
class SoCellGrid {
  public:
    /// Cells from x0 to x1 and y0 to y1, inclusive.
    struct Range {
        int x0, y0, x1, y1;
    };
    /// The cells from first to last of one row.
    struct Span {
        int row, first, last;
    };

    SoCellGrid() = default;
    /// columns and rows are powers of two; a 0 scale puts everything in one column or row.
    SoCellGrid(float originX, float originY, float scaleX, float scaleY, int columns, int rows);

    int columnsAt(int level) const { return atLevel(columns_, level); }
    int rowsAt(int level) const { return atLevel(rows_, level); }
    /// The cells at level 0 that the box may touch.
    Range boxCells(float minX, float minY, float maxX, float maxY) const;
    /// The cells at a level that the outline through the points may touch (closed when
    /// there are more than two), row by row; false, with nothing written, when a coordinate
    /// is not finite.
    bool outlineSpans(const SbVec4f* points, int count, int level, std::vector<Span>& out) const;
    static std::size_t cellsOf(const std::vector<Span>& spans);

  private:
    /// How far each row reaches left and right, while the spans are worked out.
    struct Reach {
        double left, right;
    };

    static int atLevel(int cells, int level) { return cells >> level > 1 ? cells >> level : 1; }
    /// floor(g), clamped into 0 .. count - 1; NaN gives 0.
    static int cellOf(double g, int count);
    double gridX(float x) const { return (double(x) - originX_) * scaleX_; }
    double gridY(float y) const { return (double(y) - originY_) * scaleY_; }
    /// Widens the reach of the rows an edge crosses, in level cells, the rows counted from
    /// firstRow.
    void reachAlong(double ax, double ay, double bx, double by, int firstRow, int rows) const;

    double originX_ = 0.0, originY_ = 0.0;
    double scaleX_ = 0.0, scaleY_ = 0.0;
    int columns_ = 1, rows_ = 1;
    mutable std::vector<Reach> reach_;
};
