#pragma once

// The definitions of the registration members that PW_ACTION_HEADER declares: the same in every
// action but for the class and its parent, which the messages carry.

#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/actions/SoActionClass.h>

#include "frame/SoActionClassWarnings.h"

/// A backend's, a direct subclass of SoVectorizeAction.
#define PW_BACKEND_ACTION_SOURCE(className) PW_ACTION_SOURCE(className, SoVectorizeAction)

/// In the action's source file, outside any namespace. The class befriends
/// SoActionClass<className, parentName>.
#define PW_ACTION_SOURCE(className, parentName)                                                    \
    SoType className::classTypeId;                                                                 \
    SoEnabledElementsList* className::enabledElements = nullptr;                                   \
    SoActionMethodList* className::methods = nullptr;                                              \
                                                                                                   \
    void className::initClass() {                                                                  \
        SoActionClass<className, parentName>::init(#className, #parentName,                        \
                                                   SoActionClassWarnings::messages());             \
    }                                                                                              \
                                                                                                   \
    void className::exitClass() {                                                                  \
        SoActionClass<className, parentName>::exit(#className, SoActionClassWarnings::messages()); \
    }                                                                                              \
                                                                                                   \
    /* Asking for the type registers the class, as constructing an action does. */                 \
    SoType className::getClassTypeId() {                                                           \
        return SoActionClass<className, parentName>::type();                                       \
    }                                                                                              \
    SoType className::getTypeId() const {                                                          \
        return classTypeId;                                                                        \
    }                                                                                              \
                                                                                                   \
    void className::addMethod(SoType nodeType, SoActionMethod method) {                            \
        SoActionClass<className, parentName>::addMethod(nodeType, method);                         \
    }                                                                                              \
                                                                                                   \
    void className::enableElement(SoType elementType, int stackIndex) {                            \
        SoActionClass<className, parentName>::enableElement(#className, elementType, stackIndex,   \
                                                            SoActionClassWarnings::messages());    \
    }                                                                                              \
                                                                                                   \
    const SoEnabledElementsList& className::getEnabledElements() const {                           \
        return SoActionClass<className, parentName>::enabledElements();                            \
    }                                                                                              \
                                                                                                   \
    SoActionMethodList* className::getActionMethods() {                                            \
        return SoActionClass<className, parentName>::methods();                                    \
    }                                                                                              \
                                                                                                   \
    /* The construction check; the constructor's first statement. */                               \
    void className::checkRegistration() {                                                          \
        SoActionClass<className, parentName>::construct(#className,                                \
                                                        SoActionClassWarnings::messages());        \
        SoTypedObject::checkDatabase(#className, this, getClassTypeId(), classTypeId);             \
    }
