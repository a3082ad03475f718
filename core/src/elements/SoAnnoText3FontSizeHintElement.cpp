#include <Tessara/elements/SoAnnoText3FontSizeHintElement.h>

SO_ELEMENT_SOURCE(SoAnnoText3FontSizeHintElement, SoInt32Element)

void SoAnnoText3FontSizeHintElement::init(SoState*) {
    value_ = static_cast<int32_t>(getDefault());
}
