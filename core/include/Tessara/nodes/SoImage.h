#pragma once

#include <Tessara/nodes/SoShape.h>

/// A raster image drawn in screen space at the origin, aligned to it as the alignment fields
/// say. It generates no primitives (printers read the image directly) and its bounding box
/// is its anchor point.
class SoImage : public SoShape {
    SO_NODE_HEADER(SoImage);

  public:
    enum HorAlignment { LEFT = 0, CENTER = 1, RIGHT = 2 };
    enum VertAlignment { BOTTOM = 0, HALF = 1, TOP = 2 };

    static const SoEnumEntry horAlignmentEnums[3];
    static const SoEnumEntry vertAlignmentEnums[3];

    SoImage();

    SoSFImage image;
    /// Drawn size in pixels; -1 keeps the image's own width or height.
    SoSFInt32 width{-1};
    SoSFInt32 height{-1};
    /// Which point of the image sits at the origin.
    SoSFEnum horAlignment{horAlignmentEnums, 3, LEFT};
    SoSFEnum vertAlignment{vertAlignmentEnums, 3, BOTTOM};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoImage() override;
    void generatePrimitives(SoAction* action) override;
};
