#include "SoImageVectorizer.h"

SoImageVectorizer::SoImageVectorizer(double newTolerance) : tolerance(newTolerance) {}

SoImageVectorizer::~SoImageVectorizer() = default;

SoGraphicPrimitiveList& SoImageVectorizer::getTraced() {
    return traced;
}

// The frame lets every neighbour look of the tracers go one cell out without a bounds check:
// a cell of the tile always has all eight neighbours, and the frame's value matches nothing.
bool SoImageVectorizer::loadBordered(const unsigned char* tile, int w, int h) {
    cells.clear();
    width = height = 0;
    if (!tile || w <= 0 || h <= 0) return false;
    width = std::ptrdiff_t(w) + 2;
    height = std::ptrdiff_t(h) + 2;
    cells.assign(static_cast<std::size_t>(width * height), BORDER);
    for (std::ptrdiff_t r = 0; r < h; ++r) {
        const unsigned char* pixel = tile + 4 * r * w;
        std::uint32_t* cell = cells.data() + (r + 1) * width + 1;
        for (int c = 0; c < w; ++c, pixel += 4) {
            cell[c] = std::uint32_t(pixel[0]) | std::uint32_t(pixel[1]) << 8 |
                      std::uint32_t(pixel[2]) << 16;
        }
    }
    return true;
}
