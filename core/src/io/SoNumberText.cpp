#include "io/SoNumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Splits an optional sign off the token; from_chars knows only '-'.
const char* skipSign(const std::string& token, bool& negative) {
    negative = false;
    const char* p = token.c_str();
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    return p;
}

// The magnitude of an unsigned integer text in base 16, 8 or 10.
SoNumberText::Result parseMagnitude(const char* p, const char* end, uint64_t& magnitude,
                                    bool& patternBase) {
    int base = 10;
    patternBase = false;
    if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    } else if (end - p > 1 && p[0] == '0') {
        base = 8;
        ++p;
    }
    patternBase = base != 10;
    if (p == end || *p == '+' || *p == '-') return SoNumberText::SYNTAX;
    const auto result = std::from_chars(p, end, magnitude, base);
    if (result.ptr != end) return SoNumberText::SYNTAX;
    if (result.ec == std::errc::result_out_of_range) return SoNumberText::RANGE;
    return result.ec == std::errc() ? SoNumberText::OK : SoNumberText::SYNTAX;
}

template <class T>
SoNumberText::Result parseReal(const std::string& token, T& value) {
    bool negative = false;
    const char* p = skipSign(token, negative);
    const char* end = token.c_str() + token.size();
    // A second sign ("--1", "+-1") is not C syntax even though from_chars would take "-1".
    if (p == end || *p == '+' || *p == '-') return SoNumberText::SYNTAX;
    T parsed = 0;
    const auto result = std::from_chars(p, end, parsed);
    if (result.ptr != end) return SoNumberText::SYNTAX;
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars reports both ends; only a value too large to hold is an error.
        long double wide = 0;
        const auto again = std::from_chars(p, end, wide);
        if (again.ec != std::errc() || std::fabs(wide) >= 1) return SoNumberText::RANGE;
        parsed = static_cast<T>(wide);
    } else if (result.ec != std::errc()) {
        return SoNumberText::SYNTAX;
    }
    value = negative ? -parsed : parsed;
    return SoNumberText::OK;
}

}  // namespace

SoNumberText::Result SoNumberText::parseInteger(const std::string& token, int bits, bool isSigned,
                                                int64_t& value) {
    bool negative = false;
    const char* p = skipSign(token, negative);
    uint64_t magnitude = 0;
    bool patternBase = false;
    const Result syntax = parseMagnitude(p, token.c_str() + token.size(), magnitude, patternBase);
    if (syntax != OK) return syntax;
    const uint64_t unsignedMax = bits >= 64 ? ~uint64_t(0) : (uint64_t(1) << bits) - 1;
    const uint64_t signedMax = unsignedMax >> 1;
    if (!isSigned) {
        if (negative && magnitude != 0) return RANGE;
        if (magnitude > unsignedMax) return RANGE;
        value = static_cast<int64_t>(magnitude);
        return OK;
    }
    if (negative) {
        if (magnitude > signedMax + 1) return RANGE;
        value = -static_cast<int64_t>(magnitude);
        return OK;
    }
    if (magnitude <= signedMax) {
        value = static_cast<int64_t>(magnitude);
        return OK;
    }
    if (!patternBase || magnitude > unsignedMax) return RANGE;
    value = static_cast<int64_t>(magnitude) - static_cast<int64_t>(unsignedMax) - 1;
    return OK;
}

SoNumberText::Result SoNumberText::parseFloat(const std::string& token, float& value) {
    return parseReal(token, value);
}

SoNumberText::Result SoNumberText::parseDouble(const std::string& token, double& value) {
    return parseReal(token, value);
}
