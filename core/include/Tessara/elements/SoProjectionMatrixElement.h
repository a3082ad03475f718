#pragma once

#include <Tessara/elements/SoSubElement.h>
#include <Tessara/math/SbMatrix.h>

class SoNode;

/// The camera-to-clip-space matrix set by the current camera.
class SoProjectionMatrixElement : public SoElement {
    SO_ELEMENT_HEADER(SoProjectionMatrixElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, SoNode* node, const SbMatrix& matrix);
    static const SbMatrix& get(SoState* state);

  private:
    SbMatrix matrix_;
};
