#include <Tessara/elements/SoLightModelElement.h>

SO_ELEMENT_SOURCE(SoLightModelElement, SoInt32Element)

void SoLightModelElement::init(SoState*) {
    value_ = static_cast<int32_t>(getDefault());
}
