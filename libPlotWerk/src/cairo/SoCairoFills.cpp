#include "SoCairoFills.h"

#include <cmath>

#include "SoCairoColor.h"
#include "SoCairoGradient.h"
#include "SoCairoOutline.h"

namespace {

// Bounds the path and the mesh a batch holds; batches that follow one another still meet
// without seams, since their fills are grown.
constexpr int maxBatch = 4096;

/// Whether every colour lies within a byte step of their mean, in every component; the mean.
bool withinAByteStepOfTheMean(const SbColor* colors, int n, SbColor& mean) {
    mean = SbColor(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < n; ++i) mean += colors[i] / float(n);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k)
            if (!(std::fabs(colors[i][k] - mean[k]) <= 1.0f / 255.0f)) return false;
    return true;
}

}  // namespace

SoCairoFills::SoCairoFills(cairo_t* cr, bool nativeMeshes, double seamWidth)
    : cr_(cr), nativeMeshes_(nativeMeshes), seamWidth_(seamWidth) {}

SoCairoFills::~SoCairoFills() {
    if (mesh_) cairo_pattern_destroy(mesh_);
}

void SoCairoFills::startBatch(Batch kind) {
    flush();
    batch_ = kind;
    if (kind == Batch::MESH) mesh_ = cairo_pattern_create_mesh();
}

void SoCairoFills::addFlat(const SbVec4f* points, int n, const SbColor& color) {
    if (n < 3) return;
    // Readers show colours in bytes: fills of one byte colour batch, as one colour.
    const SbColor shown = SoCairoColor::asBytes(color);
    if (batch_ != Batch::FLAT || shown != color_ || count_ >= maxBatch) {
        startBatch(Batch::FLAT);
        color_ = shown;
    }
    SoCairoOutline::append(cr_, points, n, seamWidth_ / 2);
    ++count_;
}

void SoCairoFills::addDot(float x, float y, float size, const SbColor& color) {
    const SbColor shown = SoCairoColor::asBytes(color);
    if (batch_ != Batch::DOTS || shown != color_ || size != dotSize_ || count_ >= maxBatch) {
        startBatch(Batch::DOTS);
        color_ = shown;
        dotSize_ = size;
    }
    cairo_move_to(cr_, x - size / 2, y);
    cairo_line_to(cr_, x + size / 2, y);
    lastDot_[0] = x, lastDot_[1] = y;
    ++count_;
}

void SoCairoFills::drawDots() {
    SoCairoColor::setSource(cr_, color_);
    if (count_ == 1) {
        const float half = dotSize_ / 2;
        cairo_new_path(cr_);
        cairo_rectangle(cr_, lastDot_[0] - half, lastDot_[1] - half, dotSize_, dotSize_);
        cairo_fill(cr_);
        return;
    }
    cairo_save(cr_);
    cairo_set_line_width(cr_, dotSize_);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    cairo_set_dash(cr_, nullptr, 0, 0.0);
    cairo_stroke(cr_);
    cairo_restore(cr_);
}

void SoCairoFills::addSmooth(const SbVec4f* points, int n, const SbColor* colors) {
    if (n < 3) return;
    SbColor mean;
    if (!nativeMeshes_ && withinAByteStepOfTheMean(colors, n, mean)) {
        // Every corner shows within a level of the mean: a gradient would cost a definition
        // of its own for a change no reader shows, and break the batch of flat fills.
        addFlat(points, n, mean);
        return;
    }
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
    // Outside its patches a mesh is transparent: a grown outline would add nothing.
    SoCairoOutline::append(cr_, points, n, 0.0);
    ++count_;
}

void SoCairoFills::addGradientTriangles(const SbVec4f* points, int n, const SbColor* colors) {
    for (int i = 1; i + 1 < n; ++i) {
        const SbVec4f triangle[3] = {points[0], points[i], points[i + 1]};
        const SbColor shades[3] = {colors[0], colors[i], colors[i + 1]};
        SoCairoGradient::fill(cr_, triangle, shades, seamWidth_ / 2);
    }
}

void SoCairoFills::flush() {
    if (batch_ == Batch::FLAT) {
        SoCairoColor::setSource(cr_, color_);
        cairo_fill(cr_);
    } else if (batch_ == Batch::DOTS) {
        drawDots();
    } else if (batch_ == Batch::MESH) {
        cairo_set_source(cr_, mesh_);
        cairo_fill(cr_);
        cairo_pattern_destroy(mesh_);
        mesh_ = nullptr;
    }
    batch_ = Batch::NONE;
    count_ = 0;
}
