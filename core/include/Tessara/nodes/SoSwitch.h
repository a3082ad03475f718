#pragma once

#include <Tessara/nodes/SoGroup.h>

/// A group that traverses one of its children, none, or all of them.
class SoSwitch : public SoGroup {
    SO_NODE_HEADER(SoSwitch);

  public:
    static constexpr int SO_SWITCH_NONE = -1;
    /// Use the choice of the nearest switch above.
    static constexpr int SO_SWITCH_INHERIT = -2;
    static constexpr int SO_SWITCH_ALL = -3;

    SoSwitch();

    SoSFInt32 whichChild{SO_SWITCH_NONE};

    void doAction(SoAction* action) override;
    void search(SoSearchAction* action) override;

  protected:
    ~SoSwitch() override;
};
