#pragma once

#include <cstdio>
#include <string>

/// A stream that passes PostScript on to a file with its header amended: the first line
/// marks an encapsulated figure ("%!PS-Adobe-2.0" goes on as "%!PS-Adobe-2.0 EPSF-2.0"), the
/// title comment names the document's own title, and the standard fonts print the Latin-1
/// letters. Programs that place figures in documents honour a file's bounding box only when
/// it says it is one; viewers show the title; the fonts as they stand print "ü" as nothing.
class PostScriptHeader {
  public:
    /// The stream, which takes `file` over: closing it closes `file` (flushes standard
    /// output) and reports its errors.
    /// An empty `title` leaves the header's own.
    static FILE* wrap(FILE* file, bool encapsulated, const std::string& title);
};
