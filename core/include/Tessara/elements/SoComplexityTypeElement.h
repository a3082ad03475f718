#pragma once

#include <Tessara/elements/SoInt32Element.h>

/// How the complexity value is interpreted.
class SoComplexityTypeElement : public SoInt32Element {
    SO_ELEMENT_HEADER(SoComplexityTypeElement);

  public:
    enum Type { OBJECT_SPACE = 0, SCREEN_SPACE = 1, BOUNDING_BOX = 2 };
    void init(SoState* state) override;
    static void set(SoState* state, Type value) {
        SoInt32Element::set(state, getClassStackIndex(), static_cast<int32_t>(value));
    }
    static Type get(SoState* state) {
        return static_cast<Type>(SoInt32Element::get(state, getClassStackIndex()));
    }
    static Type getDefault() { return static_cast<Type>(OBJECT_SPACE); }
};
