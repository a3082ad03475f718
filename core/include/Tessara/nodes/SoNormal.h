#pragma once

#include <Tessara/nodes/SoNode.h>

/// The normals of the vertex shapes that follow; shapes generate their own when there are none.
class SoNormal : public SoNode {
    SO_NODE_HEADER(SoNormal);

  public:
    SoNormal();

    SoMFVec3f vector;
    void doAction(SoAction* action) override;

  protected:
    ~SoNormal() override;
};
