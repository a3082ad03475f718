#pragma once

#include <Tessara/base/SoType.h>

#include <vector>

/// The element classes an action class needs in its state; inherits the parent class's list.
class SoEnabledElementsList {
  public:
    explicit SoEnabledElementsList(SoEnabledElementsList* parentList = nullptr);

    /// Enables the element of `elementType` owning `stackIndex`.
    void enable(SoType elementType, int stackIndex);
    /// Every enabled stack index, the parent's included.
    std::vector<int> getStackIndices() const;
    bool isEnabled(int stackIndex) const;
    /// Changes with every enable() anywhere, so that cached copies can tell they are stale.
    static int getCounter();

  private:
    SoEnabledElementsList* parent_;
    std::vector<std::pair<SoType, int>> elements_;
};
