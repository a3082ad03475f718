#pragma once

#include <Tessara/nodes/SoShape.h>

/// Annotation text: 3D text that printers may render either as the glyph polygons it
/// generates (laid out exactly as SoText3 does) or as 2D text at its position, as the
/// annotation-text properties in force decide.
class SoAnnoText3 : public SoShape {
    SO_NODE_HEADER(SoAnnoText3);

  public:
    enum Justification { LEFT = 1, RIGHT = 2, CENTER = 3 };
    enum Part { FRONT = 1, SIDES = 2, BACK = 4, ALL = 7 };

    static const SoEnumEntry justificationEnums[3];
    static const SoEnumEntry partsEnums[4];

    SoAnnoText3();

    SoMFString string{SbString("")};
    /// Distance between baselines, in multiples of the font size.
    SoSFFloat spacing{1.0f};
    SoSFEnum justification{justificationEnums, 3, LEFT};
    SoSFBitMask parts{partsEnums, 4, FRONT};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoAnnoText3() override;
    void generatePrimitives(SoAction* action) override;
};
