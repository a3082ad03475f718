#pragma once

#include <Tessara/math/SbVec2f.h>

#include <string>

class SoSeparator;

/// The strip under a drawing that names it, as on a drafter's sheet: the title at the left
/// and, for a drawing at a scale, the scale at the right. A scene of its own, in the
/// strip's millimetres, which the sheet prints in the strip with a frame around it.
class TitleBlock {
  public:
    /// The strip's height: room for a line of large text, and never more than a quarter of
    /// the drawing.
    static float heightFor(const SbVec2f& drawingSize);
    /// The strip's scene, referenced once for the caller. `scale`: the scale as the user
    /// wrote it, or empty. `textUnit`: the millimetres on paper of a unit of font size, so
    /// that the texts print at their sizes in points whatever it is. A title too long for
    /// the strip prints smaller, down to a size still easily read.
    static SoSeparator* scene(const std::string& title, const std::string& scale,
                              const SbVec2f& stripSize, float textUnit);
};
