#include "io/SoSceneReader.h"

#include <Tessara/base/SoNodeList.h>
#include <Tessara/base/SoSceneLimits.h>
#include <Tessara/base/SoType.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoGroup.h>
#include <Tessara/nodes/SoNode.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

const char* const kSource = "SoDB::read";

std::string describe(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) return std::string("'") + c + "'";
    char text[16];
    std::snprintf(text, sizeof(text), "byte 0x%02X", byte);
    return text;
}

// File text names classes without the "So" prefix; the full class name works too.
SoType findType(const SbName& name) {
    const SoType prefixed =
        SoType::fromName(SbName((std::string("So") + name.getString()).c_str()));
    return prefixed.isBad() ? SoType::fromName(name) : prefixed;
}

// Groups get their children through addChild so that they learn of the change; other
// nodes with children are given them through their list.
void addChild(SoNode* parent, SoNode* child) {
    if (parent->isOfType(SoGroup::getClassTypeId()))
        static_cast<SoGroup*>(parent)->addChild(child);
    else
        parent->getChildren()->append(child);
}

}  // namespace

SoSceneReader::~SoSceneReader() {
    releaseFrames();
}

void SoSceneReader::releaseFrames() {
    // Innermost first: each frame holds the only reference on its unfinished node.
    while (!stack_.empty()) {
        stack_.back().node->unref();
        stack_.pop_back();
    }
}

const char* SoSceneReader::typeNameOf(const SoNode* node) {
    const char* name = node->getTypeId().getName().getString();
    return name[0] == 'S' && name[1] == 'o' && name[2] ? name + 2 : name;
}

bool SoSceneReader::readNode(SoNode*& node) {
    node = nullptr;
    if (in_->eof()) return true;
    SbName word;
    if (!in_->read(word, true)) {
        char c = 0;
        in_->read(c);
        in_->postError(kSource, "Expected a node type name, got %s", describe(c).c_str());
        return false;
    }
    SoNode* used = nullptr;
    if (!beginNode(word, used)) return false;
    if (used) {
        if (!addTopLevelExtent(extentOf(used))) return false;
        node = used;
        return true;
    }
    if (!readBody(node)) {
        releaseFrames();
        return false;
    }
    node->unrefNoDelete();  // the caller takes the reader's reference over
    return true;
}

bool SoSceneReader::readBody(SoNode*& finished) {
    finished = nullptr;
    while (!finished) {
        Frame& top = stack_.back();
        char c = 0;
        if (!in_->read(c)) {
            in_->postError(kSource,
                           "Premature end of input: missing '}' of the %s opened at line %d, "
                           "column %d",
                           typeNameOf(top.node), top.line, top.column);
            return false;
        }
        if (c == '}') {
            if (!finishTop(finished)) return false;
            continue;
        }
        in_->putBack(c);
        if (!readFieldOrChild(top)) return false;
    }
    return true;
}

bool SoSceneReader::readFieldOrChild(Frame& top) {
    SoNode* node = top.node;
    SbName name;
    if (!in_->read(name, true)) {
        char c = 0;
        in_->read(c);
        in_->postError(kSource, "Expected a field name, a child node or '}' in %s, got %s",
                       typeNameOf(node), describe(c).c_str());
        return false;
    }
    if (SoField* field = node->getField(name)) {
        if (field->read(in_)) return true;
        in_->postError(kSource, "Cannot read the value of field \"%s\" of %s", name.getString(),
                       typeNameOf(node));
        return false;
    }
    if (!node->getChildren()) {
        in_->postError(kSource, "Unknown field \"%s\" in %s", name.getString(), typeNameOf(node));
        return false;
    }
    // `top` may move when beginNode pushes a frame; the group pointer does not.
    SoNode* used = nullptr;
    if (!beginNode(name, used)) return false;
    if (!used) return true;
    if (!addExtent(extentOf(used))) return false;
    addChild(node, used);
    return true;
}

bool SoSceneReader::readDefName(const char* keyword, SbName& name) {
    if (in_->read(name, false)) return true;
    char c = 0;
    if (in_->read(c))
        in_->postError(kSource, "Expected a name after %s, got %s", keyword, describe(c).c_str());
    else
        in_->postError(kSource, "Premature end of input: expected a name after %s", keyword);
    return false;
}

