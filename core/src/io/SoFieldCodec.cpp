#include <Tessara/base/SoSceneLimits.h>
#include <Tessara/fields/SoFieldCodec.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/io/SoOutput.h>

#include <cmath>
#include <string>

#include "io/SoNumberText.h"
#include "io/SoRotationText.h"

namespace {

const char* const kSource = "SoFieldCodec::read";

// How an unexpected character is shown in a message: printable ones quoted, others by code.
std::string describe(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) return std::string("'") + c + "'";
    char text[16];
    std::snprintf(text, sizeof(text), "byte 0x%02X", byte);
    return text;
}

// Reads the token of a number, posting what was found instead when there is none.
bool readNumberToken(SoInput* in, const char* what, std::string& token) {
    if (in->readToken(token)) return true;
    char c = 0;
    if (!in->read(c)) {
        in->postError(kSource, "Premature end of input: expected %s", what);
        return false;
    }
    in->putBack(c);
    in->postError(kSource, "Expected %s, got %s", what, describe(c).c_str());
    return false;
}

bool reportNumber(SoInput* in, SoNumberText::Result result, const char* what,
                  const std::string& token) {
    if (result == SoNumberText::SYNTAX)
        in->postError(kSource, "Expected %s, got \"%s\"", what, token.c_str());
    else if (result == SoNumberText::RANGE)
        in->postError(kSource, "Value \"%s\" is out of range for %s", token.c_str(), what);
    return result == SoNumberText::OK;
}

template <class T>
bool readInteger(SoInput* in, T& value, int bits, bool isSigned, const char* what) {
    std::string token;
    if (!readNumberToken(in, what, token)) return false;
    int64_t parsed = 0;
    if (!reportNumber(in, SoNumberText::parseInteger(token, bits, isSigned, parsed), what, token))
        return false;
    value = static_cast<T>(parsed);
    return true;
}

template <class Vec>
bool readFloats(SoInput* in, Vec& value, int count) {
    for (int i = 0; i < count; ++i)
        if (!SoFieldCodec::read(in, value[i])) return false;
    return true;
}

template <class Vec>
bool readShorts(SoInput* in, Vec& value, int count) {
    for (int i = 0; i < count; ++i)
        if (!SoFieldCodec::read(in, value[i])) return false;
    return true;
}

template <class Vec>
void writeComponents(SoOutput* out, const Vec& value, int count) {
    for (int i = 0; i < count; ++i) {
        if (i > 0) out->write(' ');
        SoFieldCodec::write(out, value[i]);
    }
}

// A name that reads back unquoted: base-name characters, and no '#' that would start a comment.
bool isBareName(const std::string& text) {
    if (text.empty() || !SbName::isBaseNameStartChar(text[0])) return false;
    for (const char c : text)
        if (!SbName::isBaseNameChar(c) || c == '#') return false;
    return true;
}

}  // namespace

bool SoFieldCodec::read(SoInput* in, float& value) {
    std::string token;
    return readNumberToken(in, "a number", token) &&
           reportNumber(in, SoNumberText::parseFloat(token, value), "a number", token);
}

bool SoFieldCodec::read(SoInput* in, double& value) {
    std::string token;
    return readNumberToken(in, "a number", token) &&
           reportNumber(in, SoNumberText::parseDouble(token, value), "a number", token);
}

bool SoFieldCodec::read(SoInput* in, int32_t& value) {
    return readInteger(in, value, 32, true, "a 32-bit integer");
}

bool SoFieldCodec::read(SoInput* in, uint32_t& value) {
    return readInteger(in, value, 32, false, "an unsigned 32-bit integer");
}

bool SoFieldCodec::read(SoInput* in, short& value) {
    return readInteger(in, value, 16, true, "a 16-bit integer");
}

bool SoFieldCodec::read(SoInput* in, unsigned short& value) {
    return readInteger(in, value, 16, false, "an unsigned 16-bit integer");
}

bool SoFieldCodec::read(SoInput* in, bool& value) {
    std::string token;
    if (!readNumberToken(in, "TRUE or FALSE", token)) return false;
    if (token == "TRUE" || token == "1") {
        value = true;
    } else if (token == "FALSE" || token == "0") {
        value = false;
    } else {
        in->postError(kSource, "Expected TRUE, FALSE, 1 or 0, got \"%s\"", token.c_str());
        return false;
    }
    return true;
}

bool SoFieldCodec::read(SoInput* in, SbVec2f& value) {
    return readFloats(in, value, 2);
}
bool SoFieldCodec::read(SoInput* in, SbVec3f& value) {
    return readFloats(in, value, 3);
}
bool SoFieldCodec::read(SoInput* in, SbVec4f& value) {
    return readFloats(in, value, 4);
}
bool SoFieldCodec::read(SoInput* in, SbVec2s& value) {
    return readShorts(in, value, 2);
}
bool SoFieldCodec::read(SoInput* in, SbVec3s& value) {
    return readShorts(in, value, 3);
}
bool SoFieldCodec::read(SoInput* in, SbColor& value) {
    return readFloats(in, value, 3);
}

