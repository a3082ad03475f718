#include "SoMarkerRaster.h"

#include <cstdlib>

constexpr int SoMarkerRaster::kSizes[3];

std::vector<bool> SoMarkerRaster::draw(Shape shape, int n) {
    std::vector<bool> pixels(static_cast<size_t>(n) * n, false);
    const int c = n / 2;
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const int dx = col - c;
            const int dy = row - c;
            bool set = false;
            switch (shape) {
                case CIRCLE_LINE:
                case SQUARE_LINE:
                case DIAMOND_LINE:
                case TRIANGLE_LINE:
                case HOURGLASS_LINE:
                    set = onBoundary(filledOf(shape), n, dx, dy);
                    break;
                case SATELLITE_LINE:
                    set = onBoundary(CIRCLE_FILLED, n, dx, dy) || filledPixel(CROSS, n, dx, dy);
                    break;
                default:
                    set = filledPixel(shape, n, dx, dy);
                    break;
            }
            pixels[static_cast<size_t>(row) * n + col] = set;
        }
    }
    return pixels;
}

bool SoMarkerRaster::filledPixel(Shape shape, int n, int dx, int dy) {
    const int r = n / 2;
    if (std::abs(dx) > r || std::abs(dy) > r) return false;
    const int ax = std::abs(dx);
    const int ay = std::abs(dy);
    // A disc of radius r + 0.3 reads as round at these sizes: it clips the corners without
    // flattening the sides.
    const bool inDisc = (dx * dx + dy * dy) * 100 <= (10 * r + 3) * (10 * r + 3);
    switch (shape) {
        case PLUS:
            return dx == 0 || dy == 0;
        case CROSS:
            return ax == ay;
        case STAR:
            return dx == 0 || dy == 0 || ax == ay;
        case CIRCLE_FILLED:
            return inDisc;
        case SQUARE_FILLED:
            return true;
        case DIAMOND_FILLED:
            return ax + ay <= r;
        // Pointing up: the half width shrinks by one pixel every two rows from the full base.
        case TRIANGLE_FILLED:
            return ax <= (r - dy) / 2;
        case HOURGLASS_FILLED:
            return ax <= ay;
        case SATELLITE_FILLED:
            return inDisc || ax == ay;
        default:
            return false;
    }
}

SoMarkerRaster::Shape SoMarkerRaster::filledOf(Shape outline) {
    switch (outline) {
        case CIRCLE_LINE:
            return CIRCLE_FILLED;
        case SQUARE_LINE:
            return SQUARE_FILLED;
        case DIAMOND_LINE:
            return DIAMOND_FILLED;
        case TRIANGLE_LINE:
            return TRIANGLE_FILLED;
        case HOURGLASS_LINE:
            return HOURGLASS_FILLED;
        default:
            return outline;
    }
}

bool SoMarkerRaster::onBoundary(Shape filled, int n, int dx, int dy) {
    if (!filledPixel(filled, n, dx, dy)) return false;
    return !filledPixel(filled, n, dx + 1, dy) || !filledPixel(filled, n, dx - 1, dy) ||
           !filledPixel(filled, n, dx, dy + 1) || !filledPixel(filled, n, dx, dy - 1);
}
