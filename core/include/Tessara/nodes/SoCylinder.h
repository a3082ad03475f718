#pragma once

#include <Tessara/nodes/SoShape.h>

/// A cylinder around the y axis, centred on the origin. Parts: the sides (0), the top disk
/// at +height/2 (1) and the bottom disk at -height/2 (2).
class SoCylinder : public SoShape {
    SO_NODE_HEADER(SoCylinder);

  public:
    enum Part { SIDES = 1, TOP = 2, BOTTOM = 4, ALL = 7 };
    static const SoEnumEntry partEnums[4];

    SoCylinder();

    SoSFBitMask parts{partEnums, 4, ALL};
    SoSFFloat radius{1.0f};
    SoSFFloat height{2.0f};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoCylinder() override;
    void generatePrimitives(SoAction* action) override;

  private:
    void generateDisk(SoAction* action, int part, float y, float r, int slices);
};
