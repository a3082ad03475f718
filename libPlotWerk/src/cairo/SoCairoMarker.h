#pragma once

#include <cairo.h>

#include <vector>

/// A marker bitmap as vector squares: each row's runs of set bits become one rectangle, so
/// that a marker stays sharp at any zoom and needs no image (which some readers misplace
/// under a turned page).
class SoCairoMarker {
  public:
    /// False for a marker the core does not know, or one without size.
    bool load(int markerIndex);
    /// Adds the marker's rectangles to the current path, centred on (x, y), `pixel` a side.
    void addPath(cairo_t* cr, double x, double y, double pixel) const;

  private:
    struct Run {
        int row, column, length;
    };
    int width_ = 0, height_ = 0;
    std::vector<Run> runs_;
};
