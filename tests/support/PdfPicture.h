#pragma once

// Renders PDF with poppler's pdftoppm (Debian: poppler-utils), a reader independent of the
// cairo that writes our printed pages, so that tests can check which pixels a page inks, and
// bounds how much of a picture is wrong in one place.

#include <algorithm>
#include <string>
#include <vector>

#include "GhostscriptRender.h"

/// True when pdftoppm can be run.
inline bool pdftoppmAvailable() {
    return ghostscript_detail::run("pdftoppm -v >/dev/null 2>&1") == 0;
}

/// The first page of a PDF document at `dpi`, row 0 at the top; empty when it did not render.
inline GhostscriptResult::Image renderPdfPage(const std::string& pdf, int dpi) {
    using namespace ghostscript_detail;
    const TempDir dir;
    std::ofstream(dir.file("in.pdf"), std::ios::binary) << pdf;
    GhostscriptResult result;
    if (run("pdftoppm -r " + std::to_string(dpi) + " -f 1 -l 1 -singlefile " +
            quoted(dir.file("in.pdf")) + " " + quoted(dir.file("page")) + " 2>/dev/null") == 0)
        parsePpm(read(dir.file("page.ppm")), dpi, result);
    return result.image;
}

/// The size of the largest 8-connected region of marked pixels, rows of `width` pixels.
inline int largestMarkedRegion(std::vector<char> marked, int width) {
    int largest = 0;
    for (std::size_t start = 0; start < marked.size(); ++start) {
        if (!marked[start]) continue;
        marked[start] = 0;
        std::vector<int> stack{int(start)};
        int size = 0;
        for (; !stack.empty(); ++size) {
            const int at = stack.back(), x = at % width, y = at / width;
            stack.pop_back();
            for (int n = 0; n < 9; ++n) {
                const int nx = x + n % 3 - 1, ny = y + n / 3 - 1, next = ny * width + nx;
                if (nx >= 0 && nx < width && ny >= 0 && next < int(marked.size()) && marked[next])
                    marked[next] = 0, stack.push_back(next);
            }
        }
        largest = std::max(largest, size);
    }
    return largest;
}
