#pragma once

#include <Tessara/math/SbVec2f.h>

#include <vector>

/// The geometry of one glyph in em units (the em square is 1 high), baseline at y = 0 and
/// pen position at x = 0. Built once per face, glyph and outline resolution, then shared.
struct SoGlyph {
    /// Pen advance to the next glyph.
    float advance = 0.0f;
    /// The flattened outline: closed loops, the closing point not repeated.
    std::vector<std::vector<SbVec2f>> contours;
    /// Filled area: three corners per triangle, counterclockwise seen from +z.
    std::vector<SbVec2f> triangles;
    /// TrueType outlines keep the filled area on the right of each contour, PostScript ones
    /// on the left; the sides of extruded text need to know which way is out.
    bool fillsRightOfContour = true;
    /// Ink bounds; min > max when the glyph draws nothing (a space).
    SbVec2f inkMin{1.0f, 1.0f};
    SbVec2f inkMax{-1.0f, -1.0f};

    bool hasInk() const { return inkMin[0] <= inkMax[0]; }
};
