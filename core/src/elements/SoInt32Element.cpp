#include <Tessara/elements/SoInt32Element.h>

SO_ELEMENT_ABSTRACT_SOURCE(SoInt32Element, SoElement)

void SoInt32Element::set(SoState* state, int stackIndex, int32_t value) {
    static_cast<SoInt32Element*>(getElement(state, stackIndex))->value_ = value;
}

int32_t SoInt32Element::get(SoState* state, int stackIndex) {
    return static_cast<const SoInt32Element*>(getConstElement(state, stackIndex))->value_;
}
