#include "SoCairoImage.h"

#include <Tessara/base/SoDebugError.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

/// Blocks of half a point: smoothing then blends less than a screen pixel at any common zoom.
constexpr double blocksPerMillimetre = 2.0 * 72.0 / 25.4;
constexpr int maxMagnifiedSide = 4096;

std::uint32_t premultiplied(const unsigned char* p, int components) {
    const bool grey = components < 3;
    const unsigned r = p[0], g = grey ? p[0] : p[1], b = grey ? p[0] : p[2];
    const unsigned a = components == 2 ? p[1] : components >= 4 ? p[3] : 255u;
    const auto scaled = [a](unsigned c) { return (c * a + 127) / 255; };
    return a << 24 | scaled(r) << 16 | scaled(g) << 8 | scaled(b);
}

}  // namespace

cairo_surface_t* SoCairoImage::surfaceOf(const unsigned char* pixels, int width, int height,
                                         int components, int factor) {
    cairo_surface_t* image =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * factor, height * factor);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return nullptr;
    }
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int row = 0; row < height * factor; ++row) {
        auto* out = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(row) * stride);
        const unsigned char* in =
            pixels + static_cast<std::size_t>(row / factor) * width * components;
        for (int column = 0; column < width * factor; ++column)
            out[column] = premultiplied(in + static_cast<std::size_t>(column / factor) * components,
                                        components);
    }
    cairo_surface_mark_dirty(image);
    return image;
}

void SoCairoImage::draw(cairo_t* cr, const unsigned char* pixels, int width, int height,
                        int components, double x, double y, double boxWidth, double boxHeight,
                        bool magnify) {
    const int side = width > height ? width : height;
    const int fits = maxMagnifiedSide / side;
    const double pixelSide = std::max(boxWidth / width, boxHeight / height);
    const int wanted = int(std::min(std::ceil(pixelSide * blocksPerMillimetre), 4096.0));
    const int factor = magnify ? std::clamp(wanted, 1, std::max(fits, 1)) : 1;
    cairo_surface_t* image = surfaceOf(pixels, width, height, components, factor);
    if (!image) {
        SoDebugError::post("SoVectorizeCairoAction::printImage",
                           "An image of %d x %d pixels is left out: there is no memory for it",
                           width, height);
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, boxWidth / (width * factor), boxHeight / (height * factor));
    cairo_set_source_surface(cr, image, 0.0, 0.0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    // A paint of the image alone, not a fill through it: SVG writes it as the image itself,
    // which browsers place exactly, instead of a pattern.
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(image);
}
