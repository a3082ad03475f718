#pragma once

#include <Tessara/actions/SoActionMethodList.h>
#include <Tessara/actions/SoEnabledElementsList.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoSubClass.h>

/// In the class body of a core action: the registration members of every action class.
#define SO_ACTION_HEADER(className)                                                  \
    SO__CLASS_TYPE_DECLS(className);                                                 \
                                                                                     \
public:                                                                              \
    const SoEnabledElementsList& getEnabledElements() const override;                \
    SoActionMethodList* getActionMethods() override;                                 \
    static void addMethod(SoType nodeType, SoActionMethod method);                   \
    static void enableElement(SoType elementType, int stackIndex);                   \
                                                                                     \
protected:                                                                           \
    static SoEnabledElementsList* enabledElements;                                   \
    static SoActionMethodList* methods

#define SO_ACTION_SOURCE(className, parentClass)                                           \
    SoType className::classTypeId;                                                         \
    SoEnabledElementsList* className::enabledElements = nullptr;                           \
    SoActionMethodList* className::methods = nullptr;                                      \
    const SoEnabledElementsList& className::getEnabledElements() const {                   \
        return *enabledElements;                                                           \
    }                                                                                      \
    SoActionMethodList* className::getActionMethods() { return methods; }                 \
    void className::addMethod(SoType nodeType, SoActionMethod method) {                   \
        if (!methods) initClass();                                                         \
        methods->addMethod(nodeType, method);                                              \
    }                                                                                      \
    void className::enableElement(SoType elementType, int stackIndex) {                   \
        if (!enabledElements) initClass();                                                 \
        enabledElements->enable(elementType, stackIndex);                                  \
    }                                                                                      \
    void className::exitClass() {                                                          \
        if (classTypeId.isBad() || !SoType::removeType(classTypeId.getName())) return;     \
        classTypeId = SoType::badType();                                                   \
        delete enabledElements;                                                            \
        enabledElements = nullptr;                                                         \
        delete methods;                                                                    \
        methods = nullptr;                                                                 \
    }                                                                                      \
    SO__CLASS_REGISTRAR(className, ACTION)

/// First statements of className::initClass(): type, element list and method list.
#define SO_ACTION_INIT_CLASS(className, parentClass)                                       \
    if (!classTypeId.isBad()) return;                                                      \
    if (parentClass::getClassTypeId().isBad()) parentClass::initClass();                   \
    enabledElements = new SoEnabledElementsList(parentClass::enabledElements);             \
    methods = new SoActionMethodList(parentClass::methods);                                \
    classTypeId = SoType::createType(parentClass::getClassTypeId(), #className)

/// First statement of every core action constructor.
#define SO_ACTION_CONSTRUCTOR(className)                                                   \
    do {                                                                                   \
        if (classTypeId.isBad()) className::initClass();                                   \
    } while (0)

/// Enables an element class in this action class's state.
#define SO_ENABLE(actionClass, elementClass) \
    actionClass::enableElement(elementClass::getClassTypeId(), elementClass::getClassStackIndex())
