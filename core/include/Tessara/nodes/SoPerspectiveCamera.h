#pragma once

#include <Tessara/nodes/SoCamera.h>

/// A camera with perspective: heightAngle is the full vertical field of view in radians.
class SoPerspectiveCamera : public SoCamera {
    SO_NODE_HEADER(SoPerspectiveCamera);

  public:
    SoPerspectiveCamera();

    SoSFFloat heightAngle{0.785398f};

    SbViewVolume getViewVolume(float useAspectRatio = 0.0f) const override;

  protected:
    ~SoPerspectiveCamera() override;
    void viewBoundingBox(const SbBox3f& box, float aspect, float slack) override;
};
