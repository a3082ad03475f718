#include "SoGDICairoBitmap.h"

#include <Tessara/base/SoDebugError.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

// The source rectangle is GDI's: its origin is the lower-left pixel for a bottom-up bitmap
// (biHeight > 0) and the upper-left one for a top-down bitmap. Its upper-left corner, as the
// picture stands, goes to (xDest, yDest) and its lower-right one to (xDest + destWidth,
// yDest + destHeight), so a width or height of opposite sign in source and destination
// mirrors the picture. Pixels are printed as they are, without smoothing, as a GDI printer
// driver stretches them.

namespace {

/// Larger bitmaps are refused rather than held in memory twice (the PDF keeps its own copy).
constexpr std::int64_t MAX_PIXELS = std::int64_t(1) << 26;
constexpr std::int64_t MAX_SIDE = 32767;

const char* const SOURCE = "SoGDICairoBitmap::draw";

std::int64_t rowBytes(std::int64_t width) {
    return (width * 3 + 3) / 4 * 4;
}

LONG clampedSum(LONG a, LONG b) {
    const std::int64_t sum = std::int64_t(a) + b;
    return static_cast<LONG>(std::clamp<std::int64_t>(sum, std::numeric_limits<LONG>::min(),
                                                      std::numeric_limits<LONG>::max()));
}

}  // namespace

bool SoGDICairoBitmap::acceptable(const SoGDIStretch& s) {
    if (!s.info || !s.bits) {
        SoDebugError::post(SOURCE, "No bitmap was given");
        return false;
    }
    const BITMAPINFOHEADER& h = s.info->bmiHeader;
    if (h.biBitCount != 24 || h.biCompression != BI_RGB) {
        SoDebugError::post(SOURCE,
                           "Only 24-bit uncompressed (BI_RGB) bitmaps can be printed, not %u bits "
                           "with compression %u",
                           unsigned(h.biBitCount), unsigned(h.biCompression));
        return false;
    }
    if (s.rasterOperation != SRCCOPY) {
        SoDebugError::post(SOURCE, "Only the raster operation SRCCOPY can be printed, not 0x%X",
                           unsigned(s.rasterOperation));
        return false;
    }
    const std::int64_t width = h.biWidth, height = std::abs(std::int64_t(h.biHeight));
    if (width <= 0 || height == 0 || width > MAX_SIDE || height > MAX_SIDE ||
        width * height > MAX_PIXELS) {
        SoDebugError::post(SOURCE, "A bitmap of %lld x %lld pixels cannot be printed",
                           static_cast<long long>(h.biWidth), static_cast<long long>(h.biHeight));
        return false;
    }
    if (std::uint64_t(rowBytes(width) * height) > s.bitsSize) {
        SoDebugError::post(SOURCE, "The bitmap holds %zu bytes, fewer than its %lld x %lld pixels",
                           s.bitsSize, static_cast<long long>(width),
                           static_cast<long long>(height));
        return false;
    }
    return true;
}

cairo_surface_t* SoGDICairoBitmap::image(const SoGDIStretch& s) {
    const BITMAPINFOHEADER& h = s.info->bmiHeader;
    const int width = h.biWidth, height = static_cast<int>(std::abs(std::int64_t(h.biHeight)));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        SoDebugError::post(SOURCE, "No memory for a bitmap of %d x %d pixels: %s", width, height,
                           cairo_status_to_string(cairo_surface_status(surface)));
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    unsigned char* pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const auto* bits = static_cast<const unsigned char*>(s.bits);
    const bool bottomUp = h.biHeight > 0;
    for (int row = 0; row < height; ++row) {
        const unsigned char* in = bits + rowBytes(width) * (bottomUp ? height - 1 - row : row);
        auto* out = reinterpret_cast<std::uint32_t*>(pixels + std::int64_t(stride) * row);
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = std::uint32_t(in[2]) << 16 | std::uint32_t(in[1]) << 8 | in[0];
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

bool SoGDICairoBitmap::draw(cairo_t* cr, const SoGDIDeviceContext& dc, const SoGDIStretch& s) {
    if (!acceptable(s)) return false;
    const POINT from = dc.toDevice({s.xDest, s.yDest});
    const POINT to =
        dc.toDevice({clampedSum(s.xDest, s.destWidth), clampedSum(s.yDest, s.destHeight)});
    if (from.x == to.x || from.y == to.y || s.sourceWidth == 0 || s.sourceHeight == 0)
        return true;  // nothing to cover, as GDI
    cairo_surface_t* surface = image(s);
    if (!surface) return false;

    // Image coordinates (rows from the top) of the source rectangle's upper-left corner and
    // its extent, as the picture stands.
    const double rows = std::abs(double(s.info->bmiHeader.biHeight));
    const bool bottomUp = s.info->bmiHeader.biHeight > 0;
    const double top = bottomUp ? rows - s.ySource - double(s.sourceHeight) : s.ySource;
    const double sx = double(s.sourceWidth) / (double(to.x) - from.x);
    const double sy = double(s.sourceHeight) / (double(to.y) - from.y);
    cairo_matrix_t deviceToImage;
    cairo_matrix_init(&deviceToImage, sx, 0, 0, sy, s.xSource - from.x * sx, top - from.y * sy);

    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    cairo_pattern_set_matrix(pattern, &deviceToImage);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, std::min(from.x, to.x), std::min(from.y, to.y),
                    std::abs(double(to.x) - from.x), std::abs(double(to.y) - from.y));
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(surface);
    return true;
}
