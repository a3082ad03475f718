#pragma once

// The registration members of a backend action, a direct subclass of SoVectorizeAction:
// the same in every backend but for the class name, which each message carries.

#include <PlotWerk/SoVectorizeAction.h>

#include "frame/SoActionClassRecord.h"

/// In the backend's source file, outside any namespace.
#define PW_BACKEND_ACTION_SOURCE(className)                                                  \
    SoType className::classTypeId;                                                           \
    SoEnabledElementsList* className::enabledElements = nullptr;                             \
    SoActionMethodList* className::methods = nullptr;                                        \
                                                                                             \
    void className::initClass() {                                                            \
        if (!classTypeId.isBad()) return;                                                    \
        if (SoType::fromName("SoVectorizeAction").isBad()) {                                 \
            SoActionClassRecord::warnInitializedEarly(#className, "SoVectorizeAction");      \
            SoVectorizeAction::initClass();                                                  \
        }                                                                                    \
        enabledElements = new SoEnabledElementsList(SoVectorizeAction::enabledElements);     \
        methods = new SoActionMethodList(SoVectorizeAction::methods);                        \
        classTypeId = SoType::createType(SoVectorizeAction::getClassTypeId(),                \
                                         SbName(#className), nullptr, 0);                    \
    }                                                                                        \
                                                                                             \
    void className::exitClass() {                                                            \
        SoActionClassRecord::unregister(#className, classTypeId, enabledElements, methods);  \
    }                                                                                        \
                                                                                             \
    /* Asking for the type registers the class, as constructing an action does. */           \
    SoType className::getClassTypeId() {                                                     \
        if (classTypeId.isBad()) initClass();                                                \
        return classTypeId;                                                                  \
    }                                                                                        \
    SoType className::getTypeId() const { return classTypeId; }                              \
                                                                                             \
    void className::addMethod(SoType nodeType, SoActionMethod method) {                      \
        if (!methods) initClass();                                                           \
        methods->addMethod(nodeType, method);                                                \
    }                                                                                        \
                                                                                             \
    void className::enableElement(SoType elementType, int stackIndex) {                      \
        if (!SoActionClassRecord::acceptsElement(#className, elementType)) return;           \
        if (!enabledElements) initClass();                                                   \
        enabledElements->enable(elementType, stackIndex);                                    \
    }                                                                                        \
                                                                                             \
    const SoEnabledElementsList& className::getEnabledElements() const {                     \
        if (!enabledElements) initClass();                                                   \
        return *enabledElements;                                                             \
    }                                                                                        \
                                                                                             \
    SoActionMethodList* className::getActionMethods() {                                      \
        if (!methods) initClass();                                                           \
        return methods;                                                                      \
    }                                                                                        \
                                                                                             \
    /* The construction check; the constructor's first statement. */                         \
    void className::checkRegistration() {                                                    \
        if (classTypeId.isBad()) {                                                           \
            SoActionClassRecord::warnConstructedEarly(#className);                           \
            initClass();                                                                     \
        }                                                                                    \
        SoTypedObject::checkDatabase(#className, this, getClassTypeId(), classTypeId);       \
    }
