#pragma once

#include <cstddef>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

/// Splits a binary metafile into its elements the way a reader of the format does: command
/// header, short or long form, partitions, the pad byte after odd parameter lists. Written
/// from the format's framing rules alone, so it checks the writer rather than echoing it.
class CGMElementReader {
  public:
    struct Element {
        int cls = 0;
        int id = 0;
        Bytes params;
        std::size_t offset = 0;  // of the header's first byte
        int partitions = 0;      // 0 for the short form
    };

    /// Reads every element; false (with error()) at the first framing fault.
    bool read(const Bytes& bytes);
    const std::vector<Element>& elements() const { return found; }
    const std::string& error() const { return problem; }

  private:
    bool word(const Bytes& bytes, std::size_t& pos, unsigned int& value);
    bool fail(const std::string& what, std::size_t pos);

    std::vector<Element> found;
    std::string problem;
};
