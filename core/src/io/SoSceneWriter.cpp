#include "io/SoSceneWriter.h"

#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/fields/SoField.h>
#include <Tessara/io/SoOutput.h>
#include <Tessara/nodes/SoNode.h>

#include <map>

namespace {

const char* typeNameOf(const SoNode* node) {
    const char* name = node->getTypeId().getName().getString();
    return name[0] == 'S' && name[1] == 'o' && name[2] ? name + 2 : name;
}

// A name the reader takes back after DEF as it is.
bool isWritableName(const std::string& name) {
    if (name.empty() || name[0] == '#' || !SbName::isBaseNameStartChar(name[0])) return false;
    for (const char c : name)
        if (!SbName::isBaseNameChar(c)) return false;
    return true;
}

bool hasFieldsToWrite(const SoNode* node) {
    for (int i = 0; i < node->getNumFields(); ++i)
        if (!node->getFieldAt(i)->isDefault()) return true;
    return false;
}

}  // namespace

void SoSceneWriter::writeGraph(SoNode* root, const SoPath* path) {
    if (!root) return;
    plan(root, path);
    assignNames();
    emit(root);
}

void SoSceneWriter::collectChildren(SoNode* node, int pathLevel, const SoPath* path,
                                    std::vector<std::pair<SoNode*, int>>& children) const {
    children.clear();
    const SoNodeList* list = node->getChildren();
    if (!list) return;
    const int count = list->getLength();
    if (pathLevel >= 0 && pathLevel + 1 < path->getLength()) {
        const int next = path->getIndex(pathLevel + 1);
        if (next >= 0 && next < count && (*list)[next] == path->getNode(pathLevel + 1)) {
            // What a traversal of the path visits: earlier siblings only when they change
            // the state the path's nodes see.
            for (int i = 0; i < next; ++i)
                if ((*list)[i]->affectsState()) children.emplace_back((*list)[i], -1);
            children.emplace_back((*list)[next], pathLevel + 1);
            return;
        }
        SoDebugError::postWarning("SoWriteAction::apply",
                                  "The path no longer matches the children of a %s; writing "
                                  "that node whole",
                                  typeNameOf(node));
    }
    for (int i = 0; i < count; ++i) children.emplace_back((*list)[i], -1);
}

void SoSceneWriter::plan(SoNode* root, const SoPath* path) {
    std::vector<std::pair<SoNode*, int>> stack{{root, path ? 0 : -1}};
    std::vector<std::pair<SoNode*, int>> children;
    while (!stack.empty()) {
        const auto [node, pathLevel] = stack.back();
        stack.pop_back();
        Info& info = infos_[node];
        if (++info.uses > 1) continue;  // a USE: its content is written once
        order_.push_back(node);
        collectChildren(node, pathLevel, path, children);
        for (const auto& child : children) info.children.push_back(child.first);
        for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(*it);
    }
}

std::string SoSceneWriter::generateName() {
    for (;;) {
        const std::string name = "_" + std::to_string(nextGeneratedName_++);
        if (takenNames_.insert(name).second) return name;
    }
}

void SoSceneWriter::assignNames() {
    std::map<std::string, int> nodesByName;
    for (const SoNode* node : order_) {
        const std::string name = node->getName().getString();
        if (!name.empty()) ++nodesByName[name];
        takenNames_.insert(name);
    }
    for (const SoNode* node : order_) {
        Info& info = infos_[node];
        const std::string name = node->getName().getString();
        const bool writable = isWritableName(name);
        if (!name.empty() && !writable)
            SoDebugError::postWarning("SoWriteAction::apply",
                                      "Node name \"%s\" cannot be written in a scene file",
                                      name.c_str());
        if (info.uses > 1) {
            // A shared node needs a name that no other node of the graph carries, or a USE
            // could be read as the wrong node.
            const bool unique = writable && nodesByName[name] == 1;
            info.defName = SbName((unique ? name : generateName()).c_str());
        } else if (writable) {
            info.defName = node->getName();
        }
    }
}

bool SoSceneWriter::openNode(SoNode* node, Info& info) {
    if (!!info.defName) {
        out_->write("DEF ");
        out_->write(info.defName.getString());
        out_->write(' ');
    }
    out_->write(typeNameOf(node));
    if (!hasFieldsToWrite(node) && info.children.empty()) {
        out_->write(" { }");
        return false;
    }
    out_->write(" {");
    out_->incrementIndent();
    for (int i = 0; i < node->getNumFields(); ++i) {
        const SoField* field = node->getFieldAt(i);
        if (field->isDefault()) continue;
        out_->newLine();
        out_->write(node->getFieldNameAt(i));
        out_->write(' ');
        field->write(out_);
    }
    return true;
}

void SoSceneWriter::emit(SoNode* root) {
    // Null entries stand for the '}' that closes the node opened before them.
    std::vector<SoNode*> stack{root};
    while (!stack.empty()) {
        SoNode* node = stack.back();
        stack.pop_back();
        if (!node) {
            out_->decrementIndent();
            out_->newLine();
            out_->write('}');
            continue;
        }
        out_->newLine();
        Info& info = infos_[node];
        if (info.written) {
            out_->write("USE ");
            out_->write(info.defName.getString());
            continue;
        }
        info.written = true;
        if (!openNode(node, info)) continue;
        stack.push_back(nullptr);
        for (auto it = info.children.rbegin(); it != info.children.rend(); ++it)
            stack.push_back(*it);
    }
}
