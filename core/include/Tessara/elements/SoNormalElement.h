#pragma once

#include <Tessara/elements/SoSubElement.h>
#include <Tessara/math/SbVec3f.h>

class SoNode;

/// The current normals: an array owned by the node that set it. Empty by default, in
/// which case shapes generate their own normals.
class SoNormalElement : public SoElement {
    SO_ELEMENT_HEADER(SoNormalElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, SoNode* node, int num, const SbVec3f* normals);
    static const SoNormalElement* getInstance(SoState* state);
    int getNum() const { return num_; }
    const SbVec3f& get(int i) const { return normals_[i]; }
    const SbVec3f* getArrayPtr() const { return normals_; }

  private:
    int num_ = 0;
    const SbVec3f* normals_ = nullptr;
};
