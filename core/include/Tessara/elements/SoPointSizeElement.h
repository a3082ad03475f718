#pragma once

#include <Tessara/elements/SoFloatElement.h>

/// Point size in points; 0 is the smallest dot of the device.
class SoPointSizeElement : public SoFloatElement {
    SO_ELEMENT_HEADER(SoPointSizeElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, float value) {
        SoFloatElement::set(state, getClassStackIndex(), value);
    }
    static float get(SoState* state) { return SoFloatElement::get(state, getClassStackIndex()); }
    static float getDefault() { return 0.0f; }
};
