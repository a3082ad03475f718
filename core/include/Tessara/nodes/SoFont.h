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

    /// How far a line of UTF-8 text advances in the face `fontName` resolves to, at `size`,
    /// in the size's units: the width 3D text gives it, and that a page shows in the face of
    /// the same name. 0 when no face can be opened.
    static float getLineWidth(const SbName& fontName, float size, const SbString& text);

  protected:
    ~SoFont() override;
};
