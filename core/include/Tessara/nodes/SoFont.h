#pragma once

#include <Tessara/nodes/SoNode.h>

/// The font of the text that follows: name, size, and how 3D text is rendered.
class SoFont : public SoNode {
    SO_NODE_HEADER(SoFont);

  public:
    /// TEXTURE and TEXTURE_DELAYED 3D text produces no glyph triangles.
    enum RenderStyle { POLYGON = 0, TEXTURE = 1, TEXTURE_DELAYED = 2, POLYGON_AND_OUTLINE = 3 };
    static const SoEnumEntry renderStyleEnums[4];

    SoFont();

    SoSFName name{SbName("defaultFont")};
    SoSFFloat size{10.0f};
    SoSFEnum renderStyle{renderStyleEnums, 4, POLYGON};
    void doAction(SoAction* action) override;

  protected:
    ~SoFont() override;
};
