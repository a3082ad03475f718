#pragma once

#include <cairo.h>

/// Pixels of the scene as a cairo image: grey, grey and alpha, RGB or RGBA (1 to 4
/// components, more are ignored), rows from the bottom, drawn pixel for pixel without
/// smoothing into a box of the page whose user space has y up.
///
/// Readers that smooth every image they scale (browsers showing SVG) would blur the pixels of
/// a small image into each other: with `magnify`, each pixel is written as a block of
/// pixels half a point a side (the image up to 4096 pixels a side), so that smoothing stays
/// at the blocks' edges.
class SoCairoImage {
  public:
    static void draw(cairo_t* cr, const unsigned char* pixels, int width, int height,
                     int components, double x, double y, double boxWidth, double boxHeight,
                     bool magnify);

  private:
    /// A new ARGB32 surface of `factor` x `factor` pixels per pixel, premultiplied as cairo
    /// wants it; null when cairo has no memory.
    static cairo_surface_t* surfaceOf(const unsigned char* pixels, int width, int height,
                                      int components, int factor);
};
