#include "support/HPGLScanner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Corrupt input can produce an error per byte; a bounded list stays readable.
constexpr std::size_t kMaxErrors = 1000;

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool isNumberStart(unsigned char c) {
    return isDigit(c) || c == '+' || c == '-' || c == '.';
}

}  // namespace

bool HPGLScanner::isLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool HPGLScanner::isBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string HPGLScanner::hexByte(unsigned char c) {
    static const char* digits = "0123456789ABCDEF";
    return std::string("0x") + digits[c >> 4] + digits[c & 15];
}

void HPGLScanner::error(std::size_t at, const std::string& message) {
    if (errors_.size() < kMaxErrors)
        errors_.push_back("byte " + std::to_string(at) + ": " + message);
    else if (errors_.size() == kMaxErrors)
        errors_.push_back("too many errors; the rest are not reported");
}

bool HPGLScanner::fail(std::size_t at, const std::string& message) {
    error(at, message);
    return false;
}

// PCL escapes: two-character ones (ESC E) and parameterized ones (ESC % -1 B, ESC & l 0 O)

bool HPGLScanner::escape(std::string& text) {
    const std::size_t start = pos_++;
    if (atEnd()) return fail(start, "truncated PCL escape");
    const unsigned char c = peek();
    text.assign(1, static_cast<char>(c));
    if (c >= 0x30 && c <= 0x7E) {
        ++pos_;
        return true;
    }
    if (c < 0x21 || c > 0x2F) return fail(start, "bad PCL escape: ESC " + hexByte(c));
    ++pos_;
    if (!atEnd() && peek() >= 0x60 && peek() <= 0x7E) text += in_[pos_++];
    for (;;) {
        const std::size_t valueStart = pos_;
        while (!atEnd() && isNumberStart(peek())) ++pos_;
        const std::string value = in_.substr(valueStart, pos_ - valueStart);
        if (atEnd()) return fail(start, "truncated PCL escape ESC" + text + value);
        const unsigned char p = peek();
        if (p < 0x40 || p > 0x7E) return fail(start, "bad PCL escape ESC" + text + value);
        ++pos_;
        text += value + static_cast<char>(p);
        if (p == 'W' || p == 'w') {  // binary data follows; skip it whole
            const double n = std::strtod(value.c_str(), nullptr);
            const double rest = static_cast<double>(in_.size() - pos_);
            pos_ += n > 0 ? static_cast<std::size_t>(std::min(n, rest)) : 0;
        }
        if (p <= 0x5E) return true;  // upper case ends the escape, lower case combines another
    }
}

// HP-GL/2 parameters: numbers separated by commas and/or blanks, up to an optional ';'

bool HPGLScanner::parameters(std::vector<double>& values, const std::string& command) {
    bool ok = true;
    while (!atEnd()) {
        const unsigned char c = peek();
        if (isBlank(c) || c == ',') {
            ++pos_;
        } else if (c == ';') {
            ++pos_;
            break;
        } else if (c == kEsc || isLetter(c)) {
            break;
        } else if (isNumberStart(c)) {
            double v = 0;
            if (number(v, command))
                values.push_back(v);
            else
                ok = false;
        } else {
            if (ok) error(pos_, "unexpected byte " + hexByte(c) + " in " + command);
            ok = false;
            ++pos_;
        }
    }
    return ok;
}

bool HPGLScanner::numberEnds() const {
    const unsigned char c = atEnd() ? ';' : peek();
    return isBlank(c) || c == ',' || c == ';' || c == kEsc || isLetter(c);
}

bool HPGLScanner::number(double& value, const std::string& command) {
    const std::size_t start = pos_;
    if (peek() == '+' || peek() == '-') ++pos_;
    std::size_t digits = 0;
    for (; !atEnd() && isDigit(peek()); ++pos_) ++digits;
    if (!atEnd() && peek() == '.')
        for (++pos_; !atEnd() && isDigit(peek()); ++pos_) ++digits;
    if (digits == 0 || !numberEnds()) {
        while (!numberEnds()) ++pos_;
        return fail(start, "bad number '" + in_.substr(start, pos_ - start) + "' in " + command);
    }
    value = std::strtod(in_.substr(start, pos_ - start).c_str(), nullptr);
    if (std::isfinite(value)) return true;
    return fail(start, "number out of range in " + command);
}

void HPGLScanner::skipParameters() {
    while (!atEnd() && peek() != ';' && peek() != kEsc && !isLetter(peek())) ++pos_;
    if (at(';')) ++pos_;
}

// PE numbers: base-64 (or base-32 in 7-bit mode) digits, least significant first, the last
// one taken from the terminator range

bool HPGLScanner::encodedNumber(bool sevenBit, std::int64_t& out) {
    const std::size_t start = pos_;
    const std::int64_t base = sevenBit ? 32 : 64;
    const unsigned terminatorLow = sevenBit ? 95 : 191, terminatorHigh = sevenBit ? 126 : 254;
    // Enough digits for any coordinate with fractional bits, few enough to stay exact.
    const int maxDigits = sevenBit ? 10 : 8;
    std::int64_t scale = 1;
    out = 0;
    for (int digits = 0;; ++digits) {
        if (atEnd() || peek() == kEsc || digits >= maxDigits)
            return fail(start, digits >= maxDigits ? "encoded number too long"
                                                   : "truncated encoded number");
        const unsigned c = peek();
        if (c >= 63 && c < 63 + base) {
            out += (c - 63) * scale;
        } else if (c >= terminatorLow && c <= terminatorHigh) {
            out += (c - terminatorLow) * scale;
            ++pos_;
            return true;
        } else {
            return fail(
                pos_, "bad byte " + hexByte(static_cast<unsigned char>(c)) + " in encoded number");
        }
        scale *= base;
        ++pos_;
    }
}

// Label text and quoted strings

bool HPGLScanner::labelText(std::size_t width, HPGLLabel& label) {
    while (pos_ + width <= in_.size()) {
        const unsigned unit = width == 2 ? (peek() << 8) | peek(1) : peek();
        if (unit == kEsc) break;  // the printer acts on an escape even inside a label
        pos_ += width;
        const bool terminator = static_cast<int>(unit) == label.terminator;
        if (!terminator || label.terminatorPrinted) {
            label.bytes.append(in_, pos_ - width, width);
            label.units.push_back(static_cast<std::uint16_t>(unit));
        }
        if (terminator) return true;
    }
    if (pos_ + 1 == in_.size() && width == 2 && peek() != kEsc) {
        error(pos_, "odd byte at the end of a 16-bit label");
        ++pos_;
    }
    return false;
}

bool HPGLScanner::quoted(std::string& text) {
    const std::size_t close = in_.find('"', pos_ + 1);
    if (close == std::string::npos) {
        pos_ = in_.size();
        return false;
    }
    text = in_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    return true;
}
