#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoModelMatrixElement.h>
#include <Tessara/nodes/SoTransformation.h>

SO_NODE_ABSTRACT_SOURCE(SoTransformation, SoNode)

SoTransformation::SoTransformation() {
    SO_NODE_CONSTRUCTOR(SoTransformation);
}

SoTransformation::~SoTransformation() = default;

void SoTransformation::doAction(SoAction* action) {
    SoModelMatrixElement::mult(action->getState(), this, getMatrix());
}
