#pragma once

#include <Tessara/nodes/SoShape.h>

/// A sphere centred on the origin, tessellated in slices around the y axis and stacks from
/// pole to pole, more finely as the complexity grows. Its normals point away from the centre.
class SoSphere : public SoShape {
    SO_NODE_HEADER(SoSphere);

  public:
    SoSphere();

    SoSFFloat radius{1.0f};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoSphere() override;
    void generatePrimitives(SoAction* action) override;
};
