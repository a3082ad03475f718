#include "SoCairoText.h"

#include <Tessara/base/SoDebugError.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "frame/SoControlCharacter.h"
#include "frame/SoFontName.h"

namespace {

/// Smaller or larger ems print nothing useful and upset the font machinery.
constexpr double minEm = 1e-3;
constexpr double maxEm = 1e5;

}  // namespace

void SoCairoText::draw(cairo_t* cr, float x, float y, float angle, const SbString& fontName,
                       double emSize, const SbString& string, int justification) {
    if (justification < 1 || justification > 3 || string.getLength() == 0) return;
    const std::string utf8 = spaced(string.getStdString());
    // cairo would stop drawing anything after a malformed string.
    if (!SbString::isValidUtf8(utf8.data(), utf8.size())) {
        SoDebugError::post("SoVectorizeCairoAction::printText2",
                           "A text that is not UTF-8 is left out");
        return;
    }
    if (!(emSize >= minEm && emSize <= maxEm)) return;
    const SoFontName name = SoFontName::of(fontName);
    cairo_save(cr);
    cairo_select_font_face(cr, name.face.empty() ? "sans-serif" : name.face.c_str(),
                           name.isItalic() ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           name.isBold() ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, emSize);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, std::isfinite(angle) ? angle : 0.0f);
    // Glyphs are drawn y down.
    cairo_scale(cr, 1.0, -1.0);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, utf8.c_str(), &extents);
    const double shift = justification == 2   ? -extents.x_advance
                         : justification == 3 ? -extents.x_advance / 2
                                              : 0.0;
    cairo_move_to(cr, shift, 0.0);
    cairo_show_text(cr, utf8.c_str());
    cairo_new_path(cr);
    cairo_restore(cr);
}

std::string SoCairoText::spaced(std::string text) {
    std::replace_if(
        text.begin(), text.end(),
        [](char c) { return SoControlCharacter::is(static_cast<unsigned char>(c)); }, ' ');
    return text;
}
