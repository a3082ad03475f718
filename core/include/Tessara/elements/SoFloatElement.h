#pragma once

#include <Tessara/elements/SoSubElement.h>

/// Base of the elements that hold one float (widths, sizes, angles).
class SoFloatElement : public SoElement {
    SO_ELEMENT_ABSTRACT_HEADER(SoFloatElement);

  public:
    static void set(SoState* state, int stackIndex, float value);
    static float get(SoState* state, int stackIndex);
    float getValue() const { return value_; }

  protected:
    float value_ = 0.0f;
};
