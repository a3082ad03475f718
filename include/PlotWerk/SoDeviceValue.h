#pragma once

#include <optional>

/// One setting as the output device already has it, so that a backend writes a setting only
/// when the device holds another value or none known. Unknown after invalidate() (a new
/// header, a restore), until the backend writes or assumes a value.
template <class T>
class SoDeviceValue {
  public:
    /// True when `value` must be written; the device is taken to hold it from now on.
    bool changesTo(const T& value) {
        if (held_ && *held_ == value) return false;
        held_ = value;
        return true;
    }
    /// The device holds `value` without being told: what a header or a reset sets up.
    void assume(const T& value) { held_ = value; }
    void invalidate() { held_.reset(); }
    const std::optional<T>& get() const { return held_; }

  private:
    std::optional<T> held_;
};
