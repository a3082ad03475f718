#include "SoCGMBinaryReal.h"

#include <Tessara/base/SoDebugError.h>

#include <cmath>
#include <cstdint>

namespace {

/// A magnitude split into a binary exponent and the fraction of its normalised mantissa.
struct Split {
    bool negative;
    int exponent;
    double fraction;  // 0 <= fraction < 1
};

Split split(double x) {
    Split s{x < 0.0, 0, 0.0};
    const double a = std::fabs(x);
    if (a == 0.0) return s;
    // The exponent comes from the logarithm; the mantissa check below repairs its rounding
    // at exact powers of two.
    const double l = std::log(a) / std::log(2.0);
    s.exponent = static_cast<int>(l);
    if (l < 0.0) s.exponent -= 1;
    double m = std::ldexp(a, -s.exponent);
    if (m >= 2.0) {
        s.exponent += 1;
        m /= 2.0;
    }
    m -= 1.0;
    s.fraction = m < 0.0 ? 0.0 : m;
    return s;
}

void putBytes(std::uint64_t value, int count, unsigned char* bytes) {
    for (int i = 0; i < count; ++i) {
        bytes[i] = static_cast<unsigned char>((value >> (8 * (count - 1 - i))) & 0xFFu);
    }
}

/// Non-finite values have no encoding: they are reported and written as 0.
double finiteOrZero(double x) {
    if (std::isfinite(x)) return x;
    SoDebugError::postWarning("SoCGMBinaryReal::encode", "Non-finite real written as 0");
    return 0.0;
}

}  // namespace

int SoCGMBinaryReal::encode(double x, int code, unsigned char bytes[8]) {
    const int count = size(code);
    putBytes(0, count, bytes);
    x = finiteOrZero(x);
    switch (code) {
        case FLOAT32:
            encodeFloat32(x, bytes);
            break;
        case FLOAT64:
            encodeFloat64(x, bytes);
            break;
        case FIXED32:
            encodeFixed(x, 2, bytes);
            break;
        case FIXED64:
            encodeFixed(x, 4, bytes);
            break;
        default:
            SoDebugError::post("SoCGMBinaryReal::encode", "Unknown real precision %d", code);
            break;
    }
    return count;
}

void SoCGMBinaryReal::encodeFloat32(double x, unsigned char bytes[8]) {
    Split s = split(x);
    if (x == 0.0) return;
    int e = s.exponent + 127;
    // Below the smallest normal number the fraction cannot follow: such values become 0.
    if (e < 1) return;
    std::uint32_t f = static_cast<std::uint32_t>(s.fraction * 8388608.0);
    if (e > 254) {
        SoDebugError::postWarning("SoCGMBinaryReal::encode",
                                  "Real too large for 32-bit floating point: largest written");
        e = 254;
        f = 0x7FFFFFu;
    }
    const unsigned int ue = static_cast<unsigned int>(e);
    bytes[0] = static_cast<unsigned char>((s.negative ? 0x80u : 0u) | ue >> 1);
    bytes[1] = static_cast<unsigned char>((ue & 1u) << 7 | (f & 0x7F0000u) >> 16);
    bytes[2] = static_cast<unsigned char>((f >> 8) & 0xFFu);
    bytes[3] = static_cast<unsigned char>(f & 0xFFu);
}

void SoCGMBinaryReal::encodeFloat64(double x, unsigned char bytes[8]) {
    Split s = split(x);
    if (x == 0.0) return;
    const int e = s.exponent + 1023;
    // Subnormal doubles have no normalised mantissa: they become 0.
    if (e < 1) return;
    const unsigned int ue = static_cast<unsigned int>(e);
    const double t = s.fraction * 1048576.0;
    const std::uint32_t f = static_cast<std::uint32_t>(t);
    const std::uint32_t g = static_cast<std::uint32_t>((t - f) * 4294967296.0);
    bytes[0] = static_cast<unsigned char>((s.negative ? 0x80u : 0u) | ue >> 4);
    bytes[1] = static_cast<unsigned char>((ue & 0xFu) << 4 | (f & 0xF0000u) >> 16);
    bytes[2] = static_cast<unsigned char>((f >> 8) & 0xFFu);
    bytes[3] = static_cast<unsigned char>(f & 0xFFu);
    putBytes(g, 4, bytes + 4);
}

void SoCGMBinaryReal::encodeFixed(double x, int wholeBytes, unsigned char bytes[8]) {
    // The whole part is cut to its low bytes anyway; the clamp only keeps the conversions
    // below defined for absurd values.
    const double limit = 2147483647.0;
    if (std::fabs(x) > limit) {
        SoDebugError::postWarning("SoCGMBinaryReal::encode",
                                  "Real too large for fixed point: clamped");
        x = x < 0.0 ? -limit : limit;
    }
    const bool negative = x < 0.0;
    // The fraction is always counted upwards from the whole part, so negative values take
    // the next lower whole number.
    std::int64_t whole = static_cast<std::int64_t>(x);
    if (negative) whole -= 1;
    const double scale = wholeBytes == 2 ? 65535.0 : 4294967295.0;
    const auto frac = static_cast<std::uint64_t>((x - static_cast<double>(whole)) * scale);
    putBytes(static_cast<std::uint64_t>(whole), wholeBytes, bytes);
    putBytes(frac, wholeBytes, bytes + wholeBytes);
}
