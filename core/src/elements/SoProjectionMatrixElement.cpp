#include <Tessara/elements/SoProjectionMatrixElement.h>

SO_ELEMENT_SOURCE(SoProjectionMatrixElement, SoElement)

void SoProjectionMatrixElement::init(SoState*) {
    matrix_.makeIdentity();
}

void SoProjectionMatrixElement::set(SoState* state, SoNode*, const SbMatrix& matrix) {
    static_cast<SoProjectionMatrixElement*>(getElement(state, getClassStackIndex()))->matrix_ =
        matrix;
}

const SbMatrix& SoProjectionMatrixElement::get(SoState* state) {
    return static_cast<const SoProjectionMatrixElement*>(
               getConstElement(state, getClassStackIndex()))
        ->matrix_;
}
