#pragma once

#include <Tessara/fields/SoSFEnum.h>

/// An enumeration field whose value is a combination of flags: "( SIDES | BOTTOM )".
class SoSFBitMask : public SoSFEnum {
  public:
    using SoSFEnum::SoSFEnum;
    SoSFBitMask& operator=(int value) {
        setValue(value);
        return *this;
    }
    bool read(SoInput* in) override;
    void write(SoOutput* out) const override;
};
