#pragma once

#include <Tessara/elements/SoSubElement.h>
#include <Tessara/math/SbVec3f.h>

class SoNode;

/// The current coordinates: an array owned by the node that set it.
class SoCoordinateElement : public SoElement {
    SO_ELEMENT_HEADER(SoCoordinateElement);

  public:
    void init(SoState* state) override;
    static void set3(SoState* state, SoNode* node, int num, const SbVec3f* coords);
    static const SoCoordinateElement* getInstance(SoState* state);
    int getNum() const { return num_; }
    /// Coordinate i (0 ≤ i < getNum()).
    const SbVec3f& get3(int i) const { return coords_[i]; }
    const SbVec3f* getArrayPtr3() const { return coords_; }

  private:
    int num_ = 0;
    const SbVec3f* coords_ = nullptr;
};
