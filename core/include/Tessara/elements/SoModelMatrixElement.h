#pragma once

#include <Tessara/elements/SoSubElement.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbRotation.h>
#include <Tessara/math/SbVec3f.h>

class SoNode;

/// The object-to-world matrix, accumulated by transformation nodes (row vectors: a new
/// local transformation multiplies on the left).
class SoModelMatrixElement : public SoElement {
    SO_ELEMENT_HEADER(SoModelMatrixElement);

  public:
    void init(SoState* state) override;
    static void makeIdentity(SoState* state, SoNode* node);
    static void set(SoState* state, SoNode* node, const SbMatrix& matrix);
    /// Applies `matrix` in the local space: model = matrix × model.
    static void mult(SoState* state, SoNode* node, const SbMatrix& matrix);
    static void translateBy(SoState* state, SoNode* node, const SbVec3f& translation);
    static void rotateBy(SoState* state, SoNode* node, const SbRotation& rotation);
    static void scaleBy(SoState* state, SoNode* node, const SbVec3f& scaleFactor);
    static const SbMatrix& get(SoState* state);

  private:
    SbMatrix matrix_;
};
