#pragma once

#include <Tessara/base/SbString.h>

/// A 3D export engine's failure: a code of the engine's and the place it failed.
class SoU3DException {
  public:
    SoU3DException(int code, const SbString& where) : code_(code), where_(where) {}

    int getCode() const { return code_; }
    const SbString& getWhere() const { return where_; }

  private:
    int code_;
    SbString where_;
};
