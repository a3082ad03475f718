#pragma once

#include <array>
#include <vector>

/// Cuts the contours of a polygon into bands between lines of one coordinate, each band a
/// polygon of its own that covers, inside the band, exactly what the whole polygon covers
/// under either winding rule.
///
/// A band's contours are those of the polygon with every corner outside the band left out,
/// after each edge has been given a corner where it crosses a line between two bands: what a
/// contour does outside a band then collapses onto the band's border lines, which changes no
/// winding number inside the band. A crossing belongs to both bands beside its line.
class SoPolygonBands {
  public:
    /// A corner of the polygon, or one made where the edge from corner `from` to corner `to`
    /// crosses a line: (1 - t) of the one and t of the other.
    struct Corner {
        std::array<double, 3> point;
        int from = -1, to = -1;
        double t = 0.0;
    };
    using Contour = std::vector<int>;

    /// `contours` number corners of `corners`, to which the crossings are added. The lines
    /// lie across coordinate `axis` and part the corners into `count` bands of about equal
    /// numbers of corners. Returns the contours of each band.
    static std::vector<std::vector<Contour>> cut(std::vector<Corner>& corners,
                                                 const std::vector<Contour>& contours, int axis,
                                                 int count);

  private:
    SoPolygonBands(std::vector<Corner>& corners, int axis);
    void placeLines(const std::vector<Contour>& contours, int count);
    void cutContour(const Contour& contour);
    void addCrossings(int from, int to);
    void addCorner(int corner);
    void append(int band, int corner);
    void closeContours();
    double valueOf(int corner) const { return corners_[std::size_t(corner)].point[axis_]; }

    std::vector<Corner>& corners_;
    int axis_;
    std::vector<double> lines_;
    std::vector<std::vector<Contour>> bands_;
    // The bands the contour being cut has reached so far.
    std::vector<int> touched_;
    std::vector<char> isTouched_;
};
