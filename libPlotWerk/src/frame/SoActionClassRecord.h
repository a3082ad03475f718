#pragma once

#include <Tessara/actions/SoActionMethodList.h>
#include <Tessara/actions/SoEnabledElementsList.h>
#include <Tessara/base/SoType.h>

/// The parts of an action class's registration that every class of the library shares: the
/// messages for registering in the wrong order and the removal of the type and its lists.
class SoActionClassRecord {
public:
    /// Posts that className was registered before its parent class.
    static void warnInitializedEarly(const char* className, const char* parentName);
    /// Posts that an action of className was built before its class was registered.
    static void warnConstructedEarly(const char* className);
    /// False, with a message, when elementType is not registered yet.
    static bool acceptsElement(const char* className, SoType elementType);
    /// Removes the type and frees its lists; false, with a message, when the type cannot be
    /// removed (then nothing changes).
    static bool unregister(const char* className, SoType& classTypeId,
                           SoEnabledElementsList*& enabledElements, SoActionMethodList*& methods);
};
