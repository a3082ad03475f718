#pragma once

/// A colour component of 0..1 as the byte value 0..255 that the output formats write:
/// component x 255, truncated; values out of range (and NaN) are clamped.
class SoColorByte {
  public:
    static int of(float component);
};
