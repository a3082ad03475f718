#pragma once

#include <string>

/// Numbers of encoded polylines: base 64 with 8-bit terminators, the sign in the lowest bit.
/// Plotters read these far faster than decimal text, and they take a third of the bytes.
class SoHPGLEncodedNumber {
  public:
    /// Appends the digits of `value`.
    static void append(std::string& out, int value);
};
