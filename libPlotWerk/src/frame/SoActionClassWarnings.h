#pragma once

#include <Tessara/actions/SoActionClass.h>

/// What registering the library's action classes reports: applications register them, in
/// any order, and learn of a class used before its registration.
class SoActionClassWarnings {
  public:
    static const SoActionClassMessages& messages();
};
