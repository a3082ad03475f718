#pragma once

#include <Tessara/base/SbString.h>

#include <cstdio>

/// File-name handling shared by readers and writers; '/' and '\' both separate path components.
class SbFileHelper {
  public:
    SbFileHelper() = delete;

    /// Opens expandString(fileName); null when it cannot be opened (the caller reports why).
    static FILE* open(const SbString& fileName, const char* mode);
    /// fclose's result; EOF for a null file.
    static int close(FILE* file);
    /// Removes expandString(fileName); true when it was removed.
    static bool removeFile(const SbString& fileName);
    /// True when expandString(fileName) exists and can be read.
    static bool isAccessible(const SbString& fileName);

    /// Replaces $VAR and ${VAR} by their value (unknown ones by nothing) and a leading "~" or
    /// "~/" by $HOME. "$" not followed by a name stays as it is.
    static SbString expandString(const SbString& text);
    /// Backslashes become '/', runs of '/' collapse to one and "." components go:
    /// "a\\b//./c" gives "a/b/c". ".." is kept, since symbolic links make it unsafe to fold.
    static SbString cleanUpPath(const SbString& path);
    /// Text after the last '.' of the last component, without the dot; "" when there is none.
    /// A leading dot marks a hidden file, not an extension: ".hidden" gives "".
    static SbString getExtension(const SbString& fileName);
    /// The last component, extension kept: "a/b/c.iv" gives "c.iv", "a/b/" gives "".
    static SbString getBaseName(const SbString& fileName);
    /// Everything up to and including the last separator: "a/b/c.iv" gives "a/b/", "c.iv" gives
    /// "", so that getDirName(f) + getBaseName(f) == f.
    static SbString getDirName(const SbString& fileName);
};
