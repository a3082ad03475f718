#pragma once

#include <Tessara/elements/SoSubElement.h>
#include <Tessara/math/SbMatrix.h>

class SoNode;

/// The world-to-camera matrix set by the current camera.
class SoViewingMatrixElement : public SoElement {
    SO_ELEMENT_HEADER(SoViewingMatrixElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, SoNode* node, const SbMatrix& matrix);
    static const SbMatrix& get(SoState* state);

  private:
    SbMatrix matrix_;
};
