#pragma once

#include <Tessara/math/SbColor.h>

#include <vector>

/// Which of an application's pens draws a colour at a width. By colour: the nearest colour
/// decides and, among pens of that colour, the widest not wider than asked (the narrowest
/// when none is). By width: the width asked, or else the widest narrower pens, or else the
/// narrowest, decide, and the nearest colour among them. Ties go to the first pen. A colour
/// or width that is no number is near no pen: the rule that follows decides, or the first
/// pen.
class SoPenChoice {
  public:
    /// The index of the pen among `count` (at least one).
    static int choose(const std::vector<SbColor>& colors, const std::vector<float>& widths,
                      int count, const SbColor& color, float width, bool colourFirst);
};
