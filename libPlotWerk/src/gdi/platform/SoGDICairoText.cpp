#include "SoGDICairoText.h"

#include <Tessara/base/SbString.h>

#include <algorithm>
#include <cmath>

#include "SoGDICairoPainter.h"

// Faces are found by name through cairo's font selection (fontconfig on Linux), which puts a
// metric-compatible or similar face in for a Windows name ("Arial") that is not installed.
// GDI's SYSTEM_FONT has no face of its own here: it prints in the sans-serif face.
//
// A font's height is GDI's: negative, the em size; positive, the cell (ascent plus descent);
// zero, a default of 12 points. Escapement turns the baseline counter-clockwise as the page is
// seen, whichever way the mapping's y axis points.

namespace {

constexpr double DEFAULT_EM_POINTS = 12.0;
/// Smaller or larger ems print nothing useful and upset the font machinery.
constexpr double MIN_EM_DOTS = 0.1;
constexpr double MAX_EM_DOTS = 1.0e5;
constexpr double PI = 3.14159265358979323846;
/// GDI's default background colour; the layer has no SetBkColor.
constexpr COLORREF BACKGROUND = 0xFFFFFF;

bool isHigh(char16_t u) {
    return u >= 0xD800 && u < 0xDC00;
}

bool isLow(char16_t u) {
    return u >= 0xDC00 && u < 0xE000;
}

}  // namespace

// The core's strings convert, so that text means the same in every part of the library.
std::string SoGDICairoText::fromLatin1(const std::string& bytes) {
    return SbString::fromLatin1(bytes.c_str()).getStdString();
}

std::string SoGDICairoText::fromUtf16(const std::u16string& units) {
    return SbString::fromUtf16(units.c_str()).getStdString();
}

std::vector<double> SoGDICairoText::advances(const SoGDIDeviceContext& dc,
                                             const std::u16string& units) {
    std::vector<double> advance(units.size(), 0.0);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(surface);
    SoGDICairoText text(cr, dc);
    text.selectFace();
    cairo_set_font_size(cr, text.emSize());
    const double perDot = 1.0 / std::max(std::fabs(dc.scaleX()), 1e-9);
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (isLow(units[i]) && i > 0 && isHigh(units[i - 1])) continue;
        const bool pair = isHigh(units[i]) && i + 1 < units.size() && isLow(units[i + 1]);
        cairo_text_extents_t extents;
        cairo_text_extents(cr, fromUtf16(units.substr(i, pair ? 2 : 1)).c_str(), &extents);
        advance[i] = extents.x_advance * perDot;
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return advance;
}

void SoGDICairoText::selectFace() {
    const SoGDIObject* font = dc_.font.get();
    std::string face = font ? font->faceName : std::string();
    if (face.empty() || (font && font->isStock())) face = "sans-serif";
    const bool italic = font && font->italic;
    const bool bold = font && font->weight >= 600;
    cairo_select_font_face(cr_, face.c_str(),
                           italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
}

double SoGDICairoText::emSize() {
    const LONG height = dc_.font ? dc_.font->height : 0;
    double em = DEFAULT_EM_POINTS / 72.0 * dc_.device->getCaps(LOGPIXELSY);
    if (height != 0) em = std::fabs(double(height)) * std::fabs(dc_.scaleY());
    if (height > 0) {
        // A cell height: scale by the face's em per cell.
        cairo_set_font_size(cr_, 1.0);
        cairo_font_extents_t unit;
        cairo_font_extents(cr_, &unit);
        if (unit.ascent + unit.descent > 0) em /= unit.ascent + unit.descent;
    }
    return std::clamp(em, MIN_EM_DOTS, MAX_EM_DOTS);
}

void SoGDICairoText::alignment(double advance, const cairo_font_extents_t& font, double& dx,
                               double& dy) const {
    const UINT horizontal = dc_.textAlign & TA_CENTER;
    dx = horizontal == TA_CENTER ? -advance / 2 : horizontal == TA_RIGHT ? -advance : 0.0;
    const UINT vertical = dc_.textAlign & TA_BASELINE;
    dy = vertical == TA_BASELINE ? 0.0 : vertical == TA_BOTTOM ? -font.descent : font.ascent;
}

void SoGDICairoText::draw(POINT reference, const std::string& utf8) {
    if (utf8.empty()) return;
    selectFace();
    cairo_set_font_size(cr_, emSize());
    cairo_font_extents_t font;
    cairo_font_extents(cr_, &font);
    cairo_text_extents_t text;
    cairo_text_extents(cr_, utf8.c_str(), &text);
    double dx = 0, dy = 0;
    alignment(text.x_advance, font, dx, dy);

    cairo_translate(cr_, reference.x, reference.y);
    const LONG escapement = dc_.font ? dc_.font->escapement : 0;
    cairo_rotate(cr_, -(escapement % 3600) / 10.0 * PI / 180.0);
    if (dc_.bkMode == OPAQUE) {
        SoGDICairoPainter::setColor(cr_, BACKGROUND);
        cairo_rectangle(cr_, dx, dy - font.ascent, text.x_advance, font.ascent + font.descent);
        cairo_fill(cr_);
    }
    SoGDICairoPainter::setColor(cr_, dc_.textColor);
    cairo_move_to(cr_, dx, dy);
    cairo_show_text(cr_, utf8.c_str());
}
