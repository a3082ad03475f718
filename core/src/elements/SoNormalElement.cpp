#include <Tessara/elements/SoNormalElement.h>

SO_ELEMENT_SOURCE(SoNormalElement, SoElement)

void SoNormalElement::init(SoState*) {
    num_ = 0;
    normals_ = nullptr;
}

void SoNormalElement::set(SoState* state, SoNode*, int num, const SbVec3f* normals) {
    auto* e = static_cast<SoNormalElement*>(getElement(state, getClassStackIndex()));
    e->num_ = normals ? num : 0;
    e->normals_ = normals;
}

const SoNormalElement* SoNormalElement::getInstance(SoState* state) {
    return static_cast<const SoNormalElement*>(getConstElement(state, getClassStackIndex()));
}
