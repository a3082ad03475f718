#include "SoCairoFills.h"

#include "SoCairoColor.h"
#include "SoCairoGradient.h"

namespace {

// Bounds the path and the mesh a batch holds; batches that follow one another still meet
// without seams, through the outlines.
constexpr int maxBatch = 4096;

}  // namespace

SoCairoFills::SoCairoFills(cairo_t* cr, bool nativeMeshes, double seamWidth)
    : cr_(cr), nativeMeshes_(nativeMeshes), seamWidth_(seamWidth) {}

SoCairoFills::~SoCairoFills() {
    if (mesh_) cairo_pattern_destroy(mesh_);
}

void SoCairoFills::appendCounterClockwise(cairo_t* cr, const SbVec4f* points, int n) {
    double twiceArea = 0.0;
    for (int i = 0, j = n - 1; i < n; j = i++)
        twiceArea += double(points[j][0]) * points[i][1] - double(points[i][0]) * points[j][1];
    const bool reverse = twiceArea < 0.0;
    for (int k = 0; k < n; ++k) {
        const SbVec4f& p = points[reverse ? n - 1 - k : k];
        if (k == 0)
            cairo_move_to(cr, p[0], p[1]);
        else
            cairo_line_to(cr, p[0], p[1]);
    }
    cairo_close_path(cr);
}

void SoCairoFills::fillAndSeal(cairo_t* cr, double seamWidth) {
    if (seamWidth <= 0.0) {
        cairo_fill(cr);
        return;
    }
    cairo_fill_preserve(cr);
    // Round joins: a mitre at the sharp corner of a sliver would reach far beyond it.
    cairo_set_line_width(cr, seamWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_dash(cr, nullptr, 0, 0.0);
    cairo_stroke(cr);
}

void SoCairoFills::startBatch(Batch kind) {
    flush();
    batch_ = kind;
    if (kind == Batch::MESH) mesh_ = cairo_pattern_create_mesh();
}

void SoCairoFills::addFlat(const SbVec4f* points, int n, const SbColor& color) {
    if (n < 3) return;
    if (batch_ != Batch::FLAT || color != color_ || count_ >= maxBatch) {
        startBatch(Batch::FLAT);
        color_ = color;
    }
    appendCounterClockwise(cr_, points, n);
    ++count_;
}

void SoCairoFills::addSmooth(const SbVec4f* points, int n, const SbColor* colors) {
    if (n < 3) return;
    if (!nativeMeshes_) {
        flush();
        addGradientTriangles(points, n, colors);
        return;
    }
    if (batch_ != Batch::MESH || count_ >= maxBatch) startBatch(Batch::MESH);
    // A fan of triangles, each a patch whose fourth corner is its first.
    for (int i = 1; i + 1 < n; ++i) {
        const int corner[3] = {0, i, i + 1};
        cairo_mesh_pattern_begin_patch(mesh_);
        for (int k = 0; k < 3; ++k) {
            const SbVec4f& p = points[corner[k]];
            if (k == 0)
                cairo_mesh_pattern_move_to(mesh_, p[0], p[1]);
            else
                cairo_mesh_pattern_line_to(mesh_, p[0], p[1]);
            const SbColor& c = colors[corner[k]];
            cairo_mesh_pattern_set_corner_color_rgb(mesh_, k, SoCairoColor::component(c[0]),
                                                    SoCairoColor::component(c[1]),
                                                    SoCairoColor::component(c[2]));
        }
        cairo_mesh_pattern_end_patch(mesh_);
    }
    appendCounterClockwise(cr_, points, n);
    ++count_;
}

void SoCairoFills::addGradientTriangles(const SbVec4f* points, int n, const SbColor* colors) {
    for (int i = 1; i + 1 < n; ++i) {
        const SbVec4f triangle[3] = {points[0], points[i], points[i + 1]};
        const SbColor shades[3] = {colors[0], colors[i], colors[i + 1]};
        SoCairoGradient::fill(cr_, triangle, shades, seamWidth_);
    }
}

void SoCairoFills::flush() {
    if (batch_ == Batch::FLAT) {
        SoCairoColor::setSource(cr_, color_);
        fillAndSeal(cr_, seamWidth_);
    } else if (batch_ == Batch::MESH) {
        // Outside its patches a mesh is transparent: an outline would add nothing.
        cairo_set_source(cr_, mesh_);
        cairo_fill(cr_);
        cairo_pattern_destroy(mesh_);
        mesh_ = nullptr;
    }
    batch_ = Batch::NONE;
    count_ = 0;
}
