#pragma once

#include <Tessara/nodes/SoTransformation.h>

/// Scales about a centre along an orientation, rotates, then translates what follows.
class SoTransform : public SoTransformation {
    SO_NODE_HEADER(SoTransform);

  public:
    SoTransform();
    SoSFVec3f translation{SbVec3f(0, 0, 0)};
    SoSFRotation rotation;
    SoSFVec3f scaleFactor{SbVec3f(1, 1, 1)};
    SoSFRotation scaleOrientation;
    SoSFVec3f center{SbVec3f(0, 0, 0)};
    SbMatrix getMatrix() const override;

  protected:
    ~SoTransform() override;
};
