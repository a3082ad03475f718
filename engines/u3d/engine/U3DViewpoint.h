#pragma once

#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbVec3f.h>

#include <array>

#include "format/U3DScene.h"

class SoCamera;

namespace u3d {

/// Where the default view looks from: the scene's camera, or one in front of the scene when it
/// has none. The camera's own frame looks along its -Z with +Y up, as in the scene graph.
struct U3DViewpoint {
    SbMatrix cameraToWorld;
    bool orthographic = false;
    /// Perspective: the vertical field of view in degrees; orthographic: the view's height.
    float projection = 45.0f;
    float nearClip = 0.01f, farClip = 100.0f;
    /// How far in front of the camera the scene's centre of interest lies.
    float focalDistance = 5.0f;

    static U3DViewpoint fromCamera(const SoCamera& camera, const SbMatrix& modelMatrix);
    /// A perspective view from the front (+Z) that shows the box [low, high] whole.
    static U3DViewpoint facing(const SbVec3f& low, const SbVec3f& high);

    /// The 3D annotation's matrix: its camera looks along its +Z with +Y down, so the columns
    /// are right, down, forward and the position.
    std::array<float, 12> pdfCameraToWorld() const;
    /// Whether every number of the view is one: a camera at NaN makes no view.
    bool finite() const;
    Matrix nodeTransform() const;
};

}  // namespace u3d
