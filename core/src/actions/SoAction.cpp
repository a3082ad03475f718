#include <Tessara/actions/SoAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/base/SoPathList.h>
#include <Tessara/base/SoSceneLimits.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoNode.h>

SoType SoAction::classTypeId;
SoEnabledElementsList* SoAction::enabledElements = nullptr;
SoActionMethodList* SoAction::methods = nullptr;

void SoAction::initClass() {
    if (!classTypeId.isBad()) return;
    if (SoTypedObject::getClassTypeId().isBad()) SoTypedObject::initClass();
    enabledElements = new SoEnabledElementsList(nullptr);
    methods = new SoActionMethodList(nullptr);
    classTypeId = SoType::createType(SoTypedObject::getClassTypeId(), "SoAction");
}

void SoAction::exitClass() {
    if (classTypeId.isBad() || !SoType::removeType(classTypeId.getName())) return;
    classTypeId = SoType::badType();
    delete enabledElements;
    enabledElements = nullptr;
    delete methods;
    methods = nullptr;
}

void SoAction::addMethod(SoType nodeType, SoActionMethod method) {
    if (!methods) initClass();
    methods->addMethod(nodeType, method);
}

void SoAction::enableElement(SoType elementType, int stackIndex) {
    if (!enabledElements) initClass();
    enabledElements->enable(elementType, stackIndex);
}

SoAction::SoAction() {
    if (classTypeId.isBad()) initClass();
}

SoAction::SoAction(const SoAction& other) : SoAction() {
    useAlternateRep_ = other.useAlternateRep_;
}

SoAction& SoAction::operator=(const SoAction& other) {
    // Only what the application chose is copied; state and paths belong to one traversal.
    if (this != &other && applyDepth_ == 0) useAlternateRep_ = other.useAlternateRep_;
    return *this;
}

SoAction::~SoAction() {
    if (curPathCache_) curPathCache_->unref();
}

const SoEnabledElementsList& SoAction::getEnabledElements() const {
    return *enabledElements;
}

SoActionMethodList* SoAction::getActionMethods() {
    return methods;
}

SoState* SoAction::getState() {
    const int generation = SoEnabledElementsList::getCounter();
    if (!state_ || stateGeneration_ != generation) {
        state_ = std::make_unique<SoState>(this, getEnabledElements());
        stateGeneration_ = generation;
    }
    return state_.get();
}

void SoAction::invalidateState() {
    state_.reset();
}

void SoAction::clearApplyResult() {}

void SoAction::setUpState() {
    // A fresh state per apply: nothing of an earlier traversal leaks into this one.
    state_.reset();
    getState();
}

bool SoAction::isEnabledElement(int stackIndex) const {
    return getEnabledElements().isEnabled(stackIndex);
}

void SoAction::preDelayedTraversal() {}
void SoAction::postDelayedTraversal() {}
bool SoAction::shouldCompactPathLists() const {
    return true;
}
void SoAction::beginTraversal(SoNode* node) {
    traverse(node);
}
void SoAction::endTraversal(SoNode*) {}

void SoAction::beginApply(AppliedCode code) {
    appliedCode_ = code;
    terminated_ = false;
    depthReported_ = false;
    curPath_.clear();
    curPathDirty_ = true;
    pathDepth_ = 0;
}

void SoAction::runTraversal(SoNode* root) {
    ++applyDepth_;
    setUpState();
    beginTraversal(root);
    endTraversal(root);
    --applyDepth_;
}

namespace {

/// The reference an apply holds on what it traverses, given back also when a callback ends
/// the traversal with an exception (an export engine's failure, say).
class ApplyReference {
  public:
    explicit ApplyReference(const SoBase* base) : base_(base) { base_->ref(); }
    ~ApplyReference() { base_->unrefNoDelete(); }
    ApplyReference(const ApplyReference&) = delete;
    ApplyReference& operator=(const ApplyReference&) = delete;

  private:
    const SoBase* base_;
};

}  // namespace

void SoAction::apply(SoNode* node) {
    if (!node) {
        SoDebugError::post("SoAction::apply", "Applied to a null node");
        return;
    }
    const ApplyReference held(node);
    beginApply(NODE);
    appliedNode_ = node;
    appliedPath_ = nullptr;
    curPathCode_ = NO_PATH;
    clearApplyResult();
    runTraversal(node);
    appliedNode_ = nullptr;
}

void SoAction::applyOnePath(SoPath* path) {
    appliedPath_ = path;
    appliedNode_ = path->getHead();
    curPathCode_ = path->getLength() == 1 ? BELOW_PATH : IN_PATH;
    curPath_.clear();
    curPathDirty_ = true;
    pathDepth_ = 1;
    runTraversal(path->getHead());
}

void SoAction::apply(SoPath* path) {
    if (!path || !path->getHead()) {
        SoDebugError::post("SoAction::apply", "Applied to a null or empty path");
        return;
    }
    const ApplyReference held(path);
    beginApply(PATH);
    clearApplyResult();
    applyOnePath(path);
    appliedPath_ = nullptr;
    appliedNode_ = nullptr;
    curPathCode_ = NO_PATH;
}

void SoAction::apply(const SoPathList& pathList, int /*obeysRules*/) {
    beginApply(PATH_LIST);
    appliedPathList_ = &pathList;
    clearApplyResult();
    // Paths are traversed one after the other, each with a fresh state.
    for (int i = 0; i < pathList.getLength() && !terminated_; ++i) {
        SoPath* path = pathList[i];
        if (!path || !path->getHead()) continue;
        const ApplyReference held(path);
        applyOnePath(path);
    }
    appliedPathList_ = nullptr;
    appliedPath_ = nullptr;
    appliedNode_ = nullptr;
    curPathCode_ = NO_PATH;
}

