#pragma once

/// Device coordinates, widths and sizes as the integers the formats write. A value no int
/// holds is clamped to the nearest one that does, and NaN becomes 0, where a plain conversion
/// would be undefined: the clipper keeps real drawings far inside the bounds, so only absurd
/// settings (a tiny PostScript unit, a width of kilometres) reach them.
class SoDeviceInteger {
  public:
    /// `value` truncated toward zero, as a conversion to int does.
    static int truncated(double value);
};
