#include <Tessara/elements/SoLinePatternElement.h>

SO_ELEMENT_SOURCE(SoLinePatternElement, SoElement)

void SoLinePatternElement::init(SoState*) {
    pattern_ = CONTINUOUS;
    scaleFactor_ = 1;
}

void SoLinePatternElement::set(SoState* state, SoNode*, unsigned short pattern, int scaleFactor) {
    auto* e = static_cast<SoLinePatternElement*>(getElement(state, getClassStackIndex()));
    e->pattern_ = pattern;
    e->scaleFactor_ = scaleFactor;
}

unsigned short SoLinePatternElement::get(SoState* state) {
    return static_cast<const SoLinePatternElement*>(getConstElement(state, getClassStackIndex()))
        ->pattern_;
}

int SoLinePatternElement::getScaleFactor(SoState* state) {
    return static_cast<const SoLinePatternElement*>(getConstElement(state, getClassStackIndex()))
        ->scaleFactor_;
}
