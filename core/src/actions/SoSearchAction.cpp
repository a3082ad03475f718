#include <Tessara/actions/SoSearchAction.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/nodes/SoNode.h>

SO_ACTION_SOURCE(SoSearchAction, SoAction)

void SoSearchAction::initClass() {
    SO_ACTION_INIT_CLASS(SoSearchAction, SoAction);
    if (SoNode::getClassTypeId().isBad()) SoNode::initClass();
    addMethod(SoNode::getClassTypeId(), &SoNode::callSearch);
}

SoSearchAction::SoSearchAction() {
    SO_ACTION_CONSTRUCTOR(SoSearchAction);
}

SoSearchAction::~SoSearchAction() {
    setPath(nullptr);
    if (node_) node_->unref();
}

void SoSearchAction::setNode(SoNode* node) {
    if (node) node->ref();
    if (node_) node_->unref();
    node_ = node;
    lookFor_ |= NODE;
}

void SoSearchAction::setType(SoType type, bool derivedIsOk) {
    type_ = type;
    derivedIsOk_ = derivedIsOk;
    lookFor_ |= TYPE;
}

SoType SoSearchAction::getType(bool& derivedIsOk) const {
    derivedIsOk = derivedIsOk_;
    return type_;
}

void SoSearchAction::setName(const SbName& name) {
    name_ = name;
    lookFor_ |= NAME;
}

void SoSearchAction::reset() {
    setNode(nullptr);
    lookFor_ = 0;
    type_ = SoType::badType();
    derivedIsOk_ = true;
    name_ = SbName();
    interest_ = FIRST;
    searchingAll_ = false;
    clearApplyResult();
}

void SoSearchAction::clearApplyResult() {
    found_ = false;
    setPath(nullptr);
    paths_.truncate(0);
}

void SoSearchAction::setPath(SoPath* path) {
    if (path) path->ref();
    if (path_) path_->unref();
    path_ = path;
}

void SoSearchAction::testNode(SoNode* node) {
    if (lookFor_ == 0) return;
    if ((lookFor_ & NODE) && node != node_) return;
    if (lookFor_ & TYPE) {
        if (derivedIsOk_ ? !node->isOfType(type_) : node->getTypeId() != type_) return;
    }
    if ((lookFor_ & NAME) && node->getName() != name_) return;
    SoPath* path = getCurPath()->copy();
    found_ = true;
    switch (interest_) {
        case FIRST:
            setPath(path);
            setTerminated(true);
            break;
        case LAST:
            setPath(path);
            break;
        case ALL:
            paths_.append(path);
            break;
    }
}
