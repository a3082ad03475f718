#include <Tessara/elements/SoPatternElement.h>

SO_ELEMENT_SOURCE(SoPatternElement, SoElement)

void SoPatternElement::init(SoState*) {
    category_.makeEmpty();
    name_.makeEmpty();
    mask_ = nullptr;
}

void SoPatternElement::set(SoState* state, SoNode*, const SbString& category, const SbString& name,
                           const unsigned char* mask) {
    auto* e = static_cast<SoPatternElement*>(getElement(state, getClassStackIndex()));
    e->category_ = category;
    e->name_ = name;
    e->mask_ = mask;
}

void SoPatternElement::get(SoState* state, SbString& category, SbString& name,
                           const unsigned char*& mask) {
    const auto* e =
        static_cast<const SoPatternElement*>(getConstElement(state, getClassStackIndex()));
    category = e->category_;
    name = e->name_;
    mask = e->mask_;
}
