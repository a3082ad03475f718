#pragma once

#include <Tessara/elements/SoFloatElement.h>

/// Tessellation fineness of curved shapes, 0 to 1.
class SoComplexityElement : public SoFloatElement {
    SO_ELEMENT_HEADER(SoComplexityElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, float value) {
        SoFloatElement::set(state, getClassStackIndex(), value);
    }
    static float get(SoState* state) { return SoFloatElement::get(state, getClassStackIndex()); }
    static float getDefault() { return 0.5f; }
};
