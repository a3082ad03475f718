#pragma once

#include <Tessara/nodes/SoNode.h>

/// Whether the shapes that follow are lit or drawn in their base colour.
class SoLightModel : public SoNode {
    SO_NODE_HEADER(SoLightModel);

  public:
    enum Model { BASE_COLOR = 0, PHONG = 1, PER_PIXEL_PHONG = 2 };
    static const SoEnumEntry modelEnums[3];

    SoLightModel();

    SoSFEnum model{modelEnums, 3, PHONG};
    void doAction(SoAction* action) override;

  protected:
    ~SoLightModel() override;
};
