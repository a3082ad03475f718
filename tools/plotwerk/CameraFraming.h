#pragma once

#include <Tessara/math/SbBox3f.h>

class SoCamera;

/// Places a camera, keeping the way it looks, so that the projection of a box fills the
/// drawing up to a margin: the corners of the box reach the margin on the tighter side and
/// are centred on the other. Perspective and orthographic cameras alike.
class CameraFraming {
  public:
    /// aspect: the drawing's width over its height. margin: the share of the drawing's width
    /// and height left free on each side. A box without extent on the drawing leaves the
    /// camera as it is.
    static void frame(SoCamera& camera, const SbBox3f& box, float aspect, float margin);
};
