#pragma once

#include <Tessara/elements/SoSubElement.h>

#include <cstdint>

/// Base of the elements that hold one integer (styles, bindings, flags).
class SoInt32Element : public SoElement {
    SO_ELEMENT_ABSTRACT_HEADER(SoInt32Element);

  public:
    static void set(SoState* state, int stackIndex, int32_t value);
    static int32_t get(SoState* state, int stackIndex);
    int32_t getValue() const { return value_; }

  protected:
    int32_t value_ = 0;
};
