#include <Tessara/elements/SoSwitchElement.h>

SO_ELEMENT_SOURCE(SoSwitchElement, SoInt32Element)

void SoSwitchElement::init(SoState*) {
    value_ = -1;
}
