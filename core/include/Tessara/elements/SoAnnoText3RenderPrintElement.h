#pragma once

#include <Tessara/elements/SoInt32Element.h>

/// How annotation text is printed: as 3D glyphs, or as 2D text.
class SoAnnoText3RenderPrintElement : public SoInt32Element {
    SO_ELEMENT_HEADER(SoAnnoText3RenderPrintElement);

  public:
    enum RenderPrintType {
        RENDER3D_PRINT_VECTOR = 0,
        RENDER2D_PRINT_RASTER = 1,
        RENDER3D_PRINT_RASTER = 2
    };
    void init(SoState* state) override;
    static void set(SoState* state, RenderPrintType value) {
        SoInt32Element::set(state, getClassStackIndex(), static_cast<int32_t>(value));
    }
    static RenderPrintType get(SoState* state) {
        return static_cast<RenderPrintType>(SoInt32Element::get(state, getClassStackIndex()));
    }
    static RenderPrintType getDefault() {
        return static_cast<RenderPrintType>(RENDER2D_PRINT_RASTER);
    }
};
