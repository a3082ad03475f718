#pragma once

#include <Tessara/base/SoSubClass.h>

/// In the class body of a detail.
#define SO_DETAIL_HEADER(className) SO__CLASS_TYPE_DECLS(className)

#define SO_DETAIL_SOURCE(className, parentClass) \
    SO__CLASS_SOURCE(className, parentClass, nullptr, DETAIL)
