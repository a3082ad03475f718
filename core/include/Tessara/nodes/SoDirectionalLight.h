#pragma once

#include <Tessara/nodes/SoLight.h>

/// A light from infinitely far away, shining along a direction.
class SoDirectionalLight : public SoLight {
    SO_NODE_HEADER(SoDirectionalLight);

  public:
    SoDirectionalLight();

    SoSFVec3f direction{SbVec3f(0, 0, -1)};

  protected:
    ~SoDirectionalLight() override;
};
