#include <Tessara/elements/SoLineWidthElement.h>

SO_ELEMENT_SOURCE(SoLineWidthElement, SoFloatElement)

void SoLineWidthElement::init(SoState*) {
    value_ = getDefault();
}
