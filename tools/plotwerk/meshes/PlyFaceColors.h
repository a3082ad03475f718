#pragma once

#include <istream>

#include "meshes/FaceColors.h"

/// Reads the colours of a PLY file's faces: the red, green and blue properties of its
/// "face" element (also named r, g, b or diffuse_red, ...), in ASCII or binary of either byte
/// order. Integer components are scaled from their type's range, real ones kept in 0 to 1.
class PlyFaceColors {
  public:
    /// `in` at the file's start; the elements before the faces are read past, those after
    /// them not at all.
    static FaceColors read(std::istream& in);
};
