#include <Tessara/elements/SoViewVolumeElement.h>

SO_ELEMENT_SOURCE(SoViewVolumeElement, SoElement)

void SoViewVolumeElement::init(SoState*) {
    value_.ortho(-1, 1, -1, 1, 1, 10);
}

void SoViewVolumeElement::set(SoState* state, SoNode*, const SbViewVolume& value) {
    static_cast<SoViewVolumeElement*>(getElement(state, getClassStackIndex()))->value_ = value;
}

const SbViewVolume& SoViewVolumeElement::get(SoState* state) {
    return static_cast<const SoViewVolumeElement*>(getConstElement(state, getClassStackIndex()))
        ->value_;
}
