#pragma once

#include <Tessara/math/SbColor.h>
#include <cairo.h>

/// Colours as cairo takes them: components clamped to 0..1, NaN taken as 0.
class SoCairoColor {
  public:
    static double component(float value);
    /// The colour as bytes show it: each component rounded to the nearest of 256 levels.
    static SbColor asBytes(const SbColor& color);
    static void setSource(cairo_t* cr, const SbColor& color);
    static void addStop(cairo_pattern_t* gradient, double offset, const SbColor& color);
};
