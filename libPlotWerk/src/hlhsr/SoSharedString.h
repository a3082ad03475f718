#pragma once

#include <Tessara/base/SbString.h>

/// A record's text attribute: one pointer wide, shared by the copies of a record, and no
/// storage at all when empty. Every polygon of a mesh carries the names of its fill
/// pattern, nearly always empty, and two core strings made up two thirds of a stored
/// polygon. The count of holders is not atomic: records belong to one traversal, on one
/// thread.
class SoSharedString {
  public:
    SoSharedString() = default;
    /// Records are set from plain strings: the conversion is implicit on purpose.
    SoSharedString(const SbString& text);  // NOLINT(google-explicit-constructor)
    SoSharedString(const SoSharedString& other);
    SoSharedString& operator=(const SoSharedString& other);
    SoSharedString& operator=(const SbString& text);
    ~SoSharedString();

    /// The text; a shared empty one when nothing was set.
    const SbString& get() const;
    operator const SbString&() const { return get(); }  // NOLINT(google-explicit-constructor)
    const char* getString() const { return get().getString(); }

    friend bool operator==(const SoSharedString& a, const SbString& b) { return a.get() == b; }
    friend bool operator!=(const SoSharedString& a, const SbString& b) { return !(a == b); }

  private:
    struct Shared;
    void release();

    /// Null for the empty text.
    Shared* shared_ = nullptr;
};
