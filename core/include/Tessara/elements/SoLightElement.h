#pragma once

#include <Tessara/base/SoNodeList.h>
#include <Tessara/elements/SoSubElement.h>
#include <Tessara/math/SbMatrix.h>

#include <vector>

/// The lights in force, each with the model × viewing matrix current when it was met.
class SoLightElement : public SoElement {
    SO_ELEMENT_HEADER(SoLightElement);

  public:
    void init(SoState* state) override;
    /// Adds a light; its matrix is the model matrix times the viewing matrix in force.
    static void add(SoState* state, SoNode* light);
    static const SoNodeList& getLights(SoState* state);
    /// The matrix of light i, taking its fields to viewing coordinates.
    static const SbMatrix& getMatrix(SoState* state, int index);

  private:
    SoNodeList lights_;
    std::vector<SbMatrix> matrices_;
};
