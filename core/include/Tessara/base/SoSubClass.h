#pragma once

#include <Tessara/base/SoClassRegistry.h>
#include <Tessara/base/SoType.h>

// Shared registration plumbing of nodes, elements, details and actions. A class registers
// lazily: its initClass first registers the parent when that is not registered yet, so the
// order in which classes are initialised never matters.

#define SO__CLASS_TYPE_DECLS(className) \
  public:                               \
    static SoType getClassTypeId() {    \
        return classTypeId;             \
    }                                   \
    SoType getTypeId() const override { \
        return classTypeId;             \
    }                                   \
    static void initClass();            \
    static void exitClass();            \
                                        \
  private:                              \
    static SoType classTypeId

#define SO__CLASS_INIT(className, parentClass, factory)                                       \
    do {                                                                                      \
        if (!classTypeId.isBad()) return;                                                     \
        if (parentClass::getClassTypeId().isBad()) parentClass::initClass();                  \
        classTypeId = SoType::createType(parentClass::getClassTypeId(), #className, factory); \
    } while (0)

#define SO__CLASS_EXIT(className)                                              \
    do {                                                                       \
        if (!classTypeId.isBad() && SoType::removeType(classTypeId.getName())) \
            classTypeId = SoType::badType();                                   \
    } while (0)

#define SO__CLASS_REGISTRAR(className, role)                                                   \
    namespace {                                                                                \
    const SoClassRegistrar className##Registrar(#className, &className::initClass,             \
                                                &className::exitClass, SoClassRegistry::role); \
    }

/// The type id, initClass, exitClass and registration of a class made by `factory` (null for an
/// abstract class), shared by every kind of class that registers this way.
#define SO__CLASS_SOURCE(className, parentClass, factory, role) \
    SoType className::classTypeId;                              \
    void className::initClass() {                               \
        SO__CLASS_INIT(className, parentClass, factory);        \
    }                                                           \
    void className::exitClass() {                               \
        SO__CLASS_EXIT(className);                              \
    }                                                           \
    SO__CLASS_REGISTRAR(className, role)