bool SoFieldCodec::read(SoInput* in, SbRotation& value) {
    double numbers[4] = {0, 0, 0, 0};
    for (double& number : numbers)
        if (!read(in, number)) return false;
    for (const double number : numbers) {
        if (!std::isfinite(number)) {
            in->postError(kSource, "A rotation needs a finite axis and angle");
            return false;
        }
    }
    value = SoRotationText::fromAxisAngle(numbers);
    return true;
}

bool SoFieldCodec::read(SoInput* in, SbMatrix& value) {
    float m[4][4];
    for (auto& row : m)
        for (float& element : row)
            if (!read(in, element)) return false;
    value.setValue(m);
    return true;
}

bool SoFieldCodec::read(SoInput* in, SbString& value) {
    char c = 0;
    if (!in->read(c)) {
        in->postError(kSource, "Premature end of input: expected a string");
        return false;
    }
    in->putBack(c);
    if (in->read(value)) return true;
    if (c == '"')
        in->postError(kSource, "Premature end of input inside a string (no closing '\"')");
    else
        in->postError(kSource, "Expected a string, got %s", describe(c).c_str());
    return false;
}

bool SoFieldCodec::read(SoInput* in, SbName& value) {
    char c = 0;
    if (!in->read(c)) {
        in->postError(kSource, "Premature end of input: expected a name");
        return false;
    }
    in->putBack(c);
    if (c == '"') {
        SbString text;
        if (!read(in, text)) return false;
        value = SbName(text);
        return true;
    }
    if (in->read(value, false)) return true;
    in->postError(kSource, "Expected a name, got %s", describe(c).c_str());
    return false;
}

void SoFieldCodec::write(SoOutput* out, float value) {
    out->write(value);
}
void SoFieldCodec::write(SoOutput* out, double value) {
    out->write(value);
}
void SoFieldCodec::write(SoOutput* out, int32_t value) {
    out->write(value);
}
void SoFieldCodec::write(SoOutput* out, uint32_t value) {
    out->write(value);
}
void SoFieldCodec::write(SoOutput* out, short value) {
    out->write(static_cast<int32_t>(value));
}

void SoFieldCodec::write(SoOutput* out, unsigned short value) {
    out->write(static_cast<uint32_t>(value));
}

void SoFieldCodec::write(SoOutput* out, bool value) {
    out->write(value ? "TRUE" : "FALSE");
}
void SoFieldCodec::write(SoOutput* out, const SbVec2f& value) {
    writeComponents(out, value, 2);
}
void SoFieldCodec::write(SoOutput* out, const SbVec3f& value) {
    writeComponents(out, value, 3);
}
void SoFieldCodec::write(SoOutput* out, const SbVec4f& value) {
    writeComponents(out, value, 4);
}
void SoFieldCodec::write(SoOutput* out, const SbVec2s& value) {
    writeComponents(out, value, 2);
}
void SoFieldCodec::write(SoOutput* out, const SbVec3s& value) {
    writeComponents(out, value, 3);
}
void SoFieldCodec::write(SoOutput* out, const SbColor& value) {
    writeComponents(out, value, 3);
}

void SoFieldCodec::write(SoOutput* out, const SbRotation& value) {
    out->write(SoRotationText::toAxisAngle(value).c_str());
}

void SoFieldCodec::write(SoOutput* out, const SbMatrix& value) {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            if (row > 0 || column > 0) out->write(' ');
            out->write(value[row][column]);
        }
    }
}

void SoFieldCodec::write(SoOutput* out, const SbString& value) {
    out->writeQuoted(value);
}

void SoFieldCodec::write(SoOutput* out, const SbName& value) {
    const std::string text = value.getString();
    if (isBareName(text))
        out->write(text.c_str());
    else
        out->writeQuoted(SbString(text));
}

bool SoFieldCodec::readList(SoInput* in, const std::function<void()>& clear,
                            const std::function<bool(SoInput*)>& readOne) {
    char c = 0;
    if (!in->read(c)) {
        in->postError(kSource, "Premature end of input: expected a value or '['");
        return false;
    }
    clear();
    if (c != '[') {
        in->putBack(c);
        return readOne(in);
    }
    for (int count = 0;; ++count) {
        if (!in->read(c) || c == '}') {
            in->postError(kSource, "Missing ']' at the end of a list of values");
            return false;
        }
        if (c == ']') return true;
        if (count == SoSceneLimits::maxFieldValues) {
            in->postError(kSource, "More than %d values in one field",
                          SoSceneLimits::maxFieldValues);
            return false;
        }
        in->putBack(c);
        if (!readOne(in)) return false;
        if (!in->read(c)) continue;  // reported as a missing ']' above
        if (c == ']') return true;
        if (c != ',') in->putBack(c);  // commas between values are optional
    }
}

void SoFieldCodec::writeList(SoOutput* out, int num,
                             const std::function<void(SoOutput*, int)>& writeOne) {
    if (num == 1) {
        writeOne(out, 0);
        return;
    }
    out->write('[');
    // Continuation lines sit one level deeper than the field they belong to.
    out->incrementIndent();
    for (int i = 0; i < num; ++i) {
        if (i > 0) out->write(',');
        if (i > 0 && out->getColumn() > 90)
            out->newLine();
        else
            out->write(' ');
        writeOne(out, i);
    }
    out->decrementIndent();
    out->write(" ]");
}
