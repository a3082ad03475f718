#include <Tessara/elements/SoNormalBindingElement.h>

SO_ELEMENT_SOURCE(SoNormalBindingElement, SoInt32Element)

void SoNormalBindingElement::init(SoState*) {
    value_ = static_cast<int32_t>(getDefault());
}
