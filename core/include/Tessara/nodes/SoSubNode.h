#pragma once

#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoSubClass.h>

/// In the class body of a concrete node.
#define SO_NODE_HEADER(className)    \
    SO__CLASS_TYPE_DECLS(className); \
    static void* createInstance()

/// In the class body of an abstract node.
#define SO_NODE_ABSTRACT_HEADER(className) SO__CLASS_TYPE_DECLS(className)

/// In the source file of a concrete node.
#define SO_NODE_SOURCE(className, parentClass) \
    void* className::createInstance() {        \
        return new className;                  \
    }                                          \
    SO__CLASS_SOURCE(className, parentClass, &className::createInstance, NODE)

#define SO_NODE_ABSTRACT_SOURCE(className, parentClass) \
    SO__CLASS_SOURCE(className, parentClass, nullptr, NODE)

/// First statement of every node constructor: registers the class when nobody did.
#define SO_NODE_CONSTRUCTOR(className)                   \
    do {                                                 \
        if (classTypeId.isBad()) className::initClass(); \
    } while (0)
