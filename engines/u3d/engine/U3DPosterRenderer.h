#pragma once

#include <Tessara/math/SbColor.h>

#include "U3DViewpoint.h"
#include "pdf/U3DPdfRequest.h"

class SoNode;

namespace u3d {

/// Draws the picture of the default view that a PDF shows where its reader plays no 3D.
class U3DPosterRenderer {
  public:
    /// Renders `root` offscreen as seen from `view` (a camera of the scene's own takes over
    /// where it stands); a scene without lights is lit from the eye, as a 3D viewer does. No
    /// pixels when no offscreen context could be made.
    static U3DPdfPoster render(SoNode* root, const U3DViewpoint& view, bool sceneHasLights,
                               const SbColor& background);
};

}  // namespace u3d
