#pragma once

#include <Tessara/elements/SoInt32Element.h>

/// The choice of the last switch traversed, for switches that inherit it.
class SoSwitchElement : public SoInt32Element {
    SO_ELEMENT_HEADER(SoSwitchElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, int32_t which) {
        SoInt32Element::set(state, getClassStackIndex(), which);
    }
    static int32_t get(SoState* state) { return SoInt32Element::get(state, getClassStackIndex()); }
};
