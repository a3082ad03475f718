#pragma once

#include <Tessara/math/SbVec2f.h>

#include "options/PrintOptions.h"

class SoSeparator;

/// Makes any scene printable: a scene without a camera gets a perspective (or orthographic)
/// camera looking from the chosen side, whose view of the scene's bounding box fills a
/// drawing of the given size up to a small margin, and a scene without a light gets a
/// headlight, a directional light shining along the camera's view. At a scale the camera is
/// orthographic and sized for it, whatever part of the scene it then shows.
class ViewSetup {
  public:
    /// Whether an active camera is in the scene.
    static bool hasCamera(SoSeparator* scene);
    /// Adds what is missing to `scene`, in place. A side chosen for a scene that has its own
    /// camera is reported as a warning, since the scene's camera is kept.
    static void complete(SoSeparator* scene, const SbVec2f& drawingSize,
                         const PrintOptions& options, const ViewDirection& view);
};
