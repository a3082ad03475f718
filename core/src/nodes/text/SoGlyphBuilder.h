#pragma once

#include <ft2build.h>

#include "SoGlyph.h"
#include FT_FREETYPE_H

#include <memory>

/// Turns a FreeType glyph outline into an SoGlyph: curves flattened into line segments,
/// contours tessellated into triangles.
class SoGlyphBuilder {
  public:
    /// `segmentsPerCurve` straight pieces replace each Bezier arc. Never null: a glyph that
    /// cannot be loaded has no ink and no advance.
    static std::shared_ptr<SoGlyph> build(FT_Face face, FT_UInt glyphIndex, int segmentsPerCurve);

  private:
    static void flatten(const FT_Outline& outline, float scale, int segments, SoGlyph& glyph);
    static void tessellate(SoGlyph& glyph);
    static void computeInk(SoGlyph& glyph);
};
