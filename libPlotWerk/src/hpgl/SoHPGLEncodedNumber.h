#pragma once

/// Numbers of encoded polylines: base 64 with 8-bit terminators, the sign in the lowest bit.
/// Plotters read these far faster than decimal text, and they take a third of the bytes.
class SoHPGLEncodedNumber {
  public:
    /// The digits of `value`, zero-terminated, in a buffer shared by every call: write the
    /// result out before encoding the next number.
    static const char* encode(int value);
};
