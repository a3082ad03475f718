#include "SoActionClassRecord.h"

#include <Tessara/base/SbString.h>
#include <Tessara/base/SoDebugError.h>

void SoActionClassRecord::warnInitializedEarly(const char* className, const char* parentName) {
    const SbString operation = SbString::formatC("%s::initClass", className);
    SoDebugError::post(operation.getString(), "%s initialized before parent class %s\n", className,
                       parentName);
}

void SoActionClassRecord::warnConstructedEarly(const char* className) {
    SoDebugError::post("SO_ACTION_CONSTRUCTOR",
                       "Can't construct an action of type %s until initClass() has been called. "
                       "Check SoDB::init() has been called.",
                       className);
}

bool SoActionClassRecord::acceptsElement(const char* className, SoType elementType) {
    if (!elementType.isBad()) return true;
    SoDebugError::post("SO_ENABLE_ELEMENT",
                       "Can't enable element for %s until the element initClass function has "
                       "been called",
                       className);
    return false;
}

bool SoActionClassRecord::unregister(const char* className, SoType& classTypeId,
                                     SoEnabledElementsList*& enabledElements,
                                     SoActionMethodList*& methods) {
    if (!SoType::removeType(classTypeId.getName())) {
        const SbString operation = SbString::formatC("%s::exitClass", className);
        SoDebugError::post(operation.getString(),
                           "Unable to remove type (%s) for this class. Check exitClass() method "
                           "is implemented and is called only once.\n",
                           classTypeId.getName().getString());
        return false;
    }
    classTypeId = SoType::badType();
    delete enabledElements;
    enabledElements = nullptr;
    delete methods;
    methods = nullptr;
    return true;
}
