#include "SoImageVectorizer.h"

#include <algorithm>

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
    cells.resize(static_cast<std::size_t>(width * height));
    std::uint32_t* row = cells.data();
    std::fill(row, row + width, BORDER);
    for (std::ptrdiff_t r = 0; r < h; ++r) {
        row += width;
        const unsigned char* pixel = tile + 4 * r * w;
        row[0] = row[width - 1] = BORDER;
        for (std::ptrdiff_t c = 1; c <= w; ++c, pixel += 4) {
            row[c] = std::uint32_t(pixel[0]) | std::uint32_t(pixel[1]) << 8 |
                     std::uint32_t(pixel[2]) << 16;
        }
    }
    std::fill(row + width, row + 2 * width, BORDER);
    return true;
}
