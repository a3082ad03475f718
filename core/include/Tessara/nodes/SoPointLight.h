#pragma once

#include <Tessara/nodes/SoLight.h>

/// A light at a location, shining in every direction.
class SoPointLight : public SoLight {
    SO_NODE_HEADER(SoPointLight);

  public:
    SoPointLight();

    SoSFVec3f location{SbVec3f(0, 0, 1)};

  protected:
    ~SoPointLight() override;
};
