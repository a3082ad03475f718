#include <Tessara/actions/SoAction.h>
#include <Tessara/nodes/SoGroup.h>

SO_NODE_SOURCE(SoGroup, SoNode)

SoGroup::SoGroup() {
    SO_NODE_CONSTRUCTOR(SoGroup);
}

SoGroup::~SoGroup() = default;

void SoGroup::addChild(SoNode* child) {
    if (!child) {
        SoDebugError::post("SoGroup::addChild", "A null child cannot be added");
        return;
    }
    children_.append(child);
    fieldChanged(nullptr);
}

void SoGroup::insertChild(SoNode* child, int newChildIndex) {
    if (!child) {
        SoDebugError::post("SoGroup::insertChild", "A null child cannot be inserted");
        return;
    }
    children_.insert(child, newChildIndex);
    fieldChanged(nullptr);
}

SoNode* SoGroup::getChild(int index) const {
    return children_[index];
}

int SoGroup::findChild(const SoNode* child) const {
    return children_.find(child);
}

void SoGroup::removeChild(int index) {
    children_.remove(index);
    fieldChanged(nullptr);
}

void SoGroup::removeChild(SoNode* child) {
    const int index = findChild(child);
    if (index < 0) {
        SoDebugError::post("SoGroup::removeChild", "The node is not a child of this group");
        return;
    }
    removeChild(index);
}

void SoGroup::removeAllChildren() {
    children_.truncate(0);
    fieldChanged(nullptr);
}

void SoGroup::replaceChild(int index, SoNode* newChild) {
    if (!newChild) {
        SoDebugError::post("SoGroup::replaceChild", "A child cannot be replaced by null");
        return;
    }
    children_.set(index, newChild);
    fieldChanged(nullptr);
}

void SoGroup::replaceChild(SoNode* oldChild, SoNode* newChild) {
    const int index = findChild(oldChild);
    if (index < 0) {
        SoDebugError::post("SoGroup::replaceChild", "The node is not a child of this group");
        return;
    }
    replaceChild(index, newChild);
}

void SoGroup::doAction(SoAction* action) {
    int numIndices = 0;
    const int* indices = nullptr;
    int last = getNumChildren() - 1;
    // On the path, children after the last one the path goes through cannot matter.
    if (action->getPathCode(numIndices, indices) == SoAction::IN_PATH && numIndices > 0)
        last = indices[numIndices - 1];
    action->traverseChildren(this, 0, last);
}
