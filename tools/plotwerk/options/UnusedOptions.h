#pragma once

#include "options/PrintOptions.h"

struct OutputFormat;

/// Options that the chosen output or mode has no use for. A password that would protect
/// nothing is refused before anything is written, since the user counts on it; the others
/// are named in one warning, and the drawing goes on without them.
class UnusedOptions {
  public:
    /// `format`: the output's, or null when the drawing goes to a printer.
    static void check(const PrintOptions& options, const OutputFormat* format);
};
