#include <Tessara/elements/SoMaterialBindingElement.h>

SO_ELEMENT_SOURCE(SoMaterialBindingElement, SoInt32Element)

void SoMaterialBindingElement::init(SoState*) {
    value_ = static_cast<int32_t>(getDefault());
}
