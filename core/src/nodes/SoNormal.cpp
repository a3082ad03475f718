#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoNormalElement.h>
#include <Tessara/nodes/SoNormal.h>

SO_NODE_SOURCE(SoNormal, SoNode)

SoNormal::SoNormal() {
    SO_NODE_CONSTRUCTOR(SoNormal);
    addField("vector", vector);
}

SoNormal::~SoNormal() = default;

void SoNormal::doAction(SoAction* action) {
    SoNormalElement::set(action->getState(), this, vector.getNum(),
                         vector.getNum() ? vector.getValues(0) : nullptr);
}
