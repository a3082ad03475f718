#pragma once

#include <Tessara/nodes/SoCamera.h>

/// A camera without perspective: height is the height of the view in world units.
class SoOrthographicCamera : public SoCamera {
    SO_NODE_HEADER(SoOrthographicCamera);

  public:
    SoOrthographicCamera();

    SoSFFloat height{2.0f};

    SbViewVolume getViewVolume(float useAspectRatio = 0.0f) const override;

  protected:
    ~SoOrthographicCamera() override;
    void viewBoundingBox(const SbBox3f& box, float aspect, float slack) override;
};
