#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

/// Indices filed by a hash, to find a match as each new one comes: one flat table, probed
/// in a line, so that a million primitives make no allocation each. The caller says what
/// the hash covers and what a match is; the index keeps only half of each hash, which is
/// plenty to tell entries apart before they are compared.
class SoHashIndex {
  public:
    /// The index filed under hash for which same(index) holds, or -1.
    template <class Same>
    int find(std::uint64_t hash, Same same) const {
        if (slots_.empty()) return -1;
        const std::uint32_t key = halfOf(hash);
        for (size_t at = key & mask(); slots_[at].index >= 0; at = (at + 1) & mask())
            if (slots_[at].key == key && same(slots_[at].index)) return slots_[at].index;
        return -1;
    }
    void add(std::uint64_t hash, int index);

  private:
    struct Slot {
        std::uint32_t key = 0;
        int index = -1;
    };
    static std::uint32_t halfOf(std::uint64_t hash) {
        return static_cast<std::uint32_t>(hash ^ hash >> 32);
    }
    size_t mask() const { return slots_.size() - 1; }
    void place(const Slot& slot);

    std::vector<Slot> slots_;
    size_t count_ = 0;
};
