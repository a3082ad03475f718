#include <Tessara/elements/SoViewingMatrixElement.h>

SO_ELEMENT_SOURCE(SoViewingMatrixElement, SoElement)

void SoViewingMatrixElement::init(SoState*) {
    matrix_.makeIdentity();
}

void SoViewingMatrixElement::set(SoState* state, SoNode*, const SbMatrix& matrix) {
    static_cast<SoViewingMatrixElement*>(getElement(state, getClassStackIndex()))->matrix_ = matrix;
}

const SbMatrix& SoViewingMatrixElement::get(SoState* state) {
    return static_cast<const SoViewingMatrixElement*>(getConstElement(state, getClassStackIndex()))
        ->matrix_;
}
