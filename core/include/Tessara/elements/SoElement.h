#pragma once

#include <Tessara/base/SoTypedObject.h>

class SoState;

/// One piece of traversal state. Each concrete element class owns a stack in SoState; a
/// separator push makes later writes go to a copy that the matching pop discards.
class SoElement : public SoTypedObject {
  public:
    static SoType getClassTypeId() { return classTypeId; }
    static void initClass();
    static void exitClass();

    /// Sets the default value; called when the state first creates the element.
    virtual void init(SoState* state);
    /// A copy of this element, pushed when it is written at a deeper state level.
    virtual SoElement* clone() const = 0;

    /// The state depth at which this instance was written.
    int getDepth() const { return depth_; }
    void setDepth(int depth) { depth_ = depth; }

    static int getNumStackIndices();
    /// A new default instance of the element that owns `stackIndex`.
    static SoElement* createElement(int stackIndex);

  protected:
    SoElement() = default;
    SoElement(const SoElement&) = default;

    /// The instance to write: a copy is pushed first when the top was written lower.
    static SoElement* getElement(SoState* state, int stackIndex);
    static const SoElement* getConstElement(SoState* state, int stackIndex);

    static int createStackIndex(SoType type);
    static void setStackType(int stackIndex, SoType type);

  private:
    static SoType classTypeId;
    int depth_ = 0;
};
