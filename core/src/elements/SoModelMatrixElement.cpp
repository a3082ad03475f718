#include <Tessara/elements/SoModelMatrixElement.h>

SO_ELEMENT_SOURCE(SoModelMatrixElement, SoElement)

void SoModelMatrixElement::init(SoState*) {
    matrix_.makeIdentity();
}

void SoModelMatrixElement::makeIdentity(SoState* state, SoNode*) {
    static_cast<SoModelMatrixElement*>(getElement(state, getClassStackIndex()))
        ->matrix_.makeIdentity();
}

void SoModelMatrixElement::set(SoState* state, SoNode*, const SbMatrix& matrix) {
    static_cast<SoModelMatrixElement*>(getElement(state, getClassStackIndex()))->matrix_ = matrix;
}

void SoModelMatrixElement::mult(SoState* state, SoNode*, const SbMatrix& matrix) {
    static_cast<SoModelMatrixElement*>(getElement(state, getClassStackIndex()))
        ->matrix_.multLeft(matrix);
}

void SoModelMatrixElement::translateBy(SoState* state, SoNode* node, const SbVec3f& translation) {
    SbMatrix m;
    m.setTranslate(translation);
    mult(state, node, m);
}

void SoModelMatrixElement::rotateBy(SoState* state, SoNode* node, const SbRotation& rotation) {
    SbMatrix m;
    m.setRotate(rotation);
    mult(state, node, m);
}

void SoModelMatrixElement::scaleBy(SoState* state, SoNode* node, const SbVec3f& scaleFactor) {
    SbMatrix m;
    m.setScale(scaleFactor);
    mult(state, node, m);
}

const SbMatrix& SoModelMatrixElement::get(SoState* state) {
    return static_cast<const SoModelMatrixElement*>(getConstElement(state, getClassStackIndex()))
        ->matrix_;
}
