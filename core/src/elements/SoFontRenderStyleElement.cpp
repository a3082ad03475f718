#include <Tessara/elements/SoFontRenderStyleElement.h>

SO_ELEMENT_SOURCE(SoFontRenderStyleElement, SoInt32Element)

void SoFontRenderStyleElement::init(SoState*) {
    value_ = static_cast<int32_t>(getDefault());
}
