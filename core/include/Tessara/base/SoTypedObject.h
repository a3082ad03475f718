#pragma once

#include <Tessara/base/SoType.h>

/// Root of every object that knows its run-time type.
class SoTypedObject {
  public:
    virtual SoType getTypeId() const = 0;
    virtual ~SoTypedObject();

    bool isOfType(SoType type) const { return getTypeId().isDerivedFrom(type); }
    static SoType getClassTypeId();

    /// Checks, at construction, that the database is initialised and the class registered.
    /// Posts an error naming `className` and returns false otherwise.
    static bool checkDatabase(const char* className, const void* object, SoType classType,
                              SoType& classTypeId);

    /// Registers the root type (done by SoDB::init).
    static void initClass();
    static void exitClass();

  private:
    static SoType classTypeId;
};
