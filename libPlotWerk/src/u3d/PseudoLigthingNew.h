#pragma once

#include <PlotWerk/SoToU3DActionPrivate.h>

/// Half brightness plus half the light that falls on either side of a face: exported meshes
/// often have faces wound either way, and a face seen from its back should not go dark.
class SoToU3DActionPrivate::PseudoLigthingNew : public SoToU3DActionPrivate::IPseudoLighting {
  public:
    float intensity(const SbVec3f& normal) override;
};
