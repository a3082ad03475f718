#pragma once

#include <Tessara/nodes/SoShape.h>

/// Screen-aligned text at the origin, in the font and size (in points) in force. It has no
/// object-space geometry: it generates no primitives, printers read its fields directly,
/// and its bounding box is the origin.
class SoText2 : public SoShape {
    SO_NODE_HEADER(SoText2);

  public:
    /// Where each line sits relative to the origin: starting, ending or centred there.
    enum Justification { LEFT = 1, RIGHT = 2, CENTER = 3 };

    static const SoEnumEntry justificationEnums[3];

    SoText2();

    SoMFString string{SbString("")};
    /// Distance between baselines, in multiples of the font size.
    SoSFFloat spacing{1.0f};
    SoSFEnum justification{justificationEnums, 3, LEFT};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoText2() override;
    void generatePrimitives(SoAction* action) override;
};
