#include <Tessara/elements/SoViewportRegionElement.h>

SO_ELEMENT_SOURCE(SoViewportRegionElement, SoElement)

void SoViewportRegionElement::init(SoState*) {
    value_ = SbViewportRegion();
}

void SoViewportRegionElement::set(SoState* state, SoNode*, const SbViewportRegion& value) {
    static_cast<SoViewportRegionElement*>(getElement(state, getClassStackIndex()))->value_ = value;
}

const SbViewportRegion& SoViewportRegionElement::get(SoState* state) {
    return static_cast<const SoViewportRegionElement*>(getConstElement(state, getClassStackIndex()))
        ->value_;
}
