#pragma once

#include <Tessara/math/SbVec2f.h>

#include <string>
#include <vector>

#include "NodeRef.h"
#include "options/PrintOptions.h"

class SoSeparator;
class SoVectorizeAction;

/// Draws a scene with an action: one view, or a sheet of several views of it. The sheet's
/// views share the drawing area in a grid of equal cells, filled in the order given, left to
/// right and top down, so that "top,iso,front,right" lays out a drafter's sheet: the top view
/// above the front view, the right view beside it. Each view gets a camera of its own and
/// a frame. Orthographic front, back, side, top and bottom views share one scale and line
/// up with one another; other views fill their cells. A title takes a strip at the bottom
/// of the drawing (a TitleBlock), and the views what is left.
class ViewSheet {
  public:
    /// The most views one sheet takes.
    static constexpr size_t kMostViews = 16;

    /// Reads "SIDE,SIDE,...", named sides only; a CommandError names the option otherwise.
    static std::vector<std::string> parse(const std::string& option, const std::string& text);
    /// One scene of a sheet and its place on the drawing, in millimetres.
    struct Part {
        NodeRef<SoSeparator> scene;
        SbVec2f origin, size;
        /// Text and lines in one plane, the title: nothing in it hides anything, so it is
        /// printed as it stands, its text as written rather than as the hidden-surface modes
        /// keep texts (in Latin-1).
        bool flat = false;
    };

    /// The scenes of a drawing of `size`: the scene itself, completed with the camera and
    /// light it lacks, or a view of it each, and the title. Several views need a scene
    /// without a camera. `textUnit`: the millimetres on paper of a unit of font size (a
    /// drawing's nominal width, a point on the screen).
    static std::vector<Part> layout(SoSeparator* scene, const PrintOptions& options,
                                    const SbVec2f& size, float textUnit);
    /// Applies the action to the layout's scenes: once, or within one page once each.
    static void draw(SoVectorizeAction& action, SoSeparator* scene, const PrintOptions& options);
};
