#pragma once

#include <Tessara/fields/SoFieldContainer.h>
#include <Tessara/fields/SoFields.h>
#include <Tessara/nodes/SoSubNode.h>

class SoAction;
class SoCallbackAction;
class SoGetBoundingBoxAction;
class SoNodeList;
class SoSearchAction;

/// Base of every scene-graph node. Actions dispatch on the node's type to one of the
/// virtual operations below; the default of each is doAction().
class SoNode : public SoFieldContainer {
    SO_NODE_ABSTRACT_HEADER(SoNode);

  public:
    /// An overriding node's values win over those of nodes below it.
    void setOverride(bool state) { override_ = state; }
    bool isOverride() const { return override_; }

    /// False for nodes that leave the traversal state as they found it (shapes,
    /// separators): a path traversal skips them when they are off the path.
    virtual bool affectsState() const { return true; }
    /// The children of a group, or null.
    virtual SoNodeList* getChildren() const { return nullptr; }
    /// A node that stands for this one when the action traverses alternate representations.
    virtual SoNode* getAlternateRep() const { return nullptr; }

    /// What every action does unless it has its own operation: set state, traverse children.
    virtual void doAction(SoAction* action);
    virtual void callback(SoCallbackAction* action);
    virtual void getBoundingBox(SoGetBoundingBoxAction* action);
    virtual void search(SoSearchAction* action);

    /// The action methods registered for SoNode by the core actions.
    static void callDoAction(SoAction* action, SoNode* node);
    static void callCallback(SoAction* action, SoNode* node);
    static void callGetBoundingBox(SoAction* action, SoNode* node);
    static void callSearch(SoAction* action, SoNode* node);

  protected:
    SoNode();
    ~SoNode() override;

  private:
    bool override_ = false;
};
