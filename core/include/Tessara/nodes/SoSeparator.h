#pragma once

#include <Tessara/nodes/SoGroup.h>

/// A group that saves the traversal state before its children and restores it after.
class SoSeparator : public SoGroup {
    SO_NODE_HEADER(SoSeparator);

  public:
    SoSeparator();

    bool affectsState() const override { return false; }
    void doAction(SoAction* action) override;

  protected:
    ~SoSeparator() override;
};
