#pragma once

#include <istream>

#include "FaceColors.h"

/// Reads the colours of an OFF file's faces: after a face's corner indices, three or four
/// numbers give its colour, whole numbers in 0 to 255 or fractions in 0 to 1. A single number
/// there (an index into a colour map that the file does not hold) or none leaves the face
/// without a colour. Only text files with three coordinates a vertex are read.
class OffFaceColors {
  public:
    /// `in` at the file's start.
    static FaceColors read(std::istream& in);
};
