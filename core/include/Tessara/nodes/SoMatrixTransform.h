#pragma once

#include <Tessara/nodes/SoTransformation.h>

/// Applies a general matrix to what follows.
class SoMatrixTransform : public SoTransformation {
    SO_NODE_HEADER(SoMatrixTransform);

  public:
    SoMatrixTransform();
    SoSFMatrix matrix{SbMatrix::identity()};
    SbMatrix getMatrix() const override;

  protected:
    ~SoMatrixTransform() override;
};
