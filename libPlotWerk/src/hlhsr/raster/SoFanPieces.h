#pragma once

#include <Tessara/math/SbVec2f.h>

#include <vector>

/// Cuts an outline into pieces that each fill right when drawn as a fan of triangles from
/// their first point, which is how backends draw a polygon with a colour per point. A traced
/// outline is rarely convex: drawn as a fan from the wrong corner, a notch would be painted
/// over whatever fills it.
class SoFanPieces {
  public:
    /// The outline itself, started at a corner the whole outline is seen from (within
    /// tolerance, in the outline's units), or else its triangles. Empty for an outline of
    /// fewer than 3 points or one the tessellator rejects.
    static std::vector<std::vector<SbVec2f>> of(const std::vector<SbVec2f>& outline,
                                                float tolerance);

  private:
    /// Whether the fan from corner k covers the outline and nothing else.
    static bool fansFrom(const std::vector<SbVec2f>& outline, int k, double orientation,
                         float tolerance);
    static std::vector<std::vector<SbVec2f>> triangles(const std::vector<SbVec2f>& outline);
};
