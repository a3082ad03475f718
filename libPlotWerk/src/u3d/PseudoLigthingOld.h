#pragma once

#include <PlotWerk/SoToU3DActionPrivate.h>

/// Half brightness plus half the light that falls on the front of a face; a face turned away
/// from the light stays at half, as if lit from the front only.
class SoToU3DActionPrivate::PseudoLigthingOld : public SoToU3DActionPrivate::IPseudoLighting {
  public:
    float intensity(const SbVec3f& normal) override;
};
