#pragma once

#include <Tessara/base/SbName.h>

#include <set>
#include <string>
#include <unordered_map>
#include <vector>

class SoNode;
class SoOutput;
class SoPath;

/// Writes the nodes of a graph (or of a path through it) as scene-file text. A first walk
/// decides what each node writes and counts how often it appears; a second one writes,
/// giving nodes that appear more than once a DEF name. Both walks use explicit stacks.
class SoSceneWriter {
  public:
    explicit SoSceneWriter(SoOutput* out) : out_(out) {}

    /// Writes `root` and below; with a path (whose head is `root`), only what traversing the
    /// path visits.
    void writeGraph(SoNode* root, const SoPath* path);

  private:
    /// What the walks know of one node.
    struct Info {
        int uses = 0;
        std::vector<SoNode*> children;  // those to write, decided where the node first appears
        SbName defName;
        bool written = false;
    };

    void plan(SoNode* root, const SoPath* path);
    /// The children of `node` to write and, for each, its level on the path (-1: off it).
    void collectChildren(SoNode* node, int pathLevel, const SoPath* path,
                         std::vector<std::pair<SoNode*, int>>& children) const;
    void assignNames();
    void emit(SoNode* root);
    /// Writes the DEF, type and fields of a node's first appearance; true when a '}' is due.
    bool openNode(SoNode* node, Info& info);
    std::string generateName();

    SoOutput* out_;
    std::unordered_map<const SoNode*, Info> infos_;
    std::vector<SoNode*> order_;  // first appearances, in writing order
    std::set<std::string> takenNames_;
    int nextGeneratedName_ = 0;
};
