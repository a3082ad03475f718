#pragma once

#include <Tessara/base/SbString.h>
#include <Tessara/math/SbColor.h>
#include <cairo.h>

#include <string>

/// One line of 2D text on a page whose user space has y up: the font's face found through
/// fontconfig by the scene's font name (its style picks bold and italic), the em size and
/// the angle (radians, counter-clockwise) as given, justified at the origin on the baseline:
/// 1 left, 2 right, 3 centred; any other value draws nothing, as in PostScript.
class SoCairoText {
  public:
    static void draw(cairo_t* cr, float x, float y, float angle, const SbString& fontName,
                     double emSize, const SbString& string, int justification);
    /// `text` with each control character (a tab, a line break) a space: fonts have no glyph
    /// for one and would show their box, where the screen leaves a space; XML allows none.
    static std::string spaced(std::string text);
};
