#pragma once

#include <Tessara/base/SoNodeList.h>
#include <Tessara/nodes/SoNode.h>

/// A node with ordered children, traversed left to right. It does not save the state:
/// what a child changes stays in force for the following siblings and after the group.
class SoGroup : public SoNode {
    SO_NODE_HEADER(SoGroup);

  public:
    SoGroup();

    void addChild(SoNode* child);
    void insertChild(SoNode* child, int newChildIndex);
    SoNode* getChild(int index) const;
    int findChild(const SoNode* child) const;
    int getNumChildren() const { return children_.getLength(); }
    void removeChild(int index);
    void removeChild(SoNode* child);
    void removeAllChildren();
    void replaceChild(int index, SoNode* newChild);
    void replaceChild(SoNode* oldChild, SoNode* newChild);

    SoNodeList* getChildren() const override { return &children_; }
    void doAction(SoAction* action) override;

  protected:
    ~SoGroup() override;

  private:
    mutable SoNodeList children_;
};
