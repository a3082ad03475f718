#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec4f.h>
#include <cairo.h>

/// Smooth-shaded triangles for formats without triangle meshes, drawn with linear gradients.
/// Colours interpolated over a triangle change along one direction per channel; a gradient
/// runs along the direction that carries most of that change (the principal axis of the
/// channels' gradients) and keeps the mean colour at the centroid. It is exact when the
/// channels change along one direction, as on a lit surface of one material. Where it misses
/// a corner's colour by more than a tolerance, the triangle is cut into four at its edges'
/// midpoints and each is drawn the same way, down to a limit of depth.
class SoCairoGradient {
  public:
    /// Fills the triangle, grown by `grow` as SoCairoOutline grows it.
    static void fill(cairo_t* cr, const SbVec4f points[3], const SbColor colors[3], double grow,
                     int depth = 0);

  private:
    /// A new pattern for the whole triangle; `error` out: the largest difference between a
    /// corner's colour and the pattern's there. The caller destroys the pattern.
    static cairo_pattern_t* nearest(const SbVec4f points[3], const SbColor colors[3],
                                    double& error);
};
