#pragma once

#include <vector>

/// Draws the built-in marker shapes on a small square pixel grid, so the bitmaps are derived
/// from the geometry of each shape instead of being typed in by hand.
class SoMarkerRaster {
  public:
    /// The shapes in the order of SoMarkerSet::MarkerType (each comes in three sizes).
    // clang-format off
    enum Shape {
        PLUS, CROSS, STAR, CIRCLE_LINE, CIRCLE_FILLED, SQUARE_LINE, SQUARE_FILLED,
        DIAMOND_LINE, DIAMOND_FILLED, TRIANGLE_LINE, TRIANGLE_FILLED, HOURGLASS_LINE,
        HOURGLASS_FILLED, SATELLITE_LINE, SATELLITE_FILLED, NUM_SHAPES
    };
    // clang-format on
    /// Edge lengths of the built-in sizes, in pixels.
    static constexpr int kSizes[3] = {5, 7, 9};

    /// The pixels of `shape` on an n x n grid (n odd), row 0 at the bottom:
    /// pixel (column, row) is at index row * n + column.
    static std::vector<bool> draw(Shape shape, int n);

  private:
    static bool filledPixel(Shape shape, int n, int dx, int dy);
    /// The filled variant of an outline shape.
    static Shape filledOf(Shape outline);
    /// A pixel of the filled shape that has a 4-neighbour outside the shape.
    static bool onBoundary(Shape filled, int n, int dx, int dy);
};
