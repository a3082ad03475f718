#pragma once

#include <Tessara/nodes/SoNode.h>

/// The coordinates of the vertex shapes that follow.
class SoCoordinate3 : public SoNode {
    SO_NODE_HEADER(SoCoordinate3);

  public:
    SoCoordinate3();

    SoMFVec3f point{SbVec3f(0, 0, 0)};
    void doAction(SoAction* action) override;

  protected:
    ~SoCoordinate3() override;
};
