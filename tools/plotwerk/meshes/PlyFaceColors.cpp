// The header declares elements, each a count of records of properties, in the order the body
// holds them. Binary records have no marks between them, so every property of every element
// before the faces is read past by its type; a list gives its length first.

#include "meshes/PlyFaceColors.h"

#include <algorithm>
#include <cmath>

#include "meshes/PlyHeader.h"
#include "meshes/PlyValues.h"

namespace {

using Type = PlyHeader::Type;
using Property = PlyHeader::Property;
using Element = PlyHeader::Element;

// The value that stands for full intensity in a colour component of this type.
double fullOf(Type type) {
    static const double kFull[] = {127, 255, 32767, 65535, 2147483647.0, 4294967295.0, 1, 1, 1};
    return kFull[static_cast<int>(type)];
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

bool readFace(PlyValues& values, const Element& faces, FaceColors& result) {
    float rgb[3] = {0, 0, 0};
    for (const Property& property : faces.properties) {
        std::uint64_t length = 0;
        double value = 0;
        if (!values.readProperty(property, length, value)) return false;
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
    PlyValues values(*in.rdbuf(), header.format);
    for (auto element = header.elements.begin(); element != faces; ++element)
        if (!values.readPast(*element)) {
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
