#include <Tessara/elements/SoComplexityElement.h>

SO_ELEMENT_SOURCE(SoComplexityElement, SoFloatElement)

void SoComplexityElement::init(SoState*) {
    value_ = getDefault();
}
