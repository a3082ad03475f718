#pragma once

#include <Tessara/math/SbVec2f.h>

#include <string>

#include "options/PrintOptions.h"

class SoSeparator;

/// What the screen shows of a scene, as a PNG picture of the drawing's size: the scene
/// rendered with OpenGL offscreen, in its own colours, on white or on the background option.
class ScreenPicture {
  public:
    /// Pixels per inch of the picture.
    static constexpr float kResolution = 96.0f;

    /// Renders the picture and gives its PNG bytes; a CommandError when it cannot.
    static std::string encode(SoSeparator* scene, const PrintOptions& options,
                              const SbVec2f& drawingMm);
};
