#pragma once

// The registration members of a backend action, a direct subclass of SoVectorizeAction:
// the same in every backend but for the class name, which each message carries.

#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/actions/SoActionClass.h>

#include "frame/SoActionClassWarnings.h"

/// In the backend's source file, outside any namespace. The class befriends
/// SoActionClass<className, SoVectorizeAction>.
#define PW_BACKEND_ACTION_SOURCE(className)                                                        \
    SoType className::classTypeId;                                                                 \
    SoEnabledElementsList* className::enabledElements = nullptr;                                   \
    SoActionMethodList* className::methods = nullptr;                                              \
                                                                                                   \
    void className::initClass() {                                                                  \
        SoActionClass<className, SoVectorizeAction>::init(#className, "SoVectorizeAction",         \
                                                          SoActionClassWarnings::messages());      \
    }                                                                                              \
                                                                                                   \
    void className::exitClass() {                                                                  \
        SoActionClass<className, SoVectorizeAction>::exit(#className,                              \
                                                          SoActionClassWarnings::messages());      \
    }                                                                                              \
                                                                                                   \
    /* Asking for the type registers the class, as constructing an action does. */                 \
    SoType className::getClassTypeId() {                                                           \
        return SoActionClass<className, SoVectorizeAction>::type();                                \
    }                                                                                              \
    SoType className::getTypeId() const {                                                          \
        return classTypeId;                                                                        \
    }                                                                                              \
                                                                                                   \
    void className::addMethod(SoType nodeType, SoActionMethod method) {                            \
        SoActionClass<className, SoVectorizeAction>::addMethod(nodeType, method);                  \
    }                                                                                              \
                                                                                                   \
    void className::enableElement(SoType elementType, int stackIndex) {                            \
        SoActionClass<className, SoVectorizeAction>::enableElement(                                \
            #className, elementType, stackIndex, SoActionClassWarnings::messages());               \
    }                                                                                              \
                                                                                                   \
    const SoEnabledElementsList& className::getEnabledElements() const {                           \
        return SoActionClass<className, SoVectorizeAction>::enabledElements();                     \
    }                                                                                              \
                                                                                                   \
    SoActionMethodList* className::getActionMethods() {                                            \
        return SoActionClass<className, SoVectorizeAction>::methods();                             \
    }                                                                                              \
                                                                                                   \
    /* The construction check; the constructor's first statement. */                               \
    void className::checkRegistration() {                                                          \
        SoActionClass<className, SoVectorizeAction>::construct(#className,                         \
                                                               SoActionClassWarnings::messages()); \
        SoTypedObject::checkDatabase(#className, this, getClassTypeId(), classTypeId);             \
    }
