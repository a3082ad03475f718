#pragma once

#include <Tessara/nodes/SoLight.h>

/// A light at a location shining in a cone around a direction; dropOffRate (0 to 1) concentrates it
/// towards the axis, cutOffAngle (radians) is the half angle of the cone.
class SoSpotLight : public SoLight {
    SO_NODE_HEADER(SoSpotLight);

  public:
    SoSpotLight();

    SoSFVec3f location{SbVec3f(0, 0, 1)};
    SoSFVec3f direction{SbVec3f(0, 0, -1)};
    SoSFFloat dropOffRate{0.0f};
    SoSFFloat cutOffAngle{0.785398f};

  protected:
    ~SoSpotLight() override;
};
