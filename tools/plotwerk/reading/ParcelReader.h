#pragma once

#include <cstdint>
#include <cstring>
#include <string>

/// Takes back, front to back, what a ParcelWriter put into a parcel. A take that would read
/// past the parcel's end fails and takes nothing, so that a parcel cut short (its writer
/// crashed) is found out, not read beyond.
class ParcelReader {
  public:
    explicit ParcelReader(const std::string& parcel) : parcel_(parcel) {}

    template <typename Value>
    bool take(Value& value) {
        return takeArray(&value, 1);
    }
    /// `count` values into `values`, which must hold them.
    template <typename Value>
    bool takeArray(Value* values, std::uint64_t count) {
        if (count > left() / sizeof(Value)) return false;
        if (count) std::memcpy(values, parcel_.data() + at_, count * sizeof(Value));
        at_ += count * sizeof(Value);
        return true;
    }
    /// Whether the parcel holds `count` more values of `Value`: check before making room.
    template <typename Value>
    bool holds(std::uint64_t count) const {
        return count <= left() / sizeof(Value);
    }
    bool takeString(std::string& text) {
        std::uint32_t length = 0;
        if (!take(length) || length > left()) return false;
        text.assign(parcel_, at_, length);
        at_ += length;
        return true;
    }
    std::size_t left() const { return parcel_.size() - at_; }

  private:
    const std::string& parcel_;
    std::size_t at_ = 0;
};
