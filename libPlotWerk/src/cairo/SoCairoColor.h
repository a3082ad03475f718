#pragma once

#include <Tessara/math/SbColor.h>
#include <cairo.h>

/// Colours as cairo takes them: components clamped to 0..1, NaN taken as 0.
class SoCairoColor {
  public:
    static double component(float value);
    static void setSource(cairo_t* cr, const SbColor& color);
    static void addStop(cairo_pattern_t* gradient, double offset, const SbColor& color);
};
