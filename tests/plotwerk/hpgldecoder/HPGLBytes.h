#pragma once

// Building blocks for hand-written plots fed to the decoder.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "support/HPGLDecoder.h"

namespace hpglbytes {

/// Raw bytes from their values, for the parts that are not printable text.
inline std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

/// A body framed as a printer expects it: reset, enter HP-GL/2, body, back to PCL, reset.
inline std::string framed(const std::string& body) {
    return std::string(
               "\x1b"
               "E"
               "\x1b%-1B") +
           body + "\x1b%0A" +
           "\x1b"
           "E";
}

/// One value in the encoded-polyline form: 2v for v >= 0, 2|v|+1 below, least significant
/// digit first, the last digit in the terminating range.
inline std::string encoded(long long v, bool sevenBit = false) {
    const unsigned long long base = sevenBit ? 32 : 64;
    unsigned long long n = v >= 0 ? 2ULL * static_cast<unsigned long long>(v)
                                  : 2ULL * static_cast<unsigned long long>(-v) + 1;
    std::string out;
    for (; n >= base; n /= base) out += static_cast<char>(63 + n % base);
    return out + static_cast<char>((sevenBit ? 95 : 191) + n);
}

/// An encoded coordinate pair.
inline std::string pair(long long x, long long y, bool sevenBit = false) {
    return encoded(x, sevenBit) + encoded(y, sevenBit);
}

/// Points as (x, y) pairs, so that a mismatch prints readably.
inline std::vector<std::pair<double, double>> xy(const std::vector<HPGLPoint>& points) {
    std::vector<std::pair<double, double>> out;
    for (const HPGLPoint& p : points) out.emplace_back(p.x, p.y);
    return out;
}

/// All error messages, one a line, for failure output.
inline std::string errorsOf(const HPGLPlot& plot) {
    std::string out;
    for (const std::string& e : plot.errors) out += e + "\n";
    return out;
}

inline HPGLPlot decodeFramed(const std::string& body, const HPGLDecodeOptions& options = {}) {
    return HPGLDecoder::decode(framed(body), options);
}

}  // namespace hpglbytes
