#pragma once

#include <Tessara/actions/SoActionMethodList.h>
#include <Tessara/actions/SoEnabledElementsList.h>
#include <Tessara/base/SoTypedObject.h>

#include <memory>
#include <vector>

template <class Action, class Parent>
class SoActionClass;
class SoNode;
class SoPath;
class SoPathList;
class SoState;

/// Base of every traversal. An action is applied to a node, a path or a path list; it
/// walks the graph, calling for each node the method its class registered for the node type.
class SoAction : public SoTypedObject {
  public:
    enum AppliedCode { NODE = 0, PATH = 1, PATH_LIST = 2 };
    /// Where the node being traversed lies relative to the path the action was applied to.
    enum PathCode { NO_PATH = 0, IN_PATH = 1, BELOW_PATH = 2, OFF_PATH = 3 };

    // clang-format off: the slot numbers line up as a table
    // The virtual operations keep this order: derived actions of other libraries rely on it.
    SoType getTypeId() const override = 0;                               // slot 0
    ~SoAction() override;                                                // slot 1
    virtual void apply(const SoPathList& pathList, int obeysRules = 0);  // slot 2
    virtual void apply(SoPath* path);                                    // slot 3
    virtual void apply(SoNode* node);                                    // slot 4
    virtual void clearApplyResult();                                     // slot 5
    virtual void invalidateState();                                      // slot 6
    /// Traverses `path` from the current node, as a continuation of this traversal.
    virtual void forwardTraversal(SoPath* path);  // slot 7
    /// Traverses `node` as if it were a child of the current node.
    virtual void forwardTraversal(SoNode* node);                      // slot 8
    virtual void setUpState();                                        // slot 9
    virtual const SoEnabledElementsList& getEnabledElements() const;  // slot 10
    virtual void preDelayedTraversal();                               // slot 11
    virtual void postDelayedTraversal();                              // slot 12
    virtual bool isEnabledElement(int stackIndex) const;              // slot 13
    virtual SoNode* getCurPathTail();                                 // slot 14
    virtual void switchToNodeTraversal(SoNode* node);                 // slot 15
    virtual void beginTraversal(SoNode* node);                        // slot 16
    virtual void endTraversal(SoNode* node);                          // slot 17
    virtual bool shouldCompactPathLists() const;                      // slot 18
    virtual SoActionMethodList* getActionMethods();                   // slot 19
    // clang-format on

    static SoType getClassTypeId() { return classTypeId; }
    static void initClass();
    static void exitClass();
    static void addMethod(SoType nodeType, SoActionMethod method);
    static void enableElement(SoType elementType, int stackIndex);

    /// Runs the method of this action for `node`.
    void traverse(SoNode* node);
    /// Traverses children first..last of `parent` with the path bookkeeping.
    void traverseChildren(SoNode* parent, int first, int last);
    /// Traverses child `index` of the current node.
    void traverseChild(SoNode* child, int index);

    SoState* getState();
    AppliedCode getWhatAppliedTo() const { return appliedCode_; }
    SoNode* getNodeAppliedTo() const { return appliedNode_; }
    SoPath* getPathAppliedTo() const { return appliedPath_; }
    const SoPathList* getPathListAppliedTo() const { return appliedPathList_; }

    /// The path from the head of the traversal to the current node.
    const SoPath* getCurPath();
    /// As getCurPath, without the nodes reached by forwarded traversals.
    const SoPath* getCurLightPath();
    /// For a node IN_PATH: the indices of its children that lie on the applied path.
    PathCode getPathCode(int& numIndices, const int*& indices);
    PathCode getCurPathCode() const { return curPathCode_; }

    bool hasTerminated() const { return terminated_; }
    void setTerminated(bool flag) { terminated_ = flag; }

    /// Whether nodes with an alternate representation are traversed through it.
    void useAlternateRep(bool flag) { useAlternateRep_ = flag; }
    bool isUsingAlternateRep() const { return useAlternateRep_; }

  protected:
    SoAction();
    /// A copy takes the other action's settings, never its traversal: it starts idle.
    SoAction(const SoAction& other);
    SoAction& operator=(const SoAction& other);

    /// Runs the traversal of the applied node, path or path list (after setUpState).
    void runTraversal(SoNode* root);

    static SoEnabledElementsList* enabledElements;
    static SoActionMethodList* methods;

  private:
    template <class Action, class Parent>
    friend class SoActionClass;

    struct PathEntry {
        SoNode* node;
        int index;
        bool forwarded;
    };
    void beginApply(AppliedCode code);
    void applyOnePath(SoPath* path);
    void pushEntry(SoNode* node, int index, bool forwarded, PathCode code);
    void popEntry(PathCode previousCode, int previousDepth);
    void skipTooDeep();
    const SoPath* buildPath(bool lightOnly);

    static SoType classTypeId;

    std::unique_ptr<SoState> state_;
    int stateGeneration_ = -1;
    AppliedCode appliedCode_ = NODE;
    SoNode* appliedNode_ = nullptr;
    SoPath* appliedPath_ = nullptr;
    const SoPathList* appliedPathList_ = nullptr;
    PathCode curPathCode_ = NO_PATH;
    int pathDepth_ = 0;  // nodes of the applied path matched so far
    int nextPathIndex_ = 0;
    std::vector<PathEntry> curPath_;
    SoPath* curPathCache_ = nullptr;
    bool curPathCacheIsLight_ = false;
    bool curPathDirty_ = true;
    bool terminated_ = false;
    bool useAlternateRep_ = false;
    int applyDepth_ = 0;
    bool depthReported_ = false;
};
