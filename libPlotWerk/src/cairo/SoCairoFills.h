#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec4f.h>
#include <cairo.h>

/// Fills that wait to be drawn together, so that viewers which anti-alias show no seam where
/// they meet, and so that many small ones (a point cloud's dots, each a primitive of its own
/// in depth order) cost the document and its reader few fills. Consecutive flat fills of one
/// colour (in bytes, as readers show colours) become one path, filled at once, each grown by
/// half the seam width (SoCairoOutline) so that it overlaps the fills it meets; consecutive
/// smooth fills become one mesh of triangles (painted in order, as the painter put them)
/// filled through one path. Drawing in order keeps the painter's order: a batch is drawn
/// before anything else is.
///
/// Without native meshes (SVG), a smooth triangle is drawn at once with the linear gradient
/// nearest to its corner colours (SoCairoGradient), grown the same way, unless all its
/// corners show within a colour level of their mean: then it is a flat fill of that mean.
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
    /// A square dot `size` wide centred on (x, y), not grown: dots meet nothing. Consecutive
    /// dots of one colour and size are one stroke of lines as long as they are wide, the
    /// fewest bytes a run of squares takes in these formats; a lone dot is a filled square,
    /// fewer bytes than a stroke of its own.
    void addDot(float x, float y, float size, const SbColor& color);
    /// One colour per point.
    void addSmooth(const SbVec4f* points, int n, const SbColor* colors);
    /// Draws what waits.
    void flush();

  private:
    enum class Batch { NONE, FLAT, MESH, DOTS };
    void startBatch(Batch kind);
    void addGradientTriangles(const SbVec4f* points, int n, const SbColor* colors);
    void drawDots();

    cairo_t* cr_;
    bool nativeMeshes_;
    double seamWidth_;
    Batch batch_ = Batch::NONE;
    int count_ = 0;
    SbColor color_;
    float dotSize_ = 0.0f;
    float lastDot_[2] = {0.0f, 0.0f};
    cairo_pattern_t* mesh_ = nullptr;
};
