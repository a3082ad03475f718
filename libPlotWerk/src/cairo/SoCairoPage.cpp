#include "SoCairoPage.h"

#include <Tessara/base/SoDebugError.h>

#include <cstdint>

#include "SoCairoColor.h"
#include "frame/SoColorByte.h"

namespace {

constexpr double millimetresPerPoint = 25.4 / 72.0;
constexpr int patternSide = 32;

/// An ARGB32 pixel of an opaque colour, as cairo stores it in memory.
std::uint32_t opaque(const SbColor& color) {
    return 0xFF000000u | std::uint32_t(SoColorByte::of(color[0])) << 16 |
           std::uint32_t(SoColorByte::of(color[1])) << 8 | std::uint32_t(SoColorByte::of(color[2]));
}

}  // namespace

SoCairoPage::SoCairoPage(cairo_surface_t* surface, double sheetHeight, bool nativeMeshes,
                         double seamWidth)
    : surface_(surface), cr_(cairo_create(surface)), fills_(cr_, nativeMeshes, seamWidth) {
    // Points with y down to millimetres with y up.
    cairo_scale(cr_, 1.0 / millimetresPerPoint, 1.0 / millimetresPerPoint);
    cairo_translate(cr_, 0.0, sheetHeight);
    cairo_scale(cr_, 1.0, -1.0);
}

SoCairoPage::~SoCairoPage() {
    for (auto& pattern : patterns_) cairo_pattern_destroy(pattern.second);
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
}

void SoCairoPage::save() {
    cairo_save(cr_);
    ++saved_;
}

void SoCairoPage::restore() {
    if (saved_ == 0) return;
    cairo_restore(cr_);
    --saved_;
}

cairo_pattern_t* SoCairoPage::fillPattern(const unsigned char* bits, const SbColor& color) {
    std::string key(reinterpret_cast<const char*>(bits), patternSide * patternSide / 8);
    key += std::to_string(opaque(color));
    auto known = patterns_.find(key);
    if (known != patterns_.end()) return known->second;

    cairo_surface_t* tile =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, patternSide, patternSide);
    cairo_surface_flush(tile);
    unsigned char* data = cairo_image_surface_get_data(tile);
    const int stride = cairo_image_surface_get_stride(tile);
    for (int row = 0; row < patternSide; ++row) {
        auto* pixel = reinterpret_cast<std::uint32_t*>(data + row * stride);
        for (int column = 0; column < patternSide; ++column) {
            const unsigned char byte = bits[row * patternSide / 8 + column / 8];
            pixel[column] = (byte & (0x80 >> (column % 8))) ? opaque(color) : 0u;
        }
    }
    cairo_surface_mark_dirty(tile);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
    cairo_surface_destroy(tile);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    cairo_matrix_t perPoint;
    cairo_matrix_init_scale(&perPoint, 1.0 / millimetresPerPoint, 1.0 / millimetresPerPoint);
    cairo_pattern_set_matrix(pattern, &perPoint);
    patterns_.emplace(std::move(key), pattern);
    return pattern;
}

const SoCairoMarker* SoCairoPage::marker(int markerIndex) {
    auto known = markers_.find(markerIndex);
    if (known == markers_.end()) {
        SoCairoMarker loaded;
        if (!loaded.load(markerIndex)) return nullptr;
        known = markers_.emplace(markerIndex, std::move(loaded)).first;
    }
    return &known->second;
}

bool SoCairoPage::finish(bool documentContinues) {
    fills_.flush();
    cairo_show_page(cr_);
    const cairo_status_t status = cairo_status(cr_);
    cairo_destroy(cr_);
    cr_ = nullptr;
    cairo_surface_t* surface = surface_;
    surface_ = nullptr;
    if (!documentContinues) return finishDocument(surface, status);
    cairo_surface_destroy(surface);
    return report(status);
}

bool SoCairoPage::finishDocument(cairo_surface_t* surface, cairo_status_t status) {
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    return report(status);
}

bool SoCairoPage::report(cairo_status_t status) {
    // The output object has posted a failed write itself.
    if (status == CAIRO_STATUS_SUCCESS || status == CAIRO_STATUS_WRITE_ERROR) return status == 0;
    SoDebugError::post("SoVectorizeCairoAction::writeFooter", "The drawing could not be made: %s",
                       cairo_status_to_string(status));
    return false;
}
