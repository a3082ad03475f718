#pragma once

#include <Tessara/nodes/SoOutlineText.h>

/// Annotation text: outline text that printers may render either as the glyph polygons it generates
/// or as 2D text at its position, as the annotation-text properties in force decide. A type of its
/// own, so that printers can tell it from SoText3.
class SoAnnoText3 : public SoOutlineText {
    SO_NODE_HEADER(SoAnnoText3);

  public:
    SoAnnoText3();

  protected:
    ~SoAnnoText3() override;
};
