#include <Tessara/elements/SoComplexityTypeElement.h>

SO_ELEMENT_SOURCE(SoComplexityTypeElement, SoInt32Element)

void SoComplexityTypeElement::init(SoState*) {
    value_ = static_cast<int32_t>(getDefault());
}
