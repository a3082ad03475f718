#pragma once

#include <PlotWerk/SoGDIPlatform.h>
#include <cairo.h>

#include <string>
#include <vector>

#include "SoGDIDeviceContext.h"

/// One TextOut on a cairo page with GDI's meaning: the context's font (face, weight, italic,
/// height, escapement), text colour, alignment and background mode.
class SoGDICairoText {
  public:
    SoGDICairoText(cairo_t* cr, const SoGDIDeviceContext& dc) : cr_(cr), dc_(dc) {}

    /// Draws UTF-8 text at the reference point, in device dots.
    void draw(POINT reference, const std::string& utf8);

    /// The advance of each UTF-16 unit of `units` in the context's font, in logical units (0
    /// for the second unit of a pair): where the face puts each character.
    static std::vector<double> advances(const SoGDIDeviceContext& dc, const std::u16string& units);

    /// TextOutA's bytes (Latin-1) as UTF-8.
    static std::string fromLatin1(const std::string& bytes);
    /// TextOutW's code units (UTF-16) as UTF-8; a lone surrogate becomes U+FFFD.
    static std::string fromUtf16(const std::u16string& units);

  private:
    void selectFace();
    /// The em size in dots that the font's height asks for.
    double emSize();
    /// Where the text starts, relative to the reference point along the baseline and across.
    void alignment(double advance, const cairo_font_extents_t& font, double& dx, double& dy) const;

    cairo_t* cr_;
    const SoGDIDeviceContext& dc_;
};
