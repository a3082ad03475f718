#pragma once

#include <Tessara/nodes/SoTransformation.h>

/// Rotates what follows.
class SoRotation : public SoTransformation {
    SO_NODE_HEADER(SoRotation);

  public:
    SoRotation();
    SoSFRotation rotation;
    SbMatrix getMatrix() const override;

  protected:
    ~SoRotation() override;
};
