#pragma once

#include <Tessara/nodes/SoOutlineText.h>

/// 3D text: the outline text of the current font (see SoOutlineText).
class SoText3 : public SoOutlineText {
    SO_NODE_HEADER(SoText3);

  public:
    SoText3();

  protected:
    ~SoText3() override;
};
