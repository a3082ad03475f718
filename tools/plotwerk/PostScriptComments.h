#pragma once

#include <cstdio>
#include <string>

/// A stream that passes PostScript on to a file with the comments of its header amended:
/// the first line marks an encapsulated figure ("%!PS-Adobe-2.0" goes on as
/// "%!PS-Adobe-2.0 EPSF-2.0"), and the title line names the document's own title. Programs
/// that place figures in documents honour a file's bounding box only when it says it is
/// one; viewers show the title.
class PostScriptComments {
  public:
    /// The stream, which takes `file` over: closing it closes `file` and reports its errors.
    /// An empty `title` leaves the header's own.
    static FILE* wrap(FILE* file, bool encapsulated, const std::string& title);
};
