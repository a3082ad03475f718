#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec4f.h>
#include <cairo.h>

/// Fills that wait to be drawn together, so that viewers which anti-alias show no seam where
/// they meet. Consecutive flat fills of one colour become one path, filled at once and
/// outlined in their colour with the seam width; consecutive smooth fills become one mesh of
/// triangles (painted in order, as the painter put them) filled through one path. Drawing in
/// order keeps the painter's order: a batch is drawn before anything else is.
///
/// Without native meshes (SVG), a smooth triangle is drawn at once with the linear gradient
/// nearest to its corner colours (SoCairoGradient), filled and outlined with it.
///
/// The batch lives in the context's current path: nothing else may build a path until
/// flush() has drawn it.
class SoCairoFills {
  public:
    SoCairoFills(cairo_t* cr, bool nativeMeshes, double seamWidth);
    ~SoCairoFills();
    SoCairoFills(const SoCairoFills&) = delete;
    SoCairoFills& operator=(const SoCairoFills&) = delete;

    void addFlat(const SbVec4f* points, int n, const SbColor& color);
    /// One colour per point.
    void addSmooth(const SbVec4f* points, int n, const SbColor* colors);
    /// Draws what waits.
    void flush();

    /// Adds the polygon to the current path counter-clockwise, so that the nonzero rule
    /// fills the union of a batch however each polygon was turned.
    static void appendCounterClockwise(cairo_t* cr, const SbVec4f* points, int n);
    /// Fills the current path with the current source and outlines it with the seam width.
    static void fillAndSeal(cairo_t* cr, double seamWidth);

  private:
    enum class Batch { NONE, FLAT, MESH };
    void startBatch(Batch kind);
    void addGradientTriangles(const SbVec4f* points, int n, const SbColor* colors);

    cairo_t* cr_;
    bool nativeMeshes_;
    double seamWidth_;
    Batch batch_ = Batch::NONE;
    int count_ = 0;
    SbColor color_;
    cairo_pattern_t* mesh_ = nullptr;
};
