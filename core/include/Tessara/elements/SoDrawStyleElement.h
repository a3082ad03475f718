#pragma once

#include <Tessara/elements/SoInt32Element.h>

/// How shapes are drawn: filled, as lines, as points, or not at all.
class SoDrawStyleElement : public SoInt32Element {
    SO_ELEMENT_HEADER(SoDrawStyleElement);

  public:
    enum Style { FILLED = 0, LINES = 1, POINTS = 2, INVISIBLE = 3 };
    void init(SoState* state) override;
    static void set(SoState* state, Style value) {
        SoInt32Element::set(state, getClassStackIndex(), static_cast<int32_t>(value));
    }
    static Style get(SoState* state) {
        return static_cast<Style>(SoInt32Element::get(state, getClassStackIndex()));
    }
    static Style getDefault() { return static_cast<Style>(FILLED); }
};
