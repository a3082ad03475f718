#pragma once

#include <Tessara/nodes/SoNode.h>

/// Ambient light and the attenuation of point and spot lights. The attenuation (a0, a1, a2) divides
/// a light at distance d by a0 + a1·d + a2·d².
class SoEnvironment : public SoNode {
    SO_NODE_HEADER(SoEnvironment);

  public:
    SoEnvironment();

    SoSFFloat ambientIntensity{0.2f};
    SoSFColor ambientColor{SbColor(1, 1, 1)};
    SoSFVec3f attenuation{SbVec3f(1, 0, 0)};
    void doAction(SoAction* action) override;

  protected:
    ~SoEnvironment() override;
};
