#pragma once

#include <Tessara/base/SbString.h>

#include <cstdint>
#include <functional>

/// Immutable interned text: equal names share one entry, so comparing is a pointer compare.
class SbName {
  public:
    /// The empty name.
    SbName();
    /// Text that is not valid UTF-8 is read as Latin-1, as SbString does.
    SbName(const char* name);
    SbName(const SbString& name);

    const char* getString() const;
    /// Number of characters, not bytes.
    int getLength() const;
    /// Hash of the text, equal to SbString::hash() of the same text.
    std::uint32_t hash() const;

    /// True for the empty name.
    bool operator!() const;
    friend bool operator==(const SbName& a, const SbName& b) { return a.entry_ == b.entry_; }
    friend bool operator!=(const SbName& a, const SbName& b) { return a.entry_ != b.entry_; }
    friend bool operator==(const SbName& a, const char* b) { return a.equals(b); }
    friend bool operator==(const char* a, const SbName& b) { return b.equals(a); }
    friend bool operator!=(const SbName& a, const char* b) { return !a.equals(b); }
    friend bool operator!=(const char* a, const SbName& b) { return !b.equals(a); }
    /// Orders by text (byte order), so maps of names print in a stable order.
    friend bool operator<(const SbName& a, const SbName& b) { return a.compare(b) < 0; }

    /// ASCII letter or '_'.
    static bool isIdentStartChar(char c);
    /// ASCII letter, digit or '_'.
    static bool isIdentChar(char c);
    /// Node names in files: any printable byte except whitespace and {}[]",\+.' ; bytes of
    /// 0x80 and above are allowed so that UTF-8 names work.
    static bool isBaseNameChar(char c);
    /// As isBaseNameChar, but not a digit, so that a name cannot be mistaken for a number.
    static bool isBaseNameStartChar(char c);

    struct Entry;

  private:
    bool equals(const char* text) const;
    int compare(const SbName& other) const;

    const Entry* entry_;
};

namespace std {
template <>
struct hash<SbName> {
    std::size_t operator()(const SbName& n) const noexcept { return n.hash(); }
};
}  // namespace std
