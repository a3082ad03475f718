#include <Tessara/actions/SoSearchAction.h>
#include <Tessara/elements/SoSwitchElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoSwitch.h>

SO_NODE_SOURCE(SoSwitch, SoGroup)

SoSwitch::SoSwitch() {
    SO_NODE_CONSTRUCTOR(SoSwitch);
    addField("whichChild", whichChild);
}

SoSwitch::~SoSwitch() = default;

void SoSwitch::doAction(SoAction* action) {
    SoState* state = action->getState();
    int which = whichChild.getValue();
    if (which == SO_SWITCH_INHERIT)
        which = SoSwitchElement::get(state);
    else
        SoSwitchElement::set(state, which);
    if (which == SO_SWITCH_ALL) {
        SoGroup::doAction(action);
        return;
    }
    if (which < 0) return;
    if (which >= getNumChildren()) {
        SoDebugError::postWarning("SoSwitch::doAction", "whichChild %d is out of range 0..%d",
                                  which, getNumChildren() - 1);
        return;
    }
    int numIndices = 0;
    const int* indices = nullptr;
    // On a path, the chosen child is traversed only when the path goes through it.
    if (action->getPathCode(numIndices, indices) == SoAction::IN_PATH &&
        (numIndices == 0 || indices[numIndices - 1] < which))
        return;
    action->traverseChildren(this, which, which);
}

void SoSwitch::search(SoSearchAction* action) {
    if (!action->isSearchingAll()) {
        SoNode::search(action);
        return;
    }
    action->testNode(this);
    if (!action->hasTerminated()) action->traverseChildren(this, 0, getNumChildren() - 1);
}
