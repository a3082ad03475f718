#pragma once

#include <cstdint>
#include <string>

/// Number text of scene files, independent of the process locale: parsing of the tokens
/// SoInput hands out (SbNumberFormat writes them).
namespace SoNumberText {

enum Result { OK, SYNTAX, RANGE };

/// An integer of `bits` (at most 32) bits: decimal, 0x hexadecimal or 0 octal, with an optional
/// sign. Hexadecimal and octal text may spell the bit pattern of a negative signed value
/// (0xFFFFFFFF is -1 for 32 bits), as C programmers write masks.
Result parseInteger(const std::string& token, int bits, bool isSigned, int64_t& value);
/// A float or double in C syntax, "nan" and "inf" included. Overflow is a RANGE error;
/// underflow gives zero or a subnormal, which is what the text means.
Result parseFloat(const std::string& token, float& value);
Result parseDouble(const std::string& token, double& value);

}  // namespace SoNumberText
