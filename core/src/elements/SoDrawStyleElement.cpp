#include <Tessara/elements/SoDrawStyleElement.h>

SO_ELEMENT_SOURCE(SoDrawStyleElement, SoInt32Element)

void SoDrawStyleElement::init(SoState*) {
    value_ = static_cast<int32_t>(getDefault());
}
