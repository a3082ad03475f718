#pragma once

// What a metafile draws, whatever its encoding: every graphical primitive with the attributes
// in force when it was drawn. Two encodings of one drawing may differ in how often they
// repeat an attribute, in the order of attributes between primitives and in the numbers of
// their user-defined line types; the drawings they describe must still be equal.

#include <map>
#include <string>
#include <vector>

#include "support/CGMMetafile.h"

/// One primitive element and the attribute elements in force for it.
struct CGMDrawnPrimitive {
    CGMElement element;
    /// Attribute keyword to its parameters; a user-defined line type stands as its dashes, a
    /// pattern index as the pattern's size and cells.
    std::map<std::string, std::vector<CGMValue>> attributes;
};

/// The primitives of a metafile in order.
class CGMDrawing {
  public:
    static std::vector<CGMDrawnPrimitive> of(const CGMMetafile& metafile);
    /// The first difference between two drawings ("" when equal), reals within `tolerance`.
    /// Texts compare by the low bytes of their characters, which is what a binary metafile
    /// keeps of a character above Latin-1.
    static std::string firstDifference(const std::vector<CGMDrawnPrimitive>& a,
                                       const std::vector<CGMDrawnPrimitive>& b, double tolerance);
};
