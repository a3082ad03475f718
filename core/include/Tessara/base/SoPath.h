#pragma once

#include <Tessara/base/SoBase.h>

#include <vector>

class SoNode;

/// A chain of nodes from a head down through children, each entry remembering the index
/// of the child taken. Holds a reference on every node in it.
class SoPath : public SoBase {
  public:
    explicit SoPath(SoNode* head = nullptr);
    SoType getTypeId() const override { return classTypeId; }
    static SoType getClassTypeId() { return classTypeId; }
    static void initClass();
    static void exitClass();

    void setHead(SoNode* head);
    SoNode* getHead() const { return nodes_.empty() ? nullptr : nodes_.front(); }
    SoNode* getTail() const { return nodes_.empty() ? nullptr : nodes_.back(); }
    int getLength() const { return static_cast<int>(nodes_.size()); }
    SoNode* getNode(int i) const;
    /// Index of node i in its parent's children (0 for the head).
    int getIndex(int i) const;
    SoNode* getNodeFromTail(int i) const { return getNode(getLength() - 1 - i); }
    int getIndexFromTail(int i) const { return getIndex(getLength() - 1 - i); }

    /// Appends child `childIndex` of the tail; false (with a message) when there is none.
    bool append(int childIndex);
    /// Appends `child`, which must be a child of the tail.
    bool append(SoNode* child);
    /// Appends without checking that the node is a child of the tail (traversal use).
    void appendUnchecked(SoNode* node, int childIndex);
    void push(int childIndex) { append(childIndex); }
    void pop() { truncate(getLength() - 1); }
    void truncate(int length);

    /// A new path of `numNodes` nodes from `startFromNodeIndex` (0: to the tail).
    SoPath* copy(int startFromNodeIndex = 0, int numNodes = 0) const;
    bool containsNode(const SoNode* node) const;
    /// Index of the last node the two paths share, or -1.
    int findFork(const SoPath* other) const;
    bool operator==(const SoPath& other) const;
    bool operator!=(const SoPath& other) const { return !(*this == other); }

  protected:
    ~SoPath() override;

  private:
    static SoType classTypeId;
    std::vector<SoNode*> nodes_;
    std::vector<int> indices_;
};
