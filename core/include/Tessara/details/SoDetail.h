#pragma once

#include <Tessara/base/SoTypedObject.h>

/// What part of a shape a generated primitive comes from.
class SoDetail : public SoTypedObject {
  public:
    static SoType getClassTypeId() { return classTypeId; }
    static void initClass();
    static void exitClass();
    /// A copy owned by the caller.
    virtual SoDetail* copy() const = 0;

  private:
    static SoType classTypeId;
};
