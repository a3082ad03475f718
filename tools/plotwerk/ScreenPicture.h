#pragma once

#include <Tessara/math/SbVec2f.h>

#include <cstdio>

#include "PrintOptions.h"

class SoSeparator;

/// What the screen shows of a scene, as a PNG picture of the drawing's size: the scene
/// rendered with OpenGL offscreen, in its own colours, on white or on the background option.
class ScreenPicture {
  public:
    /// Pixels per inch of the picture.
    static constexpr float kResolution = 96.0f;

    /// Renders and writes the picture; a CommandError when it cannot.
    static void write(SoSeparator* scene, const PrintOptions& options, const SbVec2f& drawingMm,
                      FILE* file);
};
