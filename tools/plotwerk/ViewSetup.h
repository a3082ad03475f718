#pragma once

#include <Tessara/math/SbVec2f.h>

class SoSeparator;

/// Makes any scene printable: a scene without a camera gets a perspective (or orthographic)
/// camera looking down -z whose view of the scene's bounding box fills a drawing of the
/// given size up to a small margin, and a scene without a light gets a headlight, a
/// directional light shining along the camera's view.
class ViewSetup {
  public:
    /// Adds what is missing to `scene`, in place.
    static void complete(SoSeparator* scene, const SbVec2f& drawingSize, bool orthographic);
};
