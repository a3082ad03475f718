#pragma once

#include <Tessara/base/SoSubClass.h>
#include <Tessara/elements/SoElement.h>

/// In the class body of a concrete element.
#define SO_ELEMENT_HEADER(className)          \
    SO__CLASS_TYPE_DECLS(className);          \
                                              \
  public:                                     \
    static int getClassStackIndex() {         \
        if (classStackIndex < 0) initClass(); \
        return classStackIndex;               \
    }                                         \
    SoElement* clone() const override {       \
        return new className(*this);          \
    }                                         \
                                              \
  private:                                    \
    static int classStackIndex;               \
    static void* createInstance()

/// In the class body of an abstract element.
#define SO_ELEMENT_ABSTRACT_HEADER(className) SO__CLASS_TYPE_DECLS(className)

#define SO_ELEMENT_SOURCE(className, parentClass)                                       \
    SoType className::classTypeId;                                                      \
    int className::classStackIndex = -1;                                                \
    void* className::createInstance() {                                                 \
        return new className;                                                           \
    }                                                                                   \
    void className::initClass() {                                                       \
        if (classTypeId.isBad()) {                                                      \
            if (parentClass::getClassTypeId().isBad()) parentClass::initClass();        \
            classTypeId = SoType::createType(parentClass::getClassTypeId(), #className, \
                                             &className::createInstance);               \
        }                                                                               \
        if (classStackIndex < 0)                                                        \
            classStackIndex = SoElement::createStackIndex(classTypeId);                 \
        else                                                                            \
            SoElement::setStackType(classStackIndex, classTypeId);                      \
    }                                                                                   \
    void className::exitClass() {                                                       \
        SO__CLASS_EXIT(className);                                                      \
    }                                                                                   \
    SO__CLASS_REGISTRAR(className, ELEMENT)

#define SO_ELEMENT_ABSTRACT_SOURCE(className, parentClass) \
    SO__CLASS_SOURCE(className, parentClass, nullptr, ELEMENT)
