#include <Tessara/elements/SoAnnoText3RenderPrintElement.h>

SO_ELEMENT_SOURCE(SoAnnoText3RenderPrintElement, SoInt32Element)

void SoAnnoText3RenderPrintElement::init(SoState*) {
    value_ = static_cast<int32_t>(getDefault());
}
