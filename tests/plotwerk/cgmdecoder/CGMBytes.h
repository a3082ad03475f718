#pragma once

// Building blocks for hand-made binary metafiles fed to the decoders. The bytes that matter
// most (headers, partitions, reals) are spelled out literally in the tests themselves.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/CGMBinaryDecoder.h"
#include "support/CGMClearTextReader.h"

namespace cgmbytes {

/// Raw bytes from their values.
inline std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v & 0xFF);
    return out;
}

/// `count` bytes of `v`, most significant first (two's complement for negative values).
inline std::string be(std::int64_t v, int count) {
    std::string out;
    for (int i = count - 1; i >= 0; --i)
        out += static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF);
    return out;
}

inline std::string i8(std::int64_t v) {
    return be(v, 1);
}
inline std::string i16(std::int64_t v) {
    return be(v, 2);
}
inline std::string i24(std::int64_t v) {
    return be(v, 3);
}
inline std::string i32(std::int64_t v) {
    return be(v, 4);
}

/// A short string: its length byte and its characters.
inline std::string str(const std::string& s) {
    return i8(static_cast<std::int64_t>(s.size())) + s;
}

/// A point of 16-bit integer VDC, the default.
inline std::string pt(int x, int y) {
    return i16(x) + i16(y);
}

/// An element in one partition: the short form below 31 bytes, else the long form; a padding
/// byte after an odd parameter list.
inline std::string element(int elementClass, int id, const std::string& params) {
    const std::size_t n = params.size();
    const int head = (elementClass << 12) | (id << 5);
    std::string out = n < 31 ? i16(head | static_cast<int>(n))
                             : i16(head | 31) + i16(static_cast<std::int64_t>(n));
    out += params;
    if (n % 2 == 1) out += '\0';
    return out;
}

inline std::string begmf(const std::string& name = "t") {
    return element(0, 1, str(name));
}
inline std::string endmf() {
    return element(0, 2, "");
}
inline std::string begpic(const std::string& name = "p") {
    return element(0, 3, str(name));
}
inline std::string begpicbody() {
    return element(0, 4, "");
}
inline std::string endpic() {
    return element(0, 5, "");
}

/// A metafile around a body that goes into one picture body.
inline std::string picture(const std::string& descriptor, const std::string& body,
                           const std::string& header = "") {
    return begmf() + header + begpic() + descriptor + begpicbody() + body + endpic() + endmf();
}

/// The decoded elements between BEGPICBODY and ENDPIC of the first picture.
inline std::vector<CGMElement> bodyOf(const CGMMetafile& mf) {
    std::vector<CGMElement> out;
    bool in = false;
    for (const CGMElement& e : mf.elements) {
        if (e.keyword == "ENDPIC") break;
        if (in) out.push_back(e);
        if (e.keyword == "BEGPICBODY") in = true;
    }
    return out;
}

inline CGMValue I(std::int64_t v) {
    return CGMValue::makeInteger(v);
}
inline CGMValue R(double v) {
    return CGMValue::makeReal(v);
}
inline CGMValue P(double x, double y) {
    return CGMValue::makePoint(x, y);
}
inline CGMValue S(const std::string& s) {
    return CGMValue::makeString(s);
}
inline CGMValue C(std::int64_t r, std::int64_t g, std::int64_t b) {
    return CGMValue::makeColour(r, g, b);
}
inline CGMValue X(std::int64_t v) {
    return CGMValue::makeIndex(v);
}
using Values = std::vector<CGMValue>;

}  // namespace cgmbytes
