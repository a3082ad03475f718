#include <Tessara/elements/SoCreaseAngleElement.h>

SO_ELEMENT_SOURCE(SoCreaseAngleElement, SoFloatElement)

void SoCreaseAngleElement::init(SoState*) {
    value_ = getDefault();
}
