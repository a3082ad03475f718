#pragma once

#include <Tessara/base/SoSubClass.h>

/// In the class body of a detail.
#define SO_DETAIL_HEADER(className) SO__CLASS_TYPE_DECLS(className)

#define SO_DETAIL_SOURCE(className, parentClass)         \
    SoType className::classTypeId;                       \
    void className::initClass() {                        \
        SO__CLASS_INIT(className, parentClass, nullptr); \
    }                                                    \
    void className::exitClass() {                        \
        SO__CLASS_EXIT(className);                       \
    }                                                    \
    SO__CLASS_REGISTRAR(className, DETAIL)
