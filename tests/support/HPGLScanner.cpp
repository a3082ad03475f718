#include "support/HPGLScanner.h"

#include <cmath>
#include <cstdlib>

namespace {

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

bool HPGLScanner::fail(std::size_t at, const std::string& message) {
    error(at, message);
    return false;
}

// The escapes that switch between PCL and HP-GL/2: ESC % -1 B, ESC % 0 A.

bool HPGLScanner::escape(std::string& text) {
    const std::size_t start = pos_++;
    if (!at('%')) return fail(start, "unsupported PCL escape");
    text = "%";
    for (++pos_; !atEnd() && isNumberStart(peek()); ++pos_) text += in_[pos_];
    if (atEnd() || !isLetter(peek())) return fail(start, "bad PCL escape ESC" + text);
    text += in_[pos_++];
    return true;
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

// PE numbers: digits 63..126 carry six bits each, least significant first; the last one is
// taken from the terminator range 191..254.

bool HPGLScanner::encodedNumber(std::int64_t& out) {
    const std::size_t start = pos_;
    // Enough digits for any coordinate, few enough to stay exact.
    const int maxDigits = 8;
    std::int64_t scale = 1;
    out = 0;
    for (int digits = 0;; ++digits) {
        if (atEnd() || peek() == kEsc || digits >= maxDigits)
            return fail(start, digits >= maxDigits ? "encoded number too long"
                                                   : "truncated encoded number");
        const unsigned c = peek();
        if (c >= 63 && c < 127) {
            out += (c - 63) * scale;
        } else if (c >= 191 && c <= 254) {
            out += (c - 191) * scale;
            ++pos_;
            return true;
        } else {
            return fail(
                pos_, "bad byte " + hexByte(static_cast<unsigned char>(c)) + " in encoded number");
        }
        scale *= 64;
        ++pos_;
    }
}

bool HPGLScanner::labelText(std::string& text) {
    while (!atEnd() && peek() != kEsc) {  // the printer acts on an escape even inside a label
        if (peek() == kEtx) {
            ++pos_;
            return true;
        }
        text += in_[pos_++];
    }
    return false;
}
