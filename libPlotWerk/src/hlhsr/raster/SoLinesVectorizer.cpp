// Line runs from the identifier image.
//
// A line drawn in the offscreen pass leaves a run of pixels of its identifier, one or two
// pixels thick. The first pixel of a run in buffer order is where the walk starts; it goes on
// to a neighbour of the same identifier (left, then the three pixels of the next row from
// left to right, then right), clearing each pixel it leaves, so that every pixel is walked
// once and the run gives one segment from its start to where the walk ends. What is left of
// a thick run on its start row is cleared so it does not start a second, parallel segment.

#include "SoLinesVectorizer.h"

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec4f.h>

#include <memory>

#include "../SoPolyLine.h"

SoLinesVectorizer::SoLinesVectorizer(double newTolerance) : SoImageVectorizer(newTolerance) {}

void SoLinesVectorizer::vectorize(const unsigned char* tile, int w, int h) {
    if (!loadBordered(tile, w, h)) return;
    std::uint32_t* c = cells.data();
    const std::ptrdiff_t steps[5] = {-1, width - 1, width, width + 1, 1};
    const SbColor colors[2] = {SbColor(0.0f, 0.0f, 0.0f), SbColor(0.0f, 0.0f, 0.0f)};
    for (std::ptrdiff_t r = 1; r <= h; ++r) {
        for (std::ptrdiff_t col = 1; col <= w; ++col) {
            const std::ptrdiff_t start = r * width + col;
            const std::uint32_t v = c[start];
            if (!(v & LINE_BIT)) continue;
            std::ptrdiff_t at = start;
            for (;;) {
                int k = 0;
                while (k < 5 && c[at + steps[k]] != v) ++k;
                c[at] = 0;
                if (k == 5) break;
                at += steps[k];
            }
            // Clear the rest of a thick run on the start row; the scan goes on after it.
            const std::ptrdiff_t startCol = col;
            for (std::ptrdiff_t next = start + 1; col < w && c[next] == v; ++next, ++col)
                c[next] = 0;
            if (at == start) continue;
            const SbVec4f ends[2] = {
                SbVec4f(float(startCol - 1), float(r - 1), 0.0f, 1.0f),
                SbVec4f(float(at % width - 1), float(at / width - 1), 0.0f, 1.0f)};
            auto line = std::make_unique<SoPolyLine>();
            line->set(2, ends, colors, 0, 0.0f, 0xFFFF, 1, 0.0f);
            line->sourceId = static_cast<int>(v);
            traced.add(line.release());
        }
    }
}
