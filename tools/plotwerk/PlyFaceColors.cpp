// The header declares elements, each a count of records of properties, in the order the body
// holds them. Binary records have no marks between them, so every property of every element
// before the faces is read past by its type; a list gives its length first.

#include "PlyFaceColors.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

#include "PlyHeader.h"

namespace {

using Format = PlyHeader::Format;
using Type = PlyHeader::Type;
using Property = PlyHeader::Property;
using Element = PlyHeader::Element;

// The value that stands for full intensity in a colour component of this type.
double fullOf(Type type) {
    static const double kFull[] = {127, 255, 32767, 65535, 2147483647.0, 4294967295.0, 1, 1, 1};
    return kFull[static_cast<int>(type)];
}

/// The body's values one after the other, as numbers whatever their type.
class Values {
  public:
    Values(std::streambuf& in, Format format) : in_(in), format_(format) {}

    /// False at the file's end, or at a word that is no number.
    bool next(Type type, double& value) {
        return format_ == Format::ASCII ? word(value) : binary(type, value);
    }

    /// Passes over `bytes` of a binary body.
    void skip(std::uint64_t bytes) {
        in_.pubseekoff(static_cast<std::streamoff>(bytes), std::ios::cur, std::ios::in);
    }

  private:
    bool word(double& value) {
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

    bool binary(Type type, double& value) {
        unsigned char bytes[8];
        const std::streamsize size = PlyHeader::sizeOf(type);
        if (in_.sgetn(reinterpret_cast<char*>(bytes), size) != size) return false;
        if (format_ == Format::BINARY_BE) std::reverse(bytes, bytes + size);
        std::uint64_t bits = 0;
        for (std::streamsize i = size; i-- > 0;) bits = bits << 8 | bytes[i];
        value = numberOf(type, bits);
        return true;
    }

    // The number of `type` whose bytes, in the machine's order or not, make `bits`.
    static double numberOf(Type type, std::uint64_t bits) {
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

    template <typename Real, typename Bits>
    static double realOf(std::uint64_t bits) {
        const Bits narrow = static_cast<Bits>(bits);
        Real value;
        std::memcpy(&value, &narrow, sizeof value);
        return static_cast<double>(value);
    }

    std::streambuf& in_;
    Format format_;
};

// One property of a record: a value, or a list's length and then its items. `length` is 1
// for a value; `value` is the last number read.
bool readValues(Values& values, const Property& property, std::uint64_t& length, double& value) {
    length = 1;
    if (property.lengthType != Type::NONE) {
        // A length must be a whole number that a file could hold.
        if (!values.next(property.lengthType, value) || !(value >= 0 && value < 4294967296.0) ||
            value != std::floor(value))
            return false;
        length = static_cast<std::uint64_t>(value);
    }
    for (std::uint64_t i = 0; i < length; ++i)
        if (!values.next(property.type, value)) return false;
    return true;
}

// The bytes of each record of an element without lists; 0 where it has a list.
std::uint64_t fixedRecordSize(const Element& element) {
    std::uint64_t size = 0;
    for (const Property& property : element.properties) {
        if (property.lengthType != Type::NONE) return 0;
        size += static_cast<std::uint64_t>(PlyHeader::sizeOf(property.type));
    }
    return size;
}

bool readPast(Values& values, const Element& element, Format format) {
    const std::uint64_t size = format == Format::ASCII ? 0 : fixedRecordSize(element);
    if (size > 0 && element.count < (std::uint64_t(1) << 62) / size) {
        values.skip(size * element.count);
        return true;
    }
    if (element.properties.empty()) return true;
    std::uint64_t length = 0;
    double value = 0;
    for (std::uint64_t i = 0; i < element.count; ++i)
        for (const Property& property : element.properties)
            if (!readValues(values, property, length, value)) return false;
    return true;
}

// Which component of the colour a property gives: 0 to 2, or -1.
int componentNamed(const std::string& name) {
    static const char* const kNames[][3] = {{"red", "green", "blue"},
                                            {"r", "g", "b"},
                                            {"diffuse_red", "diffuse_green", "diffuse_blue"}};
    for (const auto& names : kNames)
        for (int k = 0; k < 3; ++k)
            if (name == names[k]) return k;
    return -1;
}

bool hasColors(const Element& faces) {
    int found = 0;
    for (const Property& property : faces.properties)
        if (property.lengthType == Type::NONE && componentNamed(property.name) >= 0)
            found |= 1 << componentNamed(property.name);
    return found == 7;
}

bool readFace(Values& values, const Element& faces, FaceColors& result) {
    float rgb[3] = {0, 0, 0};
    for (const Property& property : faces.properties) {
        std::uint64_t length = 0;
        double value = 0;
        if (!readValues(values, property, length, value)) return false;
        if (property.lengthType != Type::NONE) {
            if (property.name == "vertex_indices" || property.name == "vertex_index")
                result.corners += length;
            continue;
        }
        const int component = componentNamed(property.name);
        // NaN compares false and keeps the 0 it started with.
        if (component >= 0 && value > 0)
            rgb[component] = static_cast<float>(std::min(1.0, value / fullOf(property.type)));
    }
    result.colors.emplace_back(SbColor(rgb));
    return true;
}

}  // namespace

FaceColors PlyFaceColors::read(std::istream& in) {
    const PlyHeader header = PlyHeader::read(in);
    FaceColors result;
    if (!header.problem.empty()) {
        result.problem = header.problem;
        return result;
    }
    const auto faces = std::find_if(header.elements.begin(), header.elements.end(),
                                    [](const Element& e) { return e.name == "face"; });
    if (faces == header.elements.end() || !hasColors(*faces)) return result;
    Values values(*in.rdbuf(), header.format);
    for (auto element = header.elements.begin(); element != faces; ++element)
        if (!readPast(values, *element, header.format)) {
            result.problem = "the file ends before its faces";
            return result;
        }
    result.colors.reserve(std::min<std::uint64_t>(faces->count, 1 << 20));
    for (std::uint64_t f = 0; f < faces->count; ++f)
        if (!readFace(values, *faces, result)) {
            result = FaceColors();
            result.problem = "face " + std::to_string(f + 1) + " is cut short or not a number";
            return result;
        }
    return result;
}
