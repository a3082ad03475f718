#pragma once

#include <locale.h>

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

/// Text value of the core: always valid UTF-8 inside; indices and lengths count characters.
/// Unlike std::string, even const calls on one object must not overlap across threads:
/// toLatin1() and toUtf16() fill buffers kept inside the object.
class SbString {
  public:
    SbString() = default;
    /// Bytes that are not valid UTF-8 are taken as Latin-1, so old files still read sensibly.
    SbString(const char* str);
    SbString(const std::string& str);
    /// wchar_t text is UTF-32 (or UTF-16 where wchar_t has 16 bits).
    SbString(const wchar_t* str);
    SbString(const char16_t* str);
    /// Characters start..end (both inclusive; end -1 means up to the last) of str.
    SbString(const char* str, int start, int end);
    explicit SbString(int number);

    SbString(const SbString& other);
    SbString(SbString&& other) noexcept;
    SbString& operator=(const SbString& other);
    SbString& operator=(SbString&& other) noexcept;
    SbString& operator=(const char* str);
    ~SbString() = default;

    const char* getString() const { return text_.c_str(); }
    const std::string& getStdString() const { return text_; }
    /// Number of characters (code points), not bytes.
    int getLength() const;
    int getByteLength() const { return static_cast<int>(text_.size()); }
    bool isEmpty() const { return text_.empty(); }
    void makeEmpty();

    SbString& operator+=(const SbString& other);
    SbString& operator+=(const char* str);
    /// A byte of 0x80 or more counts as one Latin-1 character; build UTF-8 from bytes elsewhere.
    SbString& operator+=(char c);

    /// Raw byte; an index outside the bytes posts an error and gives '\0'.
    char operator[](int byteIndex) const;

    /// Characters start..end inclusive (end -1: to the last); bad ranges post and give "".
    SbString getSubString(int start, int end = -1) const;
    /// Removes characters start..end inclusive (end -1: to the last).
    void deleteSubString(int start, int end = -1);
    /// Character index of the first/last occurrence, or -1.
    int find(const SbString& needle) const;
    int rfind(const SbString& needle) const;

    /// FNV-1a over the UTF-8 bytes; stable across runs.
    std::uint32_t hash() const { return hash(text_.c_str()); }
    static std::uint32_t hash(const char* str);

    /// Number texts are written under the C locale so files never get a decimal comma.
    void setNum(int number);
    void setNum(double number);

    /// printf into a new string under the process locale.
    static SbString format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    /// printf under the C locale: for text written to files or compared in tests.
    static SbString formatC(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    static SbString vformat(const char* fmt, va_list args) __attribute__((format(printf, 1, 0)));
    static SbString vformatC(const char* fmt, va_list args) __attribute__((format(printf, 1, 0)));
    /// Process-wide C locale (made once); lets number I/O ignore setlocale() of the application.
    static locale_t getLocaleObject();

    /// ASCII-only case change; other characters are kept.
    [[nodiscard]] SbString toLower() const;
    [[nodiscard]] SbString toUpper() const;

    /// Latin-1 bytes ('?' for characters above 0xFF); valid until this string changes.
    const char* toLatin1() const;
    /// 0-terminated UTF-16; valid until this string changes.
    const char16_t* toUtf16() const;
    /// True when some character is above 0xFF, i.e. Latin-1 cannot hold the text.
    bool isUnicode() const;

    static SbString fromLatin1(const char* str);
    /// Unpaired surrogates become U+FFFD.
    static SbString fromUtf16(const char16_t* str);
    static bool isValidUtf8(const char* bytes, std::size_t count);

    friend bool operator==(const SbString& a, const SbString& b) { return a.text_ == b.text_; }
    friend bool operator!=(const SbString& a, const SbString& b) { return a.text_ != b.text_; }
    friend bool operator<(const SbString& a, const SbString& b) { return a.text_ < b.text_; }
    friend bool operator==(const SbString& a, const char* b) { return a.equals(b); }
    friend bool operator==(const char* a, const SbString& b) { return b.equals(a); }
    friend bool operator!=(const SbString& a, const char* b) { return !a.equals(b); }
    friend bool operator!=(const char* a, const SbString& b) { return !b.equals(a); }
    friend bool operator<(const SbString& a, const char* b) { return a < SbString(b); }
    friend bool operator<(const char* a, const SbString& b) { return SbString(a) < b; }

  private:
    // Conversions handed out as raw pointers must outlive the call, so they are kept here.
    struct Cache {
        std::string latin1;
        std::u16string utf16;
        bool hasLatin1 = false;
        bool hasUtf16 = false;
    };

    bool equals(const char* str) const;
    void changed();
    void assignBytes(const char* bytes, std::size_t count);
    void appendBytes(const char* bytes, std::size_t count);
    std::size_t byteOffset(int charIndex) const;
    int charIndex(std::size_t byteOffset) const;
    bool checkRange(const char* where, int start, int& end) const;

    std::string text_;
    mutable Cache cache_;
};

SbString operator+(const SbString& a, const SbString& b);
SbString operator+(const SbString& a, const char* b);
SbString operator+(const char* a, const SbString& b);
std::ostream& operator<<(std::ostream& out, const SbString& str);

namespace std {
template <>
struct hash<SbString> {
    std::size_t operator()(const SbString& s) const noexcept { return s.hash(); }
};
}  // namespace std
