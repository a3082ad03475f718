#include <Tessara/elements/SoCoordinateElement.h>

SO_ELEMENT_SOURCE(SoCoordinateElement, SoElement)

namespace {
const SbVec3f defaultCoordinate(0, 0, 0);
}

void SoCoordinateElement::init(SoState*) {
    num_ = 1;
    coords_ = &defaultCoordinate;
}

void SoCoordinateElement::set3(SoState* state, SoNode*, int num, const SbVec3f* coords) {
    auto* e = static_cast<SoCoordinateElement*>(getElement(state, getClassStackIndex()));
    e->num_ = coords ? num : 0;
    e->coords_ = coords;
}

const SoCoordinateElement* SoCoordinateElement::getInstance(SoState* state) {
    return static_cast<const SoCoordinateElement*>(getConstElement(state, getClassStackIndex()));
}
