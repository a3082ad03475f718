#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/nodes/SoNode.h>

SoType SoPath::classTypeId;

void SoPath::initClass() {
    if (!classTypeId.isBad()) return;
    if (SoBase::getClassTypeId().isBad()) SoBase::initClass();
    classTypeId = SoType::createType(SoBase::getClassTypeId(), "SoPath");
}

void SoPath::exitClass() {
    if (!classTypeId.isBad() && SoType::removeType(classTypeId.getName()))
        classTypeId = SoType::badType();
}

SoPath::SoPath(SoNode* head) {
    if (head) setHead(head);
}

SoPath::~SoPath() {
    truncate(0);
}

void SoPath::setHead(SoNode* head) {
    if (head) head->ref();
    truncate(0);
    if (!head) return;
    nodes_.push_back(head);
    indices_.push_back(0);
}

SoNode* SoPath::getNode(int i) const {
    if (i < 0 || i >= getLength()) {
        SoDebugError::post("SoPath::getNode", "Index %d out of range 0..%d", i, getLength() - 1);
        return nullptr;
    }
    return nodes_[i];
}

int SoPath::getIndex(int i) const {
    if (i < 0 || i >= getLength()) {
        SoDebugError::post("SoPath::getIndex", "Index %d out of range 0..%d", i, getLength() - 1);
        return -1;
    }
    return indices_[i];
}

bool SoPath::append(int childIndex) {
    SoNode* tail = getTail();
    const SoNodeList* children = tail ? tail->getChildren() : nullptr;
    if (!children || childIndex < 0 || childIndex >= children->getLength()) {
        SoDebugError::post("SoPath::append", "The tail has no child %d", childIndex);
        return false;
    }
    appendUnchecked((*children)[childIndex], childIndex);
    return true;
}

bool SoPath::append(SoNode* child) {
    SoNode* tail = getTail();
    const SoNodeList* children = tail ? tail->getChildren() : nullptr;
    const int index = children ? children->find(child) : -1;
    if (index < 0) {
        SoDebugError::post("SoPath::append", "The node is not a child of the path's tail");
        return false;
    }
    appendUnchecked(child, index);
    return true;
}

void SoPath::appendUnchecked(SoNode* node, int childIndex) {
    if (!node) return;
    node->ref();
    nodes_.push_back(node);
    indices_.push_back(childIndex);
}

void SoPath::truncate(int length) {
    if (length < 0) length = 0;
    while (getLength() > length) {
        SoNode* node = nodes_.back();
        nodes_.pop_back();
        indices_.pop_back();
        node->unref();
    }
}

SoPath* SoPath::copy(int startFromNodeIndex, int numNodes) const {
    auto* result = new SoPath;
    if (startFromNodeIndex < 0 || startFromNodeIndex >= getLength()) return result;
    int end = numNodes > 0 ? startFromNodeIndex + numNodes : getLength();
    if (end > getLength()) end = getLength();
    for (int i = startFromNodeIndex; i < end; ++i)
        result->appendUnchecked(nodes_[i], i == startFromNodeIndex ? 0 : indices_[i]);
    return result;
}

bool SoPath::containsNode(const SoNode* node) const {
    for (const SoNode* n : nodes_)
        if (n == node) return true;
    return false;
}

int SoPath::findFork(const SoPath* other) const {
    int fork = -1;
    for (int i = 0; i < getLength() && i < other->getLength(); ++i) {
        if (nodes_[i] != other->nodes_[i] || (i > 0 && indices_[i] != other->indices_[i])) break;
        fork = i;
    }
    return fork;
}

bool SoPath::operator==(const SoPath& other) const {
    return nodes_ == other.nodes_ &&
           (nodes_.empty() ||
            std::equal(indices_.begin() + 1, indices_.end(), other.indices_.begin() + 1));
}
