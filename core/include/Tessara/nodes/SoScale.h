#pragma once

#include <Tessara/nodes/SoTransformation.h>

/// Scales what follows.
class SoScale : public SoTransformation {
    SO_NODE_HEADER(SoScale);

  public:
    SoScale();
    SoSFVec3f scaleFactor{SbVec3f(1, 1, 1)};
    SbMatrix getMatrix() const override;

  protected:
    ~SoScale() override;
};
