#include <Tessara/base/SbNumberFormat.h>
#include <Tessara/base/SbString.h>
#include <Tessara/base/SoDebugError.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <ostream>
#include <vector>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the UTF-8 sequence starting at bytes[0], or 0 when it is not a valid one.
// Overlong forms, surrogates and values above U+10FFFF are rejected, as UTF-8 demands.
std::size_t validSequenceLength(const unsigned char* bytes, std::size_t available) {
    const unsigned char lead = bytes[0];
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (available < length) return 0;
    if (bytes[1] < low || bytes[1] > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(bytes[i])) return 0;
    }
    return length;
}

void appendCodePoint(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes the character at byte offset pos of valid UTF-8 and advances pos past it.
char32_t decodeNext(const std::string& text, std::size_t& pos) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data()) + pos;
    const std::size_t length = validSequenceLength(bytes, text.size() - pos);
    if (length == 0) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    if (length == 1) return bytes[0];
    char32_t cp = bytes[0] & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) cp = (cp << 6) | (bytes[i] & 0x3F);
    return cp;
}

void appendLatin1(std::string& out, const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        appendCodePoint(out, static_cast<unsigned char>(bytes[i]));
    }
}

// Appends UTF-16 units to out, pairing surrogates; consumes the whole 0-terminated input.
template <typename Unit>
void appendUtf16(std::string& out, const Unit* units) {
    for (std::size_t i = 0; units[i] != 0; ++i) {
        const char32_t unit = static_cast<char32_t>(units[i]) & 0xFFFF;
        const bool isHigh = unit >= 0xD800 && unit <= 0xDBFF;
        const char32_t next = isHigh ? static_cast<char32_t>(units[i + 1]) & 0xFFFF : 0;
        if (isHigh && next >= 0xDC00 && next <= 0xDFFF) {
            appendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else {
            appendCodePoint(out, unit);  // lone surrogates turn into U+FFFD there
        }
    }
}

void appendUtf16Unit(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
        return;
    }
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
}

}  // namespace

// ---- construction -------------------------------------------------------------------------

SbString::SbString(const char* str) {
    if (str) assignBytes(str, std::strlen(str));
}

SbString::SbString(const std::string& str) {
    assignBytes(str.data(), str.size());
}

SbString::SbString(const wchar_t* str) {
    if (!str) return;
    if constexpr (sizeof(wchar_t) == 2) {
        appendUtf16(text_, str);
    } else {
        for (; *str; ++str) appendCodePoint(text_, static_cast<char32_t>(*str));
    }
}

SbString::SbString(const char16_t* str) {
    if (str) appendUtf16(text_, str);
}

SbString::SbString(const char* str, int start, int end) {
    if (str) *this = SbString(str).getSubString(start, end);
}

SbString::SbString(int number) {
    setNum(number);
}

SbString::SbString(const SbString& other) : text_(other.text_) {}

SbString::SbString(SbString&& other) noexcept : text_(std::move(other.text_)) {
    other.text_.clear();
    other.changed();
}

SbString& SbString::operator=(const SbString& other) {
    if (this != &other) {
        text_ = other.text_;
        changed();
    }
    return *this;
}

SbString& SbString::operator=(SbString&& other) noexcept {
    if (this != &other) {
        text_ = std::move(other.text_);
        other.text_.clear();
        other.changed();
        changed();
    }
    return *this;
}

SbString& SbString::operator=(const char* str) {
    // str may point into our own text, so build the copy before touching text_.
    SbString copy(str);
    return *this = std::move(copy);
}

void SbString::assignBytes(const char* bytes, std::size_t count) {
    text_.clear();
    appendBytes(bytes, count);
}

void SbString::appendBytes(const char* bytes, std::size_t count) {
    if (isValidUtf8(bytes, count)) {
        text_.append(bytes, count);
    } else {
        appendLatin1(text_, bytes, count);
    }
    changed();
}

