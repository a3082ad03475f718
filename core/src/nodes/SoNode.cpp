#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/actions/SoSearchAction.h>
#include <Tessara/nodes/SoNode.h>

SO_NODE_ABSTRACT_SOURCE(SoNode, SoBase)

SoNode::SoNode() {
    SO_NODE_CONSTRUCTOR(SoNode);
}

SoNode::~SoNode() = default;

void SoNode::doAction(SoAction*) {}

void SoNode::callback(SoCallbackAction* action) {
    doAction(action);
}

void SoNode::getBoundingBox(SoGetBoundingBoxAction* action) {
    doAction(action);
}

void SoNode::search(SoSearchAction* action) {
    action->testNode(this);
    if (!action->hasTerminated()) doAction(action);
}

void SoNode::callDoAction(SoAction* action, SoNode* node) {
    node->doAction(action);
}

void SoNode::callCallback(SoAction* action, SoNode* node) {
    auto* cba = static_cast<SoCallbackAction*>(action);
    cba->invokePreCallbacks(node);
    if (cba->getCurrentResponse() == SoCallbackAction::CONTINUE) node->callback(cba);
    if (cba->getCurrentResponse() != SoCallbackAction::ABORT) cba->invokePostCallbacks(node);
}

void SoNode::callGetBoundingBox(SoAction* action, SoNode* node) {
    node->getBoundingBox(static_cast<SoGetBoundingBoxAction*>(action));
}

void SoNode::callSearch(SoAction* action, SoNode* node) {
    node->search(static_cast<SoSearchAction*>(action));
}
