#include "SoActionClassWarnings.h"

#include <Tessara/base/SbString.h>
#include <Tessara/base/SoDebugError.h>

namespace {

void initializedEarly(const char* className, const char* parentName) {
    const SbString operation = SbString::formatC("%s::initClass", className);
    SoDebugError::post(operation.getString(), "%s initialized before parent class %s\n", className,
                       parentName);
}

void constructedEarly(const char* className) {
    SoDebugError::post("SO_ACTION_CONSTRUCTOR",
                       "Can't construct an action of type %s until initClass() has been called. "
                       "Check SoDB::init() has been called.",
                       className);
}

void elementNotRegistered(const char* className) {
    SoDebugError::post("SO_ENABLE_ELEMENT",
                       "Can't enable element for %s until the element initClass function has "
                       "been called",
                       className);
}

void notRemoved(const char* className, const char* typeName) {
    const SbString operation = SbString::formatC("%s::exitClass", className);
    SoDebugError::post(operation.getString(),
                       "Unable to remove type (%s) for this class. Check exitClass() method "
                       "is implemented and is called only once.\n",
                       typeName);
}

}  // namespace

const SoActionClassMessages& SoActionClassWarnings::messages() {
    static const SoActionClassMessages warnings{initializedEarly, constructedEarly,
                                                elementNotRegistered, notRemoved};
    return warnings;
}
