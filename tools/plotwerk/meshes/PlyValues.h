#pragma once

#include <cstdint>
#include <streambuf>

#include "meshes/PlyHeader.h"

/// The values of a PLY file's body one after the other, as numbers whatever their type, in
/// ASCII or binary of either byte order.
class PlyValues {
  public:
    /// `in` where the body begins.
    PlyValues(std::streambuf& in, PlyHeader::Format format) : in_(in), format_(format) {}

    /// The next value; false at the file's end, or at a word that is no number.
    bool next(PlyHeader::Type type, double& value);
    /// One property of a record: a value, or a list's length and then its items. `length` is
    /// 1 for a value; `value` is the last number read. False where the file ends first, or
    /// holds a word that is no number or a length that is no whole number.
    bool readProperty(const PlyHeader::Property& property, std::uint64_t& length, double& value);
    /// Reads past every record of `element`; false as readProperty is.
    bool readPast(const PlyHeader::Element& element);

  private:
    bool word(double& value);
    bool binary(PlyHeader::Type type, double& value);
    bool skip(std::uint64_t bytes);

    std::streambuf& in_;
    PlyHeader::Format format_;
};
