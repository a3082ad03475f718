#pragma once

#include <Tessara/elements/SoFloatElement.h>

/// Font size in points (2D text) or object units (3D text).
class SoFontSizeElement : public SoFloatElement {
    SO_ELEMENT_HEADER(SoFontSizeElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, float value) {
        SoFloatElement::set(state, getClassStackIndex(), value);
    }
    static float get(SoState* state) { return SoFloatElement::get(state, getClassStackIndex()); }
    static float getDefault() { return 10.0f; }
};
