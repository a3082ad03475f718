#pragma once

#include <Tessara/nodes/SoShape.h>

/// Text drawn as polygons from the outlines of a real font, in the font and size in force
/// (the size is the height of the em square in object units). Each string is one line;
/// line k has its baseline at y = -k * size * spacing. The front lies in the z = 0 plane
/// facing +z; the back lies at z = -size / 10 facing -z; the sides join the two along the
/// glyph outlines. Texture render styles generate no triangles; POLYGON_AND_OUTLINE adds
/// the front outline as line segments. Triangle details are SoFaceDetails with part index
/// 0 (front), 1 (sides) or 2 (back) and face index = the character's index over all lines;
/// with a PER_PART material binding the part index is also the material index.
class SoOutlineText : public SoShape {
    SO_NODE_ABSTRACT_HEADER(SoOutlineText);

  public:
    /// Where each line sits relative to the origin: starting, ending or centred there.
    enum Justification { LEFT = 1, RIGHT = 2, CENTER = 3 };
    /// The parts of the extruded text to generate.
    enum Part { FRONT = 1, SIDES = 2, BACK = 4, ALL = 7 };

    static const SoEnumEntry justificationEnums[3];
    static const SoEnumEntry partsEnums[4];

    SoMFString string{SbString("")};
    /// Distance between baselines, in multiples of the font size.
    SoSFFloat spacing{1.0f};
    SoSFEnum justification{justificationEnums, 3, LEFT};
    SoSFBitMask parts{partsEnums, 4, FRONT};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    SoOutlineText();
    ~SoOutlineText() override;
    void generatePrimitives(SoAction* action) override;
};
