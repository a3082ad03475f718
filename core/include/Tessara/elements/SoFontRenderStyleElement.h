#pragma once

#include <Tessara/elements/SoInt32Element.h>

/// How 3D text is rendered.
class SoFontRenderStyleElement : public SoInt32Element {
    SO_ELEMENT_HEADER(SoFontRenderStyleElement);

  public:
    /// TEXTURE and TEXTURE_DELAYED text produces no glyph triangles.
    enum Style { POLYGON = 0, TEXTURE = 1, TEXTURE_DELAYED = 2, POLYGON_AND_OUTLINE = 3 };
    void init(SoState* state) override;
    static void set(SoState* state, Style value) {
        SoInt32Element::set(state, getClassStackIndex(), static_cast<int32_t>(value));
    }
    static Style get(SoState* state) {
        return static_cast<Style>(SoInt32Element::get(state, getClassStackIndex()));
    }
    static Style getDefault() { return static_cast<Style>(POLYGON); }
};
