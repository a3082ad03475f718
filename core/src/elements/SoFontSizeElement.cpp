#include <Tessara/elements/SoFontSizeElement.h>

SO_ELEMENT_SOURCE(SoFontSizeElement, SoFloatElement)

void SoFontSizeElement::init(SoState*) {
    value_ = getDefault();
}
