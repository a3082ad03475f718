#pragma once

#include <Tessara/fields/SoField.h>
#include <Tessara/fields/SoFieldCodec.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

/// A field holding an array of values of type T.
template <class T>
class SoMField : public SoField {
  public:
    SoMField() = default;
    SoMField(std::initializer_list<T> initial) : values_(initial) {}

    int getNum() const { return static_cast<int>(values_.size()); }
    /// Resizes; new values are default-constructed.
    void setNum(int num) {
        values_.resize(num < 0 ? 0 : num);
        valueChanged();
    }
    /// Value i; i must be in 0..getNum()-1.
    const T& operator[](int i) const { return values_[i]; }
    const T* getValues(int start) const { return values_.data() + start; }

    /// Direct write access to the array; call finishEditing() afterwards.
    T* startEditing() { return values_.data(); }
    void finishEditing() { valueChanged(); }

    /// Replaces the whole array by one value.
    void setValue(const T& value) {
        values_.assign(1, value);
        valueChanged();
    }
    SoMField& operator=(const T& value) {
        setValue(value);
        return *this;
    }
    /// Writes `num` values from `start`, growing the array when needed.
    void setValues(int start, int num, const T* values) {
        if (start < 0 || num < 0) return;
        if (start + num > getNum()) values_.resize(start + num);
        std::copy(values, values + num, values_.begin() + start);
        valueChanged();
    }
    void setValues(std::initializer_list<T> values) {
        values_.assign(values);
        valueChanged();
    }
    /// Sets value `index`, growing the array when needed.
    void set1Value(int index, const T& value) {
        if (index < 0) return;
        if (index >= getNum()) values_.resize(index + 1);
        values_[index] = value;
        valueChanged();
    }
    /// Removes `num` values from `start` (-1: to the end).
    void deleteValues(int start, int num = -1) {
        if (start < 0 || start >= getNum()) return;
        const int end = num < 0 ? getNum() : std::min(getNum(), start + num);
        values_.erase(values_.begin() + start, values_.begin() + end);
        valueChanged();
    }
    void insertSpace(int start, int num) {
        if (start < 0 || start > getNum() || num <= 0) return;
        values_.insert(values_.begin() + start, num, T());
        valueChanged();
    }
    /// Index of the first value equal to `value`, or -1.
    int find(const T& value) const {
        for (int i = 0; i < getNum(); ++i)
            if (values_[i] == value) return i;
        return -1;
    }
    bool operator==(const SoMField& other) const { return values_ == other.values_; }
    bool operator!=(const SoMField& other) const { return !(values_ == other.values_); }

    bool read(SoInput* in) override {
        std::vector<T> readValues;
        const bool ok = SoFieldCodec::readList(
            in, [&] { readValues.clear(); },
            [&](SoInput* input) {
                T value{};
                if (!SoFieldCodec::read(input, value)) return false;
                readValues.push_back(value);
                return true;
            });
        if (!ok) return false;
        values_.swap(readValues);
        valueChanged();
        return true;
    }
    void write(SoOutput* out) const override {
        SoFieldCodec::writeList(out, getNum(), [this](SoOutput* output, int i) {
            SoFieldCodec::write(output, values_[i]);
        });
    }

  private:
    std::vector<T> values_;
};