void SbString::changed() {
    cache_.hasLatin1 = false;
    cache_.hasUtf16 = false;
    cache_.latin1.clear();
    cache_.utf16.clear();
}

void SbString::makeEmpty() {
    text_.clear();
    changed();
}

// ---- character positions ------------------------------------------------------------------

int SbString::getLength() const {
    int count = 0;
    for (const char c : text_) {
        if (!isContinuation(static_cast<unsigned char>(c))) ++count;
    }
    return count;
}

std::size_t SbString::byteOffset(int charIndex) const {
    std::size_t pos = 0;
    for (int i = 0; i < charIndex && pos < text_.size(); ++i) {
        ++pos;
        while (pos < text_.size() && isContinuation(static_cast<unsigned char>(text_[pos]))) {
            ++pos;
        }
    }
    return pos;
}

int SbString::charIndex(std::size_t byteOffset) const {
    int count = 0;
    for (std::size_t i = 0; i < byteOffset && i < text_.size(); ++i) {
        if (!isContinuation(static_cast<unsigned char>(text_[i]))) ++count;
    }
    return count;
}

bool SbString::checkRange(const char* where, int start, int& end) const {
    const int length = getLength();
    if (end == -1) end = length - 1;
    // start == end + 1 names an empty range, e.g. the tail after the last character.
    if (start < 0 || start > length || end < -1 || end >= length || start > end + 1) {
        SoDebugError::post(where, "range %d..%d is outside a string of %d characters", start, end,
                           length);
        return false;
    }
    return true;
}

SbString SbString::getSubString(int start, int end) const {
    if (!checkRange("SbString::getSubString", start, end)) return SbString();
    const std::size_t first = byteOffset(start);
    const std::size_t last = byteOffset(end + 1);
    SbString result;
    result.text_ = text_.substr(first, last - first);
    return result;
}

void SbString::deleteSubString(int start, int end) {
    if (!checkRange("SbString::deleteSubString", start, end)) return;
    const std::size_t first = byteOffset(start);
    const std::size_t last = byteOffset(end + 1);
    text_.erase(first, last - first);
    changed();
}

int SbString::find(const SbString& needle) const {
    const std::size_t pos = text_.find(needle.text_);
    return pos == std::string::npos ? -1 : charIndex(pos);
}

int SbString::rfind(const SbString& needle) const {
    const std::size_t pos = text_.rfind(needle.text_);
    return pos == std::string::npos ? -1 : charIndex(pos);
}

char SbString::operator[](int byteIndex) const {
    if (byteIndex < 0 || byteIndex >= getByteLength()) {
        SoDebugError::post("SbString::operator[]", "byte index %d is outside 0..%d", byteIndex,
                           getByteLength() - 1);
        return '\0';
    }
    return text_[static_cast<std::size_t>(byteIndex)];
}

// ---- appending and comparing --------------------------------------------------------------

SbString& SbString::operator+=(const SbString& other) {
    text_ += other.text_;
    changed();
    return *this;
}

SbString& SbString::operator+=(const char* str) {
    if (str) {
        // str may point into our own text; appending a copy keeps it valid.
        const std::string bytes(str);
        appendBytes(bytes.data(), bytes.size());
    }
    return *this;
}

SbString& SbString::operator+=(char c) {
    appendCodePoint(text_, static_cast<unsigned char>(c));
    changed();
    return *this;
}

bool SbString::equals(const char* str) const {
    if (!str) return text_.empty();
    const std::size_t count = std::strlen(str);
    if (isValidUtf8(str, count)) return text_.compare(0, std::string::npos, str, count) == 0;
    return text_ == SbString(str).text_;
}

SbString operator+(const SbString& a, const SbString& b) {
    SbString result(a);
    result += b;
    return result;
}

SbString operator+(const SbString& a, const char* b) {
    SbString result(a);
    result += b;
    return result;
}

