#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

/// A hash of values by their bits, for finding exact copies: equal bits give equal hashes,
/// where a hash of the numbers would let 0 and -0 meet although a byte comparison parts them.
class SoBitsHash {
  public:
    explicit SoBitsHash(std::uint64_t seed) : hash_(0x9E3779B97F4A7C15ull ^ seed) {}

    /// Mixes in the bytes, taken as 32-bit words; a tail shorter than a word is left out.
    void add(const void* data, std::size_t bytes) {
        const auto* at = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i + sizeof(std::uint32_t) <= bytes; i += sizeof(std::uint32_t)) {
            std::uint32_t word;
            std::memcpy(&word, at + i, sizeof word);
            hash_ = (hash_ ^ word) * 0x100000001B3ull;
            hash_ ^= hash_ >> 29;
        }
    }
    std::uint64_t value() const { return hash_; }

  private:
    std::uint64_t hash_;
};
