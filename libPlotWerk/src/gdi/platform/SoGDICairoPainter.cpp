#include "SoGDICairoPainter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "SoGDICairoBitmap.h"
#include "SoGDICairoText.h"

// Pens follow GDI: a pen made by CreatePen is as wide as its width in logical units, and a
// width of 0 is one device dot whatever the mapping; a pen made by ExtCreatePen is one dot
// wide when cosmetic and its width in logical units when geometric. No pen is thinner than a
// dot, since a printer shows nothing thinner. Dashes are three widths on and one off for wide
// pens; a thin pen's dashes are as long as a screen's (16 and 8 pixels at 96 dots per inch),
// so that a dashed hairline stays visibly dashed on paper.

namespace {

constexpr double SCREEN_DASH_INCHES = 16.0 / 96.0;
constexpr double SCREEN_GAP_INCHES = 8.0 / 96.0;

cairo_line_cap_t capOf(DWORD style) {
    switch (style & PS_ENDCAP_MASK) {
        case PS_ENDCAP_SQUARE:
            return CAIRO_LINE_CAP_SQUARE;
        case PS_ENDCAP_FLAT:
            return CAIRO_LINE_CAP_BUTT;
        default:
            return CAIRO_LINE_CAP_ROUND;
    }
}

cairo_line_join_t joinOf(DWORD style) {
    switch (style & PS_JOIN_MASK) {
        case PS_JOIN_BEVEL:
            return CAIRO_LINE_JOIN_BEVEL;
        case PS_JOIN_MITER:
            return CAIRO_LINE_JOIN_MITER;
        default:
            return CAIRO_LINE_JOIN_ROUND;
    }
}

/// The pen's width in device dots.
double penWidth(const SoGDIObject& pen, double scale) {
    const bool cosmetic = pen.extendedPen && (pen.penStyle & PS_TYPE_MASK) != PS_GEOMETRIC;
    if (cosmetic || pen.penWidth == 0) return 1.0;
    return std::max(1.0, pen.penWidth * scale);
}

void setDash(cairo_t* cr, double width, double dotsPerInch) {
    const double screenDash = SCREEN_DASH_INCHES * dotsPerInch;
    const bool thin = 3.0 * width < screenDash;
    const double dashes[] = {thin ? screenDash : 3.0 * width,
                             thin ? SCREEN_GAP_INCHES * dotsPerInch : width};
    cairo_set_dash(cr, dashes, 2, 0.0);
}

}  // namespace

SoGDICairoPainter::SoGDICairoPainter(cairo_t* cr, const SoGDIDeviceContext& dc) : cr_(cr), dc_(dc) {
    cairo_save(cr_);
    if (dc_.clip) {
        const RECT& c = *dc_.clip;
        cairo_rectangle(cr_, c.left, c.top, std::max(0, c.right - c.left),
                        std::max(0, c.bottom - c.top));
        cairo_clip(cr_);
    }
}

SoGDICairoPainter::~SoGDICairoPainter() {
    cairo_restore(cr_);
}

void SoGDICairoPainter::setColor(cairo_t* cr, COLORREF color) {
    cairo_set_source_rgb(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         ((color >> 16) & 0xFF) / 255.0);
}

void SoGDICairoPainter::addPath(const POINT* points, int count, bool closed) {
    for (int i = 0; i < count; ++i) {
        const POINT p = dc_.toDevice(points[i]);
        if (i == 0)
            cairo_move_to(cr_, p.x, p.y);
        else
            cairo_line_to(cr_, p.x, p.y);
    }
    if (closed) cairo_close_path(cr_);
}

bool SoGDICairoPainter::usePen() {
    if (!dc_.pen || (dc_.pen->penStyle & PS_STYLE_MASK) == PS_NULL) return false;
    const SoGDIObject& pen = *dc_.pen;
    const double width = penWidth(pen, std::fabs(dc_.scaleX()));
    cairo_set_line_width(cr_, width);
    cairo_set_line_cap(cr_, capOf(pen.penStyle));
    cairo_set_line_join(cr_, joinOf(pen.penStyle));
    cairo_set_miter_limit(cr_, std::max(1.0, static_cast<double>(dc_.miterLimit)));
    if ((pen.penStyle & PS_STYLE_MASK) == PS_DASH)
        setDash(cr_, width, dc_.device->getCaps(LOGPIXELSX));
    else
        cairo_set_dash(cr_, nullptr, 0, 0.0);
    setColor(cr_, pen.color);
    return true;
}

bool SoGDICairoPainter::useBrush() {
    if (!dc_.brush || dc_.brush->brushStyle == BS_NULL) return false;
    setColor(cr_, dc_.brush->color);
    return true;
}

void SoGDICairoPainter::fillAndStroke() {
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    if (useBrush()) cairo_fill_preserve(cr_);
    if (usePen()) cairo_stroke_preserve(cr_);
    cairo_new_path(cr_);
}

void SoGDICairoPainter::polyline(const POINT* points, int count) {
    if (!points || count < 2 || !usePen()) return;
    addPath(points, count, false);
    cairo_stroke(cr_);
}

void SoGDICairoPainter::polygon(const POINT* points, int count) {
    if (!points || count < 2) return;
    addPath(points, count, true);
    fillAndStroke();
}

void SoGDICairoPainter::line(POINT from, POINT to) {
    const POINT points[] = {from, to};
    polyline(points, 2);
}

void SoGDICairoPainter::rectangle(const RECT& box) {
    POINT a = dc_.toDevice({box.left, box.top});
    POINT b = dc_.toDevice({box.right, box.bottom});
    if (a.x > b.x) std::swap(a.x, b.x);
    if (a.y > b.y) std::swap(a.y, b.y);
    // In MM_TEXT GDI leaves out the right column and the bottom row.
    if (dc_.mapMode == MM_TEXT) {
        b.x = std::max(a.x, b.x - 1);
        b.y = std::max(a.y, b.y - 1);
    }
    cairo_rectangle(cr_, a.x, a.y, double(b.x) - a.x, double(b.y) - a.y);
    fillAndStroke();
}

void SoGDICairoPainter::text(int x, int y, const std::string& utf8) {
    SoGDICairoText(cr_, dc_).draw(dc_.toDevice({x, y}), utf8);
}

void SoGDICairoPainter::stretchDIBits(const SoGDIStretch& stretch) {
    SoGDICairoBitmap::draw(cr_, dc_, stretch);
}
