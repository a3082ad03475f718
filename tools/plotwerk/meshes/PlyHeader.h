#pragma once

#include <cstdint>
#include <ios>
#include <istream>
#include <set>
#include <string>
#include <vector>

/// The header of a PLY file: the body's format and the elements it holds, in order, each a
/// count of records of properties.
class PlyHeader {
  public:
    enum class Format { ASCII, BINARY_LE, BINARY_BE };
    enum class Type { INT8, UINT8, INT16, UINT16, INT32, UINT32, FLOAT32, FLOAT64, NONE };

    struct Property {
        std::string name;
        Type type = Type::NONE;
        Type lengthType = Type::NONE;  ///< a list's length; NONE for a single value
    };
    struct Element {
        std::string name;
        std::uint64_t count = 0;
        std::vector<Property> properties;
    };

    /// Reads the header from `in` at the file's start, and leaves `in` where the body begins.
    static PlyHeader read(std::istream& in);
    /// Whether `in` starts as a PLY file may ("ply" in any case); either way it is left at the
    /// file's start.
    static bool startsAt(std::istream& in);
    /// The bytes of a value of `type` in a binary body.
    static std::streamsize sizeOf(Type type);

    Format format = Format::ASCII;
    std::vector<Element> elements;
    /// Why the header cannot be read; empty when it can.
    std::string problem;
    /// Whether its "end_header" line came.
    bool ended = false;

  private:
    void readElement(std::istream& words, std::set<std::string>& names);
    void readProperty(std::istream& words);
};
