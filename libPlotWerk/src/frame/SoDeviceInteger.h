#pragma once

#include <climits>

/// Device coordinates, widths and sizes as the integers the formats write. A value no int
/// holds is clamped to the nearest one that does, and NaN becomes 0, where a plain conversion
/// would be undefined: the clipper keeps real drawings far inside the bounds, so only absurd
/// settings (a tiny PostScript unit, a width of kilometres) reach them.
class SoDeviceInteger {
  public:
    /// `value` truncated toward zero, as a conversion to int does. Inline: every coordinate
    /// of every backend passes here.
    static int truncated(double value) {
        if (!(value == value)) return 0;
        if (value >= double(INT_MAX)) return INT_MAX;
        if (value <= double(INT_MIN)) return INT_MIN;
        return static_cast<int>(value);
    }
};
