#pragma once

#include <cstdio>

#include "PrintOptions.h"

/// Applies the options every backend shares to a printing action: page layout, border,
/// background, hidden-line mode, lighting, shading, colours and line width.
class ActionSettings {
  public:
    /// A hidden-line mode without an engine is not set: one warning goes to `warnings` and
    /// the drawing is printed directly.
    static void apply(SoVectorizeAction& action, const PrintOptions& options, FILE* warnings);
};
