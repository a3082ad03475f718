#pragma once

#include <PlotWerk/SoToU3DActionPrivate.h>

/// No pseudo lighting: every face at full brightness, for a viewer that lights the scene itself.
class SoToU3DActionPrivate::PseudoLigthingOff : public SoToU3DActionPrivate::IPseudoLighting {
  public:
    float intensity(const SbVec3f& normal) override;
};
