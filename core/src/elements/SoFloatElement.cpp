#include <Tessara/elements/SoFloatElement.h>

SO_ELEMENT_ABSTRACT_SOURCE(SoFloatElement, SoElement)

void SoFloatElement::set(SoState* state, int stackIndex, float value) {
    static_cast<SoFloatElement*>(getElement(state, stackIndex))->value_ = value;
}

float SoFloatElement::get(SoState* state, int stackIndex) {
    return static_cast<const SoFloatElement*>(getConstElement(state, stackIndex))->value_;
}
