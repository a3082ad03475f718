#include <Tessara/base/SbNumberFormat.h>
#include <Tessara/base/SoDebugError.h>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// Large enough for any double in fixed form with the largest precision we accept.
constexpr int kMaxPrecision = 60;
constexpr std::size_t kBufferSize = 400;

template <class... Options>
void appendChars(std::string& out, Options... options) {
    char text[kBufferSize];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, options...);
    out.append(text, static_cast<std::size_t>(result.ptr - text));
}

int clampedPrecision(int precision) {
    return precision < 0 ? 0 : (precision > kMaxPrecision ? kMaxPrecision : precision);
}

struct Conversion {
    int width = 0;
    int precision = -1;
    char letter = '\0';
};

// Reads the width, precision and length modifiers after a '%'; `p` ends on the letter.
Conversion readConversion(const char*& p) {
    Conversion conversion;
    while (*p >= '0' && *p <= '9') conversion.width = conversion.width * 10 + (*p++ - '0');
    if (*p == '.') {
        conversion.precision = 0;
        while (*++p >= '0' && *p <= '9')
            conversion.precision = conversion.precision * 10 + (*p - '0');
    }
    while (*p == 'l' || *p == 'h' || *p == 'z') ++p;
    conversion.letter = *p;
    return conversion;
}

}  // namespace

void SbNumberFormat::appendFixed(std::string& out, double value, int decimals) {
    appendChars(out, value, std::chars_format::fixed, clampedPrecision(decimals));
}

void SbNumberFormat::appendSignificant(std::string& out, double value, int digits) {
    // printf takes a precision of 0 as 1.
    appendChars(out, value, std::chars_format::general, digits < 1 ? 1 : clampedPrecision(digits));
}

void SbNumberFormat::appendShortest(std::string& out, float value) {
    appendChars(out, value);
}

void SbNumberFormat::appendShortest(std::string& out, double value) {
    appendChars(out, value);
}

void SbNumberFormat::appendInteger(std::string& out, long long value, int width) {
    char text[24];
    const std::size_t length =
        static_cast<std::size_t>(std::to_chars(text, text + sizeof text, value).ptr - text);
    if (width > 0 && static_cast<std::size_t>(width) > length)
        out.append(static_cast<std::size_t>(width) - length, ' ');
    out.append(text, length);
}

long long SbNumberFormat::Argument::asInteger() const {
    if (kind_ == INTEGER) return integer;
    if (kind_ == REAL)
        return std::isfinite(real) && std::fabs(real) < 9.2e18 ? static_cast<long long>(real) : 0;
    return std::strtoll(text, nullptr, 10);
}

double SbNumberFormat::Argument::asReal() const {
    if (kind_ == REAL) return real;
    if (kind_ == INTEGER) return static_cast<double>(integer);
    return std::strtod(text, nullptr);
}

const char* SbNumberFormat::Argument::asText() const {
    return kind_ == TEXT ? text : "";
}

void SbNumberFormat::appendFormatted(std::string& out, const char* format,
                                     std::initializer_list<Argument> arguments) {
    const Argument* next = arguments.begin();
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        ++p;
        if (*p == '%') {
            out += '%';
            continue;
        }
        const Conversion conversion = readConversion(p);
        if (next == arguments.end() || conversion.letter == '\0') {
            SoDebugError::post("SbNumberFormat::appendFormatted",
                               "Missing argument or conversion in \"%s\"", format);
            return;
        }
        const Argument& argument = *next++;
        switch (conversion.letter) {
            case 'd':
            case 'i':
            case 'u':
                appendInteger(out, argument.asInteger(), conversion.width);
                break;
            case 'f':
                appendFixed(out, argument.asReal(),
                            conversion.precision < 0 ? 6 : conversion.precision);
                break;
            case 'g':
                appendSignificant(out, argument.asReal(),
                                  conversion.precision < 0 ? 6 : conversion.precision);
                break;
            case 's':
                out += argument.asText();
                break;
            default:
                SoDebugError::post("SbNumberFormat::appendFormatted",
                                   "Unknown conversion '%c' in \"%s\"", conversion.letter, format);
                return;
        }
    }
}
