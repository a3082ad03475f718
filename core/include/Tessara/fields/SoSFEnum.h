#pragma once

#include <Tessara/fields/SoField.h>

/// One name of an enumeration as scene files spell it.
struct SoEnumEntry {
    const char* name;
    int value;
};

/// A field holding one value of an enumeration; files write it by name.
class SoSFEnum : public SoField {
  public:
    SoSFEnum() = default;
    /// `entries` must outlive the field (a static table of the node class).
    SoSFEnum(const SoEnumEntry* entries, int numEntries, int initial)
        : entries_(entries), numEntries_(numEntries), value_(initial) {}

    void setEnums(const SoEnumEntry* entries, int numEntries);
    int getValue() const { return value_; }
    void setValue(int value) {
        value_ = value;
        valueChanged();
    }
    SoSFEnum& operator=(int value) {
        setValue(value);
        return *this;
    }
    /// Sets by name; false when the name is not one of the enumeration's.
    bool setValue(const char* name);
    /// The name of `value`, or null.
    const char* getName(int value) const;
    /// The value of `name`; false when unknown.
    bool findValue(const char* name, int& value) const;
    int getNumEnums() const { return numEntries_; }
    bool operator==(const SoSFEnum& other) const { return value_ == other.value_; }

    bool read(SoInput* in) override;
    void write(SoOutput* out) const override;

  protected:
    /// Reads a name or an integer (used for each part of a bit mask too).
    bool readOneValue(SoInput* in, int& value) const;

  private:
    const SoEnumEntry* entries_ = nullptr;
    int numEntries_ = 0;
    int value_ = 0;
};
