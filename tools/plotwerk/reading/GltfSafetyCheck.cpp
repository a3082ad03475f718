#include "reading/GltfSafetyCheck.h"

#include <rapidjson/reader.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <vector>

namespace {

// A binary glTF, versions 1 and 2 alike: a 12-byte header, then the JSON's length, a word
// naming its kind and the JSON itself.
constexpr std::size_t kBinaryJsonOffset = 20;

std::uint32_t littleEndianWord(const std::string& bytes, std::size_t at) {
    std::uint32_t word = 0;
    for (int k = 3; k >= 0; --k) word = (word << 8) | static_cast<unsigned char>(bytes[at + k]);
    return word;
}

/// The first byte that is not white space or a byte-order mark, or -1; the file is read no
/// further.
int firstSignificantByte(std::ifstream& file) {
    static const char kByteOrderMark[] = "\xEF\xBB\xBF";
    int c = file.get();
    for (int k = 0; k < 3 && c == static_cast<unsigned char>(kByteOrderMark[k]); ++k)
        c = file.get();
    while (c == ' ' || c == '\t' || c == '\r' || c == '\n') c = file.get();
    return c;
}

/// The bytes of the file from where it is read to its end.
std::size_t bytesLeftIn(std::ifstream& file) {
    const std::streamoff at = file.tellg();
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    file.seekg(at);
    return static_cast<std::size_t>(end - at);
}

/// The rest of the file from where it is read, or its next `most` bytes if fewer.
std::string restOf(std::ifstream& file, std::size_t most) {
    std::string bytes(std::min(most, bytesLeftIn(file)), '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

/// The JSON of a glTF file, or nothing when the file is neither kind; only a file that is one
/// as far as its first bytes tell is read (many a mesh starts with "g"), and of a binary one
/// only its JSON, not the buffers that follow. `problem` tells of a binary one whose header
/// gives its JSON more bytes than the file holds: the importer makes room for them and fills
/// it, gigabytes for a few bytes.
bool jsonOf(const std::string& path, std::string& json, std::string& problem) {
    std::ifstream file(path, std::ios::binary);
    const int first = firstSignificantByte(file);
    if (first == '{') {
        json = "{" + restOf(file, std::string::npos);
        return true;
    }
    if (first != 'g') return false;
    std::string header(kBinaryJsonOffset, 'g');
    if (!file.read(&header[1], kBinaryJsonOffset - 1) || header.compare(0, 4, "glTF") != 0)
        return false;
    const std::uint32_t jsonBytes = littleEndianWord(header, 12);
    if (jsonBytes > bytesLeftIn(file))
        problem = "its binary header gives its JSON " + std::to_string(jsonBytes) +
                  " bytes, more than the file holds";
    json = restOf(file, jsonBytes);
    return true;
}

/// The media type a data URI declares: what lies between "data:" and the first ';' or ','.
bool dataUriType(const std::string& uri, std::string& type) {
    if (uri.compare(0, 5, "data:") != 0) return false;
    type = uri.substr(5, uri.find_first_of(";,", 5) - 5);
    return true;
}

/// Walks the whole document with the importer's own JSON rules, repeated keys included
/// (a lookup takes only one of them, and which is not ours to guess), and notes the first
/// image whose media type lacks its "/". An image is any object in the top-level "images",
/// an array in version 2 and an object in version 1; its media type may sit in an extension.
class ImageTypeWalker : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, ImageTypeWalker> {
  public:
    std::string problem;

    bool Key(const char* text, rapidjson::SizeType length, bool) {
        const std::string name(text, length);
        if (keys_.size() == 1) inImages_ = name == "images";
        if (!keys_.empty()) keys_.back() = name;
        return true;
    }
    bool String(const char* text, rapidjson::SizeType length, bool) {
        if (!inImages_ || keys_.size() < 3) return true;
        const std::string value(text, length);
        std::string type;
        if (keys_.back() == "mimeType")
            type = value;
        else if (keys_.back() != "uri" || !dataUriType(value, type))
            return true;
        // No type at all is no harm: the importer then leaves the file type open.
        if (!type.empty() && type.find('/') == std::string::npos)
            problem = "an embedded image's media type \"" + type + "\" names no subtype";
        return problem.empty();
    }
    bool StartObject() { return enter(); }
    bool StartArray() { return enter(); }
    bool EndObject(rapidjson::SizeType) { return leave(); }
    bool EndArray(rapidjson::SizeType) { return leave(); }

  private:
    // One entry per open container, holding the key last read in it: entry 1 is the
    // document, 2 the images' container, 3 an image, further ones what an image holds.
    std::vector<std::string> keys_;
    bool inImages_ = false;

    bool enter() {
        keys_.emplace_back();
        return true;
    }
    bool leave() {
        keys_.pop_back();
        if (keys_.size() == 1) inImages_ = false;
        return true;
    }
};

/// Whether arrays and objects nest deeper than `limit` anywhere in the JSON, read without
/// recursion; brackets within strings do not count.
bool nestsDeeperThan(const std::string& json, int limit) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') ++i;
            inString = c != '"';
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

}  // namespace

std::string GltfSafetyCheck::problemIn(const std::string& path) {
    std::string json, problem;
    if (!jsonOf(path, json, problem) || !problem.empty()) return problem;
    if (nestsDeeperThan(json, kMaxDepth))
        return "its JSON nests deeper than " + std::to_string(kMaxDepth) + " levels";
    ImageTypeWalker walker;
    // In place, as the importer reads it; and so the parser needs no stack of its own for
    // strings, whose first growth, from nothing, is undefined behaviour in this version.
    rapidjson::InsituStringStream stream(json.data());
    rapidjson::Reader reader;
    // A document the importer's parser refuses never reaches its images either.
    reader.Parse<rapidjson::kParseInsituFlag>(stream, walker);
    return walker.problem;
}
