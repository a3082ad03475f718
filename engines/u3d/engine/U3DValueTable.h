#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace u3d {

/// A list of distinct values of N floats and the index of each: the corners of a mesh name
/// their position, normal and colour by index, so a value shared by many faces is stored once.
/// Values are told apart by their bits, so -0 and 0 are two values; that only costs a copy.
/// The index is an open-addressing table of positions in the list: a million-vertex mesh
/// looks its values up without a heap node per value.
template <std::size_t N>
class U3DValueTable {
  public:
    using Value = std::array<float, N>;

    void reserve(std::size_t count) {
        values_.reserve(count);
        if (slots_.size() < 2 * count) rehash(2 * count);
    }

    std::uint32_t indexOf(const Value& value) {
        if (2 * (values_.size() + 1) > slots_.size()) rehash(2 * (values_.size() + 1));
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = hash(value) & mask;; slot = (slot + 1) & mask) {
            const std::uint32_t index = slots_[slot];
            if (index == kEmpty) {
                slots_[slot] = static_cast<std::uint32_t>(values_.size());
                values_.push_back(value);
                return slots_[slot];
            }
            if (std::memcmp(values_[index].data(), value.data(), sizeof(Value)) == 0) return index;
        }
    }

    const std::vector<Value>& values() const { return values_; }
    std::vector<Value> take() {
        slots_.clear();
        slots_.shrink_to_fit();
        return std::move(values_);
    }

  private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

    static std::size_t hash(const Value& value) {
        std::uint32_t bits[N];
        std::memcpy(bits, value.data(), sizeof bits);
        std::uint64_t h = 1469598103934665603ull;
        for (std::uint32_t b : bits) h = (h ^ b) * 1099511628211ull;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }

    // At least `wanted` slots, a power of two, holding every value again.
    void rehash(std::size_t wanted) {
        std::size_t size = 16;
        while (size < wanted) size *= 2;
        slots_.assign(size, kEmpty);
        for (std::uint32_t index = 0; index < values_.size(); ++index) {
            std::size_t slot = hash(values_[index]) & (size - 1);
            while (slots_[slot] != kEmpty) slot = (slot + 1) & (size - 1);
            slots_[slot] = index;
        }
    }

    std::vector<Value> values_;
    std::vector<std::uint32_t> slots_;
};

}  // namespace u3d