bool SoSceneReader::beginNode(const SbName& word, SoNode*& used) {
    used = nullptr;
    if (word == "USE") {
        SbName name;
        if (!readDefName("USE", name)) return false;
        SoBase* base = in_->findReference(name);
        if (!base || !base->isOfType(SoNode::getClassTypeId())) {
            in_->postError(kSource, "USE of undefined name \"%s\"", name.getString());
            return false;
        }
        used = static_cast<SoNode*>(base);
        return true;
    }
    if (word != "DEF") return beginInstance(word, SbName());
    SbName name;
    if (!readDefName("DEF", name)) return false;
    SbName typeName;
    if (!in_->read(typeName, true)) {
        in_->postError(kSource, "Expected a node type name after DEF %s", name.getString());
        return false;
    }
    return beginInstance(typeName, name);
}

bool SoSceneReader::beginInstance(const SbName& typeName, const SbName& defName) {
    const int line = in_->getLineNumber();
    const int column = in_->getColumnNumber();
    const SoType type = findType(typeName);
    if (type.isBad()) {
        in_->postError(kSource, "Unknown node type \"%s\"", typeName.getString());
        return false;
    }
    if (!type.isDerivedFrom(SoNode::getClassTypeId())) {
        in_->postError(kSource, "\"%s\" is not a node type", typeName.getString());
        return false;
    }
    if (!type.canCreateInstance()) {
        in_->postError(kSource, "Cannot create a node of abstract type \"%s\"",
                       typeName.getString());
        return false;
    }
    char c = 0;
    if (!in_->read(c) || c != '{') {
        in_->postError(kSource, "Expected '{' after %s", typeName.getString());
        return false;
    }
    if (outerLevels_ + static_cast<int>(stack_.size()) >= SoSceneLimits::maxNestingDepth) {
        in_->postError(kSource, "Nodes nested more than %d levels deep",
                       SoSceneLimits::maxNestingDepth);
        return false;
    }
    auto* node = static_cast<SoNode*>(type.createInstance());
    node->ref();
    if (!!defName) node->setName(defName);
    stack_.push_back(Frame{node, defName, line, column});
    return true;
}

bool SoSceneReader::finishTop(SoNode*& finished) {
    const Frame frame = stack_.back();
    stack_.pop_back();
    const Extent extent{frame.height + 1, frame.traversed + 1};
    // Registered only now, so a node cannot USE itself and make the graph a cycle.
    if (!!frame.defName) {
        in_->addReference(frame.defName, frame.node);
        extents_[frame.node] = extent;
    }
    if (stack_.empty()) {
        finished = frame.node;
        if (addTopLevelExtent(extent)) return true;
        frame.node->unref();
        finished = nullptr;
        return false;
    }
    addChild(stack_.back().node, frame.node);
    frame.node->unref();
    return addExtent(extent);
}

bool SoSceneReader::addExtent(const Extent& child) {
    Frame& parent = stack_.back();
    if (outerLevels_ + static_cast<int>(stack_.size()) + child.height >
        SoSceneLimits::maxNestingDepth) {
        in_->postError(kSource, "Nodes nested more than %d levels deep (through a USE)",
                       SoSceneLimits::maxNestingDepth);
        return false;
    }
    parent.height = std::max(parent.height, child.height);
    parent.traversed += child.traversed;
    // The open node and the levels above it are met as well.
    if (parent.traversed + 1 + outerLevels_ > SoSceneLimits::maxTraversedNodes) {
        in_->postError(kSource, "The scene stands for more than %.0f nodes through its USEs",
                       SoSceneLimits::maxTraversedNodes);
        return false;
    }
    return true;
}

bool SoSceneReader::addTopLevelExtent(const Extent& node) {
    traversedAtTopLevel_ += node.traversed;
    if (traversedAtTopLevel_ + outerLevels_ <= SoSceneLimits::maxTraversedNodes) return true;
    in_->postError(kSource, "The scene stands for more than %.0f nodes through its USEs",
                   SoSceneLimits::maxTraversedNodes);
    return false;
}

SoSceneReader::Extent SoSceneReader::extentOf(const SoNode* node) {
    if (auto known = extents_.find(node); known != extents_.end()) return known->second;
    Extent extent{1, 1};
    if (const SoNodeList* children = node->getChildren()) {
        for (int i = 0; i < children->getLength(); ++i) {
            const Extent child = extentOf((*children)[i]);
            extent.height = std::max(extent.height, child.height + 1);
            extent.traversed += child.traversed;
        }
    }
    extents_[node] = extent;
    return extent;
}
