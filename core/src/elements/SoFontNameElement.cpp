#include <Tessara/elements/SoFontNameElement.h>

#include "nodes/text/SoFontLibrary.h"

SO_ELEMENT_SOURCE(SoFontNameElement, SoElement)

void SoFontNameElement::init(SoState*) {
    value_ = SbName("defaultFont");
}

void SoFontNameElement::set(SoState* state, SoNode*, const SbName& value) {
    static_cast<SoFontNameElement*>(getElement(state, getClassStackIndex()))->value_ = value;
}

const SbName& SoFontNameElement::get(SoState* state) {
    return static_cast<const SoFontNameElement*>(getConstElement(state, getClassStackIndex()))
        ->value_;
}

SbString SoFontNameElement::getFontServerFontName() {
    return SoFontLibrary::instance().getDefaultFamilyName();
}
