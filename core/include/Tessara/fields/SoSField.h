#pragma once

#include <Tessara/fields/SoField.h>
#include <Tessara/fields/SoFieldCodec.h>

/// A field holding one value of type T.
template <class T>
class SoSField : public SoField {
  public:
    SoSField() : value_() {}
    explicit SoSField(const T& initial) : value_(initial) {}

    const T& getValue() const { return value_; }
    void setValue(const T& value) {
        value_ = value;
        valueChanged();
    }
    SoSField& operator=(const T& value) {
        setValue(value);
        return *this;
    }
    bool operator==(const SoSField& other) const { return value_ == other.value_; }
    bool operator!=(const SoSField& other) const { return !(value_ == other.value_); }

    bool read(SoInput* in) override {
        T value{};
        if (!SoFieldCodec::read(in, value)) return false;
        setValue(value);
        return true;
    }
    void write(SoOutput* out) const override { SoFieldCodec::write(out, value_); }

  private:
    T value_;
};
