#pragma once

#include <cstdio>
#include <optional>
#include <string>

class SoVectorizeAction;

/// A stream that passes PostScript on to a file with its header amended: the first line
/// marks an encapsulated figure ("%!PS-Adobe-2.0" goes on as "%!PS-Adobe-2.0 EPSF-2.0"), the
/// title comment names the document's own title, and the standard fonts print the Latin-1
/// letters. Programs that place figures in documents honour a file's bounding box only when
/// it says it is one; viewers show the title; the fonts as they stand print "ü" as nothing.
/// A figure's bounding box holds all of its ink, where the library's cuts off the drawing's
/// last fraction of a point.
class PostScriptHeader {
  public:
    /// A bounding box in points, whole ones around the ink.
    struct Box {
        int left, bottom, right, top;
    };

    /// The stream, which takes `file` over: closing it closes `file` (flushes standard
    /// output) and reports its errors.
    /// A `figure` box marks the document as a figure with that box; an empty `title` leaves
    /// the header's own.
    static FILE* wrap(FILE* file, const std::optional<Box>& figure, const std::string& title);

    /// The box of what `action` draws, set up as it is.
    static Box inkBox(const SoVectorizeAction& action);
};
