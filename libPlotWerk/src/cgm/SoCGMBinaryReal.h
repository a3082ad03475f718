#pragma once

/// Reals of binary metafiles in the four precisions a metafile can choose: 32- and 64-bit
/// floating point (sign, biased exponent, fraction) and 32- and 64-bit fixed point (whole
/// part, then fraction), every byte most significant first.
class SoCGMBinaryReal {
  public:
    /// Real precision codes, as REAL PRECISION and VDC REAL PRECISION select them.
    enum Code { FLOAT32 = 1, FLOAT64 = 2, FIXED32 = 3, FIXED64 = 4 };

    /// Bytes of a real of this code: 4 for the odd codes, 8 for the even ones.
    static int size(int code) { return (code & 1) ? 4 : 8; }
    /// True for the codes 1 to 4.
    static bool isValidCode(int code) { return code >= FLOAT32 && code <= FIXED64; }

    /// Writes the encoding of x into bytes and returns how many were written (size(code)).
    /// Values a code cannot hold (not finite, too large) are reported and replaced by the
    /// nearest value it can; an unknown code is reported and gives zero bytes of its size.
    static int encode(double x, int code, unsigned char bytes[8]);

  private:
    static void encodeFloat32(double x, unsigned char bytes[8]);
    static void encodeFloat64(double x, unsigned char bytes[8]);
    static void encodeFixed(double x, int wholeBytes, unsigned char bytes[8]);
};