void SoAction::traverse(SoNode* node) {
    if (terminated_ || !node) return;
    const bool isRoot = curPath_.empty();
    if (isRoot) pushEntry(node, 0, false, curPathCode_);
    SoNode* target = node;
    if (useAlternateRep_ && node->getAlternateRep()) target = node->getAlternateRep();
    if (target != node) {
        forwardTraversal(target);
    } else {
        getActionMethods()->getMethod(node->getTypeId())(this, node);
    }
    if (isRoot) popEntry(curPathCode_, pathDepth_);
}

void SoAction::traverseChildren(SoNode* parent, int first, int last) {
    const SoNodeList* children = parent->getChildren();
    if (!children) return;
    if (last >= children->getLength()) last = children->getLength() - 1;
    for (int i = first; i <= last && !terminated_; ++i) traverseChild((*children)[i], i);
}

void SoAction::traverseChild(SoNode* child, int index) {
    if (!child) return;
    const PathCode previousCode = curPathCode_;
    const int previousDepth = pathDepth_;
    PathCode code = previousCode;
    if (previousCode == IN_PATH) {
        if (appliedPath_->getIndex(pathDepth_) == index) {
            ++pathDepth_;
            code = pathDepth_ == appliedPath_->getLength() ? BELOW_PATH : IN_PATH;
        } else {
            code = OFF_PATH;
        }
    }
    if (code == OFF_PATH && !child->affectsState()) {
        pathDepth_ = previousDepth;
        return;
    }
    if (static_cast<int>(curPath_.size()) >= SoSceneLimits::maxNestingDepth) {
        skipTooDeep();
        pathDepth_ = previousDepth;
        return;
    }
    pushEntry(child, index, false, code);
    traverse(child);
    popEntry(previousCode, previousDepth);
}

// Each level costs the call stack a few frames: a graph that a program nested deeper than any
// file may be is cut there rather than overflow the stack.
void SoAction::skipTooDeep() {
    if (depthReported_) return;
    depthReported_ = true;
    SoDebugError::post("SoAction::traverse",
                       "The graph is nested more than %d levels deep: %s skips the deeper nodes",
                       SoSceneLimits::maxNestingDepth, getTypeId().getName().getString());
}

void SoAction::forwardTraversal(SoNode* node) {
    if (!node || terminated_) return;
    const PathCode previousCode = curPathCode_;
    pushEntry(node, -1, true, previousCode == IN_PATH ? OFF_PATH : previousCode);
    getActionMethods()->getMethod(node->getTypeId())(this, node);
    popEntry(previousCode, pathDepth_);
}

void SoAction::forwardTraversal(SoPath* path) {
    if (!path || path->getLength() == 0) return;
    // Continue below the current node through every node of the path, then unwind.
    const PathCode previousCode = curPathCode_;
    for (int i = 0; i < path->getLength(); ++i)
        pushEntry(path->getNode(i), path->getIndex(i), true, BELOW_PATH);
    getActionMethods()->getMethod(path->getTail()->getTypeId())(this, path->getTail());
    for (int i = 0; i < path->getLength(); ++i) popEntry(previousCode, pathDepth_);
}

void SoAction::switchToNodeTraversal(SoNode* node) {
    const PathCode previousCode = curPathCode_;
    curPathCode_ = NO_PATH;
    traverse(node);
    curPathCode_ = previousCode;
}

void SoAction::pushEntry(SoNode* node, int index, bool forwarded, PathCode code) {
    curPath_.push_back(PathEntry{node, index, forwarded});
    curPathCode_ = code;
    curPathDirty_ = true;
}

void SoAction::popEntry(PathCode previousCode, int previousDepth) {
    curPath_.pop_back();
    curPathCode_ = previousCode;
    pathDepth_ = previousDepth;
    curPathDirty_ = true;
}

SoAction::PathCode SoAction::getPathCode(int& numIndices, const int*& indices) {
    if (curPathCode_ == IN_PATH && appliedPath_ && pathDepth_ < appliedPath_->getLength()) {
        nextPathIndex_ = appliedPath_->getIndex(pathDepth_);
        numIndices = 1;
        indices = &nextPathIndex_;
    } else {
        numIndices = 0;
        indices = nullptr;
    }
    return curPathCode_;
}

const SoPath* SoAction::buildPath(bool lightOnly) {
    if (!curPathDirty_ && curPathCacheIsLight_ == lightOnly && curPathCache_) return curPathCache_;
    if (!curPathCache_) {
        curPathCache_ = new SoPath;
        curPathCache_->ref();
    }
    curPathCache_->truncate(0);
    bool first = true;
    for (const PathEntry& e : curPath_) {
        if (lightOnly && e.forwarded) continue;
        if (first)
            curPathCache_->setHead(e.node);
        else
            curPathCache_->appendUnchecked(e.node, e.index);
        first = false;
    }
    curPathDirty_ = false;
    curPathCacheIsLight_ = lightOnly;
    return curPathCache_;
}

const SoPath* SoAction::getCurPath() {
    return buildPath(false);
}

const SoPath* SoAction::getCurLightPath() {
    return buildPath(true);
}

SoNode* SoAction::getCurPathTail() {
    return curPath_.empty() ? nullptr : curPath_.back().node;
}
