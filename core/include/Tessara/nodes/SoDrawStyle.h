#pragma once

#include <Tessara/nodes/SoNode.h>

/// How the shapes that follow are drawn: style, line width and pattern, point size.
class SoDrawStyle : public SoNode {
    SO_NODE_HEADER(SoDrawStyle);

  public:
    enum Style { FILLED = 0, LINES = 1, POINTS = 2, INVISIBLE = 3 };
    static const SoEnumEntry styleEnums[4];

    SoDrawStyle();

    SoSFEnum style{styleEnums, 4, FILLED};
    SoSFFloat lineWidth{0.0f};
    SoSFUShort linePattern{static_cast<unsigned short>(0xFFFF)};
    SoSFInt32 linePatternScaleFactor{1};
    SoSFFloat pointSize{0.0f};
    void doAction(SoAction* action) override;

  protected:
    ~SoDrawStyle() override;
};
