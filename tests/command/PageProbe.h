#pragma once

// Questions about a rendered page, asked in page millimetres (from the bottom-left corner):
// how much ink a rectangle holds, how much of it is coloured, and its mean colour.

#include "support/GhostscriptRender.h"

/// A rendered first page, read by rectangles.
class PageProbe {
  public:
    explicit PageProbe(const GhostscriptResult::Image& image) : image(image) {}

    /// Pixels that are not white within [x0, x1] x [y0, y1] millimetres.
    int ink(double x0, double y0, double x1, double y1) const {
        return count(x0, y0, x1, y1, [](const GhostscriptResult::Rgb& p) { return !p.isWhite(); });
    }
    /// Pixels clearly coloured (not white, black or grey).
    int coloured(double x0, double y0, double x1, double y1) const {
        return count(x0, y0, x1, y1, [](const GhostscriptResult::Rgb& p) {
            return !p.isWhite() && p.isColoured(24);
        });
    }
    /// Pixels for which `test` holds.
    template <class Test>
    int count(double x0, double y0, double x1, double y1, Test test) const {
        int total = 0;
        forEach(x0, y0, x1, y1, [&](const GhostscriptResult::Rgb& p) { total += test(p) ? 1 : 0; });
        return total;
    }
    /// The mean colour of the inked pixels of the rectangle (white when there are none).
    GhostscriptResult::Rgb meanInk(double x0, double y0, double x1, double y1) const {
        long r = 0, g = 0, b = 0, n = 0;
        forEach(x0, y0, x1, y1, [&](const GhostscriptResult::Rgb& p) {
            if (p.isWhite()) return;
            r += p.r;
            g += p.g;
            b += p.b;
            ++n;
        });
        if (n == 0) return GhostscriptResult::Rgb{255, 255, 255};
        return GhostscriptResult::Rgb{static_cast<int>(r / n), static_cast<int>(g / n),
                                      static_cast<int>(b / n)};
    }
    /// The whole page.
    int inkAnywhere() const { return ink(0, 0, widthMm(), heightMm()); }
    double widthMm() const { return image.width * 25.4 / image.dpi; }
    double heightMm() const { return image.height * 25.4 / image.dpi; }

  private:
    template <class Visit>
    void forEach(double x0, double y0, double x1, double y1, Visit visit) const {
        const double perMm = image.dpi / 25.4;
        const int left = static_cast<int>(x0 * perMm), right = static_cast<int>(x1 * perMm);
        const int bottom = static_cast<int>(y0 * perMm), top = static_cast<int>(y1 * perMm);
        for (int x = left; x <= right; ++x)
            for (int y = bottom; y <= top; ++y) visit(image.pixel(x, image.height - 1 - y));
    }

    const GhostscriptResult::Image& image;
};
