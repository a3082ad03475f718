#pragma once

// Renders PDF with poppler's pdftoppm (Debian: poppler-utils), a reader independent of the
// cairo that writes our printed pages, so that tests can check which pixels a page inks, and
// bounds how much of a picture is wrong in one place.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GhostscriptRender.h"

/// True when pdftoppm can be run.
inline bool pdftoppmAvailable() {
    return ghostscript_detail::run("pdftoppm -v >/dev/null 2>&1") == 0;
}

/// A page of a PDF document at `dpi`, row 0 at the top; empty when it did not render.
inline GhostscriptResult::Image renderPdfPage(const std::string& pdf, int dpi, int page = 1) {
    using namespace ghostscript_detail;
    const TempDir dir;
    std::ofstream(dir.file("in.pdf"), std::ios::binary) << pdf;
    GhostscriptResult result;
    const std::string number = std::to_string(page);
    if (run("pdftoppm -r " + std::to_string(dpi) + " -f " + number + " -l " + number +
            " -singlefile " + quoted(dir.file("in.pdf")) + " " + quoted(dir.file("page")) +
            " 2>/dev/null") == 0)
        parsePpm(read(dir.file("page.ppm")), dpi, result);
    return result.image;
}

/// Of the 8-connected regions of marked pixels (rows of `width` pixels), the most pixels one
/// holds and the most one spans across (its width or height, whichever is larger).
struct MarkedRegions {
    int pixels = 0, across = 0;
};

inline MarkedRegions largestMarkedRegions(std::vector<char> marked, int width) {
    MarkedRegions largest;
    for (std::size_t start = 0; start < marked.size(); ++start) {
        if (!marked[start]) continue;
        marked[start] = 0;
        std::vector<int> stack{int(start)};
        int size = 0, x0 = width, y0 = int(start) / width, x1 = 0, y1 = y0;
        for (; !stack.empty(); ++size) {
            const int at = stack.back(), x = at % width, y = at / width;
            stack.pop_back();
            x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
            for (int n = 0; n < 9; ++n) {
                const int nx = x + n % 3 - 1, ny = y + n / 3 - 1, next = ny * width + nx;
                if (nx >= 0 && nx < width && ny >= 0 && next < int(marked.size()) && marked[next])
                    marked[next] = 0, stack.push_back(next);
            }
        }
        largest.pixels = std::max(largest.pixels, size);
        largest.across = std::max({largest.across, x1 - x0 + 1, y1 - y0 + 1});
    }
    return largest;
}

inline bool inked(const GhostscriptResult::Image& image, int x, int y) {
    return !image.pixel(x, y).isWhite();
}

/// The share of a's ink with b's ink within `reach` pixels; `wrong` marks a's pixels without.
inline double inkNear(const GhostscriptResult::Image& a, const GhostscriptResult::Image& b,
                      std::vector<char>& wrong, int reach = 1) {
    int ink = 0, near = 0;
    const int side = 2 * reach + 1;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            if (!inked(a, x, y)) continue;
            bool found = false;
            for (int n = 0; n < side * side && !found; ++n)
                found = inked(b, x + n % side - reach, y + n / side - reach);
            ++ink, near += found;
            if (!found) wrong[std::size_t(y) * a.width + x] = 1;
        }
    return ink ? double(near) / ink : 0.0;
}

/// Each picture's ink lies within `reach` pixels of the other's, both ways, with no region
/// of ink the other lacks larger than `largestWrong` pixels: a part drawn in the wrong place
/// or left out shows as a region.
inline void expectSameInk(const GhostscriptResult::Image& page,
                          const GhostscriptResult::Image& reference, const std::string& what,
                          int largestWrong, int reach = 1) {
    ASSERT_FALSE(page.empty()) << what;
    for (const auto& [a, b] : {std::pair{&page, &reference}, {&reference, &page}}) {
        std::vector<char> wrong(std::size_t(a->width) * a->height, 0);
        EXPECT_GE(inkNear(*a, *b, wrong, reach), 0.99) << what;
        EXPECT_LE(largestMarkedRegions(wrong, a->width).pixels, largestWrong)
            << what << ": pixels in one region";
    }
}
