#include <Tessara/fields/SoFieldCodec.h>
#include <Tessara/fields/SoSFBitMask.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/io/SoOutput.h>

bool SoSFBitMask::read(SoInput* in) {
    char c = 0;
    if (!in->read(c)) {
        in->postError("SoSFBitMask::read", "Premature end of input: expected a bit mask");
        return false;
    }
    if (c != '(') {
        in->putBack(c);
        return SoSFEnum::read(in);
    }
    int mask = 0;
    for (;;) {
        int bits = 0;
        if (!readOneValue(in, bits)) return false;
        mask |= bits;
        if (!in->read(c)) {
            in->postError("SoSFBitMask::read", "Premature end of input inside a bit mask");
            return false;
        }
        if (c == ')') break;
        if (c != '|') {
            in->postError("SoSFBitMask::read", "Expected '|' or ')' in a bit mask, got '%c'", c);
            return false;
        }
    }
    setValue(mask);
    return true;
}

void SoSFBitMask::write(SoOutput* out) const {
    const int mask = getValue();
    const char* exact = getName(mask);
    if (exact) {
        SoFieldCodec::write(out, SbName(exact));
        return;
    }
    // Single-bit names only, lowest first; bits without a name are written as a number.
    out->write("( ");
    int remaining = mask;
    bool first = true;
    for (int bit = 0; bit < 31; ++bit) {
        const int flag = 1 << bit;
        if (!(remaining & flag)) continue;
        const char* name = getName(flag);
        if (!name) continue;
        if (!first) out->write(" | ");
        out->write(name);
        remaining &= ~flag;
        first = false;
    }
    if (remaining || first) {
        if (!first) out->write(" | ");
        SoFieldCodec::write(out, static_cast<int32_t>(remaining));
    }
    out->write(" )");
}
