#pragma once

#include <Tessara/elements/SoFloatElement.h>

/// Line width in points; 0 is the thinnest line of the device.
class SoLineWidthElement : public SoFloatElement {
    SO_ELEMENT_HEADER(SoLineWidthElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, float value) {
        SoFloatElement::set(state, getClassStackIndex(), value);
    }
    static float get(SoState* state) { return SoFloatElement::get(state, getClassStackIndex()); }
    static float getDefault() { return 0.0f; }
};
