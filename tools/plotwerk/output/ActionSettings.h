#pragma once

#include <cstdio>

#include "options/PrintOptions.h"

/// Applies the options every backend shares to a printing action: page layout, border,
/// background, hidden-line mode, lighting, shading, colours and line width.
class ActionSettings {
  public:
    /// Every option that the command line set; the others keep the action's defaults.
    static void apply(SoVectorizeAction& action, const PrintOptions& options);
};
