#include <Tessara/fields/SoFieldCodec.h>
#include <Tessara/fields/SoSFEnum.h>
#include <Tessara/io/SoInput.h>

#include <cstring>

void SoSFEnum::setEnums(const SoEnumEntry* entries, int numEntries) {
    entries_ = entries;
    numEntries_ = numEntries;
}

bool SoSFEnum::setValue(const char* name) {
    int value = 0;
    if (!findValue(name, value)) return false;
    setValue(value);
    return true;
}

const char* SoSFEnum::getName(int value) const {
    for (int i = 0; i < numEntries_; ++i)
        if (entries_[i].value == value) return entries_[i].name;
    return nullptr;
}

bool SoSFEnum::findValue(const char* name, int& value) const {
    if (!name) return false;
    for (int i = 0; i < numEntries_; ++i) {
        if (std::strcmp(entries_[i].name, name) == 0) {
            value = entries_[i].value;
            return true;
        }
    }
    return false;
}

bool SoSFEnum::readOneValue(SoInput* in, int& value) const {
    char c = 0;
    if (!in->read(c)) {
        in->postError("SoSFEnum::read", "Premature end of input: expected an enumeration value");
        return false;
    }
    in->putBack(c);
    if (c == '-' || (c >= '0' && c <= '9')) {
        int32_t number = 0;
        if (!SoFieldCodec::read(in, number)) return false;
        value = number;
        return true;
    }
    SbName name;
    if (!in->read(name, true)) {
        in->postError("SoSFEnum::read", "Expected an enumeration value name");
        return false;
    }
    if (!findValue(name.getString(), value)) {
        in->postError("SoSFEnum::read", "Unknown enumeration value \"%s\"", name.getString());
        return false;
    }
    return true;
}

bool SoSFEnum::read(SoInput* in) {
    int value = 0;
    if (!readOneValue(in, value)) return false;
    setValue(value);
    return true;
}

void SoSFEnum::write(SoOutput* out) const {
    const char* name = getName(value_);
    if (name)
        SoFieldCodec::write(out, SbName(name));
    else
        SoFieldCodec::write(out, static_cast<int32_t>(value_));
}
