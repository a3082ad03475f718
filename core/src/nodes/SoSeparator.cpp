#include <Tessara/actions/SoAction.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoSeparator.h>

SO_NODE_SOURCE(SoSeparator, SoGroup)

SoSeparator::SoSeparator() {
    SO_NODE_CONSTRUCTOR(SoSeparator);
}

SoSeparator::~SoSeparator() = default;

void SoSeparator::doAction(SoAction* action) {
    SoState* state = action->getState();
    state->push();
    SoGroup::doAction(action);
    state->pop();
}
