#pragma once

#include <Tessara/base/SbString.h>

/// The fonts every metafile lists; a text names its font by its place in this list, from 1.
class SoCGMFontTable {
  public:
    static constexpr int COUNT = 13;
    /// The names in metafile order.
    static const SbString* names();
    /// The place of `name` from 1, or 0 when the table does not list it.
    static int indexOf(const SbString& name);
};
