#pragma once

#include <Tessara/nodes/SoShape.h>

/// A cone around the y axis, centred on the origin: apex at +height/2, base disk at
/// -height/2. Parts: the sides (0) and the bottom (1).
class SoCone : public SoShape {
    SO_NODE_HEADER(SoCone);

  public:
    enum Part { SIDES = 1, BOTTOM = 2, ALL = 3 };
    static const SoEnumEntry partEnums[3];

    SoCone();

    SoSFBitMask parts{partEnums, 3, ALL};
    SoSFFloat bottomRadius{1.0f};
    SoSFFloat height{2.0f};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoCone() override;
    void generatePrimitives(SoAction* action) override;
};
