#include <Tessara/elements/SoPointSizeElement.h>

SO_ELEMENT_SOURCE(SoPointSizeElement, SoFloatElement)

void SoPointSizeElement::init(SoState*) {
    value_ = getDefault();
}
