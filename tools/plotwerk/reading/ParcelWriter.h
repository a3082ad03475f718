#pragma once

#include <cstdint>
#include <string>

/// Appends numbers, arrays and strings to a parcel of bytes, in the machine's own byte order:
/// the one who reads it back is the same program (see ParcelReader).
class ParcelWriter {
  public:
    explicit ParcelWriter(std::string& parcel) : parcel_(parcel) {}

    template <typename Value>
    void put(const Value& value) {
        parcel_.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    /// `count` values from `values`, which may be null when `count` is 0.
    template <typename Value>
    void putArray(const Value* values, std::uint64_t count) {
        if (count) parcel_.append(reinterpret_cast<const char*>(values), count * sizeof(Value));
    }
    /// A length, then the characters.
    void putString(const char* text, std::uint32_t length) {
        put(length);
        parcel_.append(text, length);
    }

  private:
    std::string& parcel_;
};
