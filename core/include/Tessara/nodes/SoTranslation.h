#pragma once

#include <Tessara/nodes/SoTransformation.h>

/// Moves what follows.
class SoTranslation : public SoTransformation {
    SO_NODE_HEADER(SoTranslation);

  public:
    SoTranslation();
    SoSFVec3f translation{SbVec3f(0, 0, 0)};
    SbMatrix getMatrix() const override;

  protected:
    ~SoTranslation() override;
};
