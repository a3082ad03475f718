#include "meshes/PlyHeader.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace {

PlyHeader::Type typeNamed(const std::string& name) {
    using Type = PlyHeader::Type;
    static const std::pair<const char*, Type> kNames[] = {
        {"char", Type::INT8},      {"int8", Type::INT8},       {"uchar", Type::UINT8},
        {"uint8", Type::UINT8},    {"short", Type::INT16},     {"int16", Type::INT16},
        {"ushort", Type::UINT16},  {"uint16", Type::UINT16},   {"int", Type::INT32},
        {"int32", Type::INT32},    {"uint", Type::UINT32},     {"uint32", Type::UINT32},
        {"float", Type::FLOAT32},  {"float32", Type::FLOAT32}, {"double", Type::FLOAT64},
        {"float64", Type::FLOAT64}};
    for (const auto& [text, type] : kNames)
        if (name == text) return type;
    return Type::NONE;
}

}  // namespace

std::streamsize PlyHeader::sizeOf(Type type) {
    static const std::streamsize kSizes[] = {1, 1, 2, 2, 4, 4, 4, 8, 0};
    return kSizes[static_cast<int>(type)];
}

// "property TYPE NAME" or "property list LENGTHTYPE TYPE NAME".
void PlyHeader::readProperty(std::istream& words) {
    std::string type, lengthType, name;
    words >> type;
    if (type == "list") words >> lengthType >> type;
    words >> name;
    const Property property{name, typeNamed(type),
                            lengthType.empty() ? Type::NONE : typeNamed(lengthType)};
    if (property.type == Type::NONE || (!lengthType.empty() && property.lengthType == Type::NONE))
        problem = "a property's type is unknown";
    else if (elements.empty())
        problem = "a property comes before any element";
    else
        elements.back().properties.push_back(property);
}

// "element NAME COUNT". `names` are those of the elements before.
void PlyHeader::readElement(std::istream& words, std::set<std::string>& names) {
    Element element;
    if (!(words >> element.name >> element.count)) problem = "an element has no count";
    // The importer's reader takes such a name's digits for the count, and makes room for that
    // many records.
    if (std::isdigit(static_cast<unsigned char>(element.name[0])))
        problem = "the element \"" + element.name + "\" is named with a digit first";
    if (!names.insert(element.name).second)
        problem = "the element \"" + element.name + "\" is declared twice";
    elements.push_back(element);
}

// Lines are read on past a problem, to the end of the header, so that `ended` holds for any
// file.
PlyHeader PlyHeader::read(std::istream& in) {
    PlyHeader header;
    bool formatSeen = false;
    std::set<std::string> names;
    for (std::string line; !header.ended && std::getline(in, line);) {
        std::istringstream words(line);
        std::string word, format;
        words >> word;
        const std::string before = header.problem;
        if (word == "end_header") {
            header.ended = true;
            if (!formatSeen) header.problem = "no format is named";
        } else if (word == "format") {
            words >> format;
            if (formatSeen) header.problem = "the format is named twice";
            formatSeen = true;
            if (format == "binary_little_endian")
                header.format = Format::BINARY_LE;
            else if (format == "binary_big_endian")
                header.format = Format::BINARY_BE;
            else if (format != "ascii")
                header.problem = "the format is unknown";
        } else if (word == "element") {
            header.readElement(words, names);
        } else if (word == "property") {
            header.readProperty(words);
        } else if (word != "ply" && word != "comment" && word != "obj_info" && !word.empty()) {
            header.problem = "a line starts with a word that is no PLY keyword";
        }
        if (!before.empty()) header.problem = before;  // the first problem is the one to tell
    }
    if (!header.ended) header.problem = "it has no end";
    return header;
}

// As the importer's reader takes it: "ply" in any case, whatever follows.
bool PlyHeader::startsAt(std::istream& in) {
    char start[3] = {};
    in.read(start, sizeof start);
    bool ply = in.gcount() == 3;
    for (int k = 0; k < 3; ++k)
        ply = ply && std::tolower(static_cast<unsigned char>(start[k])) == "ply"[k];
    in.clear();
    in.seekg(0);
    return ply;
}
