#pragma once

#include <cstdint>
#include <string>

/// Appends numbers, arrays and strings to a parcel of bytes, in the machine's own byte order:
/// the one who reads it back is the same program (see ParcelReader). Without a parcel it only
/// measures, so that a parcel of hundreds of megabytes can be given its room at once: grown
/// step by step, it would need half as much again while the last step copies it.
class ParcelWriter {
  public:
    explicit ParcelWriter(std::string* parcel) : parcel_(parcel) {}

    template <typename Value>
    void put(const Value& value) {
        append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    /// `count` values from `values`, which may be null when `count` is 0.
    template <typename Value>
    void putArray(const Value* values, std::uint64_t count) {
        if (count) append(reinterpret_cast<const char*>(values), count * sizeof(Value));
    }
    /// A length, then the characters.
    void putString(const char* text, std::uint32_t length) {
        put(length);
        append(text, length);
    }
    /// The bytes put so far.
    std::uint64_t size() const { return size_; }

  private:
    void append(const char* bytes, std::uint64_t count) {
        if (parcel_) parcel_->append(bytes, count);
        size_ += count;
    }

    std::string* parcel_;
    std::uint64_t size_ = 0;
};