SbString operator+(const char* a, const SbString& b) {
    SbString result(a);
    result += b;
    return result;
}

std::ostream& operator<<(std::ostream& out, const SbString& str) {
    return out << str.getString();
}

std::uint32_t SbString::hash(const char* str) {
    std::uint32_t value = 2166136261u;
    for (; str && *str; ++str) {
        value ^= static_cast<unsigned char>(*str);
        value *= 16777619u;
    }
    return value;
}

// ---- numbers and formatting ---------------------------------------------------------------

void SbString::setNum(int number) {
    std::string text;
    SbNumberFormat::appendInteger(text, number);
    *this = SbString(text.c_str());
}

void SbString::setNum(double number) {
    std::string text;
    SbNumberFormat::appendSignificant(text, number, 6);
    *this = SbString(text.c_str());
}

locale_t SbString::getLocaleObject() {
    // Never freed: number formatting may still run from other objects' static destructors.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return cLocale;
}

SbString SbString::vformat(const char* fmt, va_list args) {
    if (!fmt) return SbString();
    va_list measure;
    va_copy(measure, args);
    const int needed = std::vsnprintf(nullptr, 0, fmt, measure);
    va_end(measure);
    if (needed < 0) {
        SoDebugError::post("SbString::vformat", "cannot format \"%s\"", fmt);
        return SbString();
    }
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), fmt, args);
    SbString result;
    result.assignBytes(buffer.data(), static_cast<std::size_t>(needed));
    return result;
}

SbString SbString::vformatC(const char* fmt, va_list args) {
    const locale_t cLocale = getLocaleObject();
    if (cLocale == static_cast<locale_t>(nullptr)) return vformat(fmt, args);
    const locale_t previous = uselocale(cLocale);
    SbString result = vformat(fmt, args);
    uselocale(previous);
    return result;
}

SbString SbString::format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    SbString result = vformat(fmt, args);
    va_end(args);
    return result;
}

SbString SbString::formatC(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    SbString result = vformatC(fmt, args);
    va_end(args);
    return result;
}

// ---- case and encodings -------------------------------------------------------------------

SbString SbString::toLower() const {
    SbString result(*this);
    for (char& c : result.text_) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

SbString SbString::toUpper() const {
    SbString result(*this);
    for (char& c : result.text_) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

const char* SbString::toLatin1() const {
    if (!cache_.hasLatin1) {
        cache_.latin1.clear();
        for (std::size_t pos = 0; pos < text_.size();) {
            const char32_t cp = decodeNext(text_, pos);
            cache_.latin1 += cp <= 0xFF ? static_cast<char>(cp) : '?';
        }
        cache_.hasLatin1 = true;
    }
    return cache_.latin1.c_str();
}

const char16_t* SbString::toUtf16() const {
    if (!cache_.hasUtf16) {
        cache_.utf16.clear();
        for (std::size_t pos = 0; pos < text_.size();) {
            appendUtf16Unit(cache_.utf16, decodeNext(text_, pos));
        }
        cache_.hasUtf16 = true;
    }
    return cache_.utf16.c_str();
}

bool SbString::isUnicode() const {
    // In valid UTF-8 only lead bytes of characters above U+00FF are 0xC4 or higher.
    for (const char c : text_) {
        if (static_cast<unsigned char>(c) >= 0xC4) return true;
    }
    return false;
}

SbString SbString::fromLatin1(const char* str) {
    SbString result;
    if (str) appendLatin1(result.text_, str, std::strlen(str));
    return result;
}

SbString SbString::fromUtf16(const char16_t* str) {
    return SbString(str);
}

bool SbString::isValidUtf8(const char* bytes, std::size_t count) {
    if (!bytes) return count == 0;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes);
    for (std::size_t pos = 0; pos < count;) {
        const std::size_t length = validSequenceLength(data + pos, count - pos);
        if (length == 0) return false;
        pos += length;
    }
    return true;
}
