#pragma once

#include <Tessara/nodes/SoShape.h>

/// An axis-aligned box centred on the origin. Its six faces are its parts, numbered front
/// (+z), back, left (-x), right, top (+y), bottom; materials bind per face unless OVERALL.
class SoCube : public SoShape {
    SO_NODE_HEADER(SoCube);

  public:
    SoCube();

    SoSFFloat width{2.0f};
    SoSFFloat height{2.0f};
    SoSFFloat depth{2.0f};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoCube() override;
    void generatePrimitives(SoAction* action) override;
};
