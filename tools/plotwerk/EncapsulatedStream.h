#pragma once

#include <cstdio>

/// A stream that passes what is written on to a file, the first line of PostScript marked as
/// an encapsulated figure: "%!PS-Adobe-2.0" goes on as "%!PS-Adobe-2.0 EPSF-2.0". Programs
/// that place figures in documents honour a file's bounding box only when it says it is one.
class EncapsulatedStream {
  public:
    /// The stream, which takes `file` over: closing it closes `file` and reports its errors.
    static FILE* wrap(FILE* file);
};
