#include <Tessara/elements/SoAnnoText3CharOrientElement.h>

SO_ELEMENT_SOURCE(SoAnnoText3CharOrientElement, SoInt32Element)

void SoAnnoText3CharOrientElement::init(SoState*) {
    value_ = static_cast<int32_t>(getDefault());
}
