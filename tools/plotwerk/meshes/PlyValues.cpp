#include "meshes/PlyValues.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

using Type = PlyHeader::Type;

template <typename Real, typename Bits>
double realOf(std::uint64_t bits) {
    const Bits narrow = static_cast<Bits>(bits);
    Real value;
    std::memcpy(&value, &narrow, sizeof value);
    return static_cast<double>(value);
}

// The number of `type` whose bytes, in the machine's order or not, make `bits`.
double numberOf(Type type, std::uint64_t bits) {
    switch (type) {
        case Type::INT8:
            return static_cast<std::int8_t>(bits);
        case Type::INT16:
            return static_cast<std::int16_t>(bits);
        case Type::INT32:
            return static_cast<std::int32_t>(bits);
        case Type::FLOAT32:
            return realOf<float, std::uint32_t>(bits);
        case Type::FLOAT64:
            return realOf<double, std::uint64_t>(bits);
        default:  // the unsigned types
            return static_cast<double>(bits);
    }
}

// The bytes of each record of an element without lists; 0 where it has a list.
std::uint64_t fixedRecordSize(const PlyHeader::Element& element) {
    std::uint64_t size = 0;
    for (const PlyHeader::Property& property : element.properties) {
        if (property.lengthType != Type::NONE) return 0;
        size += static_cast<std::uint64_t>(PlyHeader::sizeOf(property.type));
    }
    return size;
}

}  // namespace

bool PlyValues::next(Type type, double& value) {
    return format_ == PlyHeader::Format::ASCII ? word(value) : binary(type, value);
}

bool PlyValues::word(double& value) {
    int c = in_.sgetc();
    while (c != EOF && std::isspace(c)) c = in_.snextc();
    std::array<char, 64> text;
    std::size_t length = 0;
    for (; c != EOF && !std::isspace(c); c = in_.snextc())
        if (length < text.size()) text[length++] = static_cast<char>(c);
    const char* end = text.data() + length;
    return length > 0 && length < text.size() &&
           std::from_chars(text.data(), end, value).ptr == end;
}

bool PlyValues::binary(Type type, double& value) {
    unsigned char bytes[8];
    const std::streamsize size = PlyHeader::sizeOf(type);
    if (in_.sgetn(reinterpret_cast<char*>(bytes), size) != size) return false;
    if (format_ == PlyHeader::Format::BINARY_BE) std::reverse(bytes, bytes + size);
    std::uint64_t bits = 0;
    for (std::streamsize i = size; i-- > 0;) bits = bits << 8 | bytes[i];
    value = numberOf(type, bits);
    return true;
}

bool PlyValues::skip(std::uint64_t bytes) {
    const std::streamoff here = in_.pubseekoff(0, std::ios::cur, std::ios::in);
    const std::streamoff end = in_.pubseekoff(0, std::ios::end, std::ios::in);
    if (here < 0 || end < here || static_cast<std::uint64_t>(end - here) < bytes) return false;
    in_.pubseekpos(here + static_cast<std::streamoff>(bytes), std::ios::in);
    return true;
}

bool PlyValues::readProperty(const PlyHeader::Property& property, std::uint64_t& length,
                             double& value) {
    length = 1;
    if (property.lengthType != Type::NONE) {
        // A length must be a whole number that a file could hold.
        if (!next(property.lengthType, value) || !(value >= 0 && value < 4294967296.0) ||
            value != std::floor(value))
            return false;
        length = static_cast<std::uint64_t>(value);
    }
    for (std::uint64_t i = 0; i < length; ++i)
        if (!next(property.type, value)) return false;
    return true;
}

// Binary records of a fixed size are passed over at once.
bool PlyValues::readPast(const PlyHeader::Element& element) {
    const std::uint64_t size = format_ == PlyHeader::Format::ASCII ? 0 : fixedRecordSize(element);
    if (size > 0) return element.count <= ~std::uint64_t(0) / size && skip(size * element.count);
    if (element.properties.empty()) return true;
    std::uint64_t length = 0;
    double value = 0;
    for (std::uint64_t i = 0; i < element.count; ++i)
        for (const PlyHeader::Property& property : element.properties)
            if (!readProperty(property, length, value)) return false;
    return true;
}
