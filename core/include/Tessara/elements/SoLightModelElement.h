#pragma once

#include <Tessara/elements/SoInt32Element.h>

/// Whether shapes are lit (PHONG) or drawn in their diffuse colour (BASE_COLOR).
class SoLightModelElement : public SoInt32Element {
    SO_ELEMENT_HEADER(SoLightModelElement);

  public:
    enum Model { BASE_COLOR = 0, PHONG = 1, PER_PIXEL_PHONG = 2 };
    void init(SoState* state) override;
    static void set(SoState* state, Model value) {
        SoInt32Element::set(state, getClassStackIndex(), static_cast<int32_t>(value));
    }
    static Model get(SoState* state) {
        return static_cast<Model>(SoInt32Element::get(state, getClassStackIndex()));
    }
    static Model getDefault() { return static_cast<Model>(PHONG); }
};
