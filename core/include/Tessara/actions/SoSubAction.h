#pragma once

#include <Tessara/actions/SoActionClass.h>
#include <Tessara/actions/SoActionMethodList.h>
#include <Tessara/actions/SoEnabledElementsList.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoSubClass.h>

/// In the class body of a core action: the registration members of every action class.
#define SO_ACTION_HEADER(className)                                   \
    SO__CLASS_TYPE_DECLS(className);                                  \
                                                                      \
  public:                                                             \
    const SoEnabledElementsList& getEnabledElements() const override; \
    SoActionMethodList* getActionMethods() override;                  \
    static void addMethod(SoType nodeType, SoActionMethod method);    \
    static void enableElement(SoType elementType, int stackIndex);    \
                                                                      \
  protected:                                                          \
    static SoEnabledElementsList* enabledElements;                    \
    static SoActionMethodList* methods;                               \
                                                                      \
  private:                                                            \
    template <class Action, class Parent>                             \
    friend class SoActionClass

// The core's classes register in order through the database: their registration is silent.
#define SO_ACTION_SOURCE(className, parentClass)                                                  \
    SoType className::classTypeId;                                                                \
    SoEnabledElementsList* className::enabledElements = nullptr;                                  \
    SoActionMethodList* className::methods = nullptr;                                             \
    const SoEnabledElementsList& className::getEnabledElements() const {                          \
        return SoActionClass<className, parentClass>::enabledElements();                          \
    }                                                                                             \
    SoActionMethodList* className::getActionMethods() {                                           \
        return SoActionClass<className, parentClass>::methods();                                  \
    }                                                                                             \
    void className::addMethod(SoType nodeType, SoActionMethod method) {                           \
        SoActionClass<className, parentClass>::addMethod(nodeType, method);                       \
    }                                                                                             \
    void className::enableElement(SoType elementType, int stackIndex) {                           \
        SoActionClass<className, parentClass>::enableElement(#className, elementType, stackIndex, \
                                                             {});                                 \
    }                                                                                             \
    void className::exitClass() {                                                                 \
        SoActionClass<className, parentClass>::exit(#className, {});                              \
    }                                                                                             \
    SO__CLASS_REGISTRAR(className, ACTION)

/// First statement of className::initClass(): type, element list and method list, or a
/// return when the class is registered already.
#define SO_ACTION_INIT_CLASS(className, parentClass) \
    if (!SoActionClass<className, parentClass>::init(#className, #parentClass, {})) return

/// First statement of every core action constructor.
#define SO_ACTION_CONSTRUCTOR(className)                 \
    do {                                                 \
        if (classTypeId.isBad()) className::initClass(); \
    } while (0)

/// Enables an element class in this action class's state.
#define SO_ENABLE(actionClass, elementClass) \
    actionClass::enableElement(elementClass::getClassTypeId(), elementClass::getClassStackIndex())
