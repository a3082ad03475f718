#pragma once

#include <memory>
#include <vector>

class SoAction;
class SoElement;
class SoEnabledElementsList;

/// The traversal state of one action: a stack of instances per element class.
/// push() and pop() bracket a separator; elements written in between are discarded by pop().
class SoState {
  public:
    SoState(SoAction* action, const SoEnabledElementsList& enabledElements);
    ~SoState();
    SoState(const SoState&) = delete;
    SoState& operator=(const SoState&) = delete;

    SoAction* getAction() const { return action_; }

    /// The element to modify at the current depth (copied on first write at this depth).
    SoElement* getElement(int stackIndex);
    /// The element in force; created with its default value when first asked for.
    const SoElement* getConstElement(int stackIndex);

    void push();
    void pop();
    int getDepth() const { return depth_; }

    bool isElementEnabled(int stackIndex) const;

  private:
    std::vector<std::unique_ptr<SoElement>>& stackOf(int stackIndex);

    SoAction* action_;
    int depth_ = 0;
    std::vector<std::vector<std::unique_ptr<SoElement>>> stacks_;
    std::vector<bool> enabled_;
    std::vector<int> writtenStacks_;  // stack index of every copy pushed, in order
    std::vector<size_t> depthMarks_;  // writtenStacks_ size at each push()
};
