#pragma once

#include <Tessara/math/SbVec3f.h>

#include <vector>

class SoCamera;

/// Places a camera, keeping the way it looks, so that the projection of a scene's corners
/// fills the drawing up to a margin: they reach the margin on the tighter side and are
/// centred on the other. Perspective and orthographic cameras alike.
class CameraFraming {
  public:
    /// corners: in the camera's axes (x right, y up, z towards the viewer), measured from
    /// the world's origin. aspect: the drawing's width over its height. margin: the share of
    /// the drawing's width and height left free on each side. Corners without extent on the
    /// drawing leave the camera as it is.
    static void frame(SoCamera& camera, const std::vector<SbVec3f>& corners, float aspect,
                      float margin);
};
