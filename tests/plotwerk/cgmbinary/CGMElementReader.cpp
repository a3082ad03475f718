#include "CGMElementReader.h"

bool CGMElementReader::fail(const std::string& what, std::size_t pos) {
    problem = what + " at byte " + std::to_string(pos);
    return false;
}

bool CGMElementReader::word(const Bytes& bytes, std::size_t& pos, unsigned int& value) {
    if (pos + 2 > bytes.size()) return fail("truncated word", pos);
    value = static_cast<unsigned int>(bytes[pos]) << 8 | bytes[pos + 1];
    pos += 2;
    return true;
}

bool CGMElementReader::read(const Bytes& bytes) {
    found.clear();
    problem.clear();
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (pos % 2 != 0) return fail("element not on a 16-bit boundary", pos);
        Element element;
        element.offset = pos;
        unsigned int header = 0;
        if (!word(bytes, pos, header)) return false;
        element.cls = static_cast<int>(header >> 12);
        element.id = static_cast<int>((header >> 5) & 0x7F);
        unsigned int length = header & 0x1F;
        bool more = false;
        if (length == 31) {
            unsigned int partition = 0;
            if (!word(bytes, pos, partition)) return false;
            more = (partition & 0x8000) != 0;
            length = partition & 0x7FFF;
            element.partitions = 1;
        }
        for (;;) {
            if (pos + length > bytes.size()) return fail("truncated parameters", pos);
            element.params.insert(element.params.end(), bytes.begin() + pos,
                                  bytes.begin() + pos + length);
            pos += length;
            if (!more) break;
            unsigned int partition = 0;
            if (!word(bytes, pos, partition)) return false;
            more = (partition & 0x8000) != 0;
            length = partition & 0x7FFF;
            ++element.partitions;
        }
        if (element.params.size() % 2 != 0) {
            // The pad may only be missing at the very end, where nothing follows.
            if (pos < bytes.size()) {
                if (bytes[pos] != 0) return fail("pad byte not 0", pos);
                ++pos;
            }
        }
        found.push_back(element);
    }
    return true;
}
