#pragma once

#include <Tessara/nodes/SoNode.h>

/// How the annotation text that follows is printed.
class SoAnnoText3Property : public SoNode {
    SO_NODE_HEADER(SoAnnoText3Property);

  public:
    enum RenderPrintType {
        RENDER3D_PRINT_VECTOR = 0,
        RENDER2D_PRINT_RASTER = 1,
        RENDER3D_PRINT_RASTER = 2
    };
    enum FontSizeHint { ANNOTATION = 0, FIT_TEXT_VECTOR = 1 };
    static const SoEnumEntry renderPrintEnums[3];
    static const SoEnumEntry fontSizeHintEnums[2];

    SoAnnoText3Property();

    SoSFEnum renderPrintType{renderPrintEnums, 3, RENDER2D_PRINT_RASTER};
    SoSFBool isCharOrientedRasterPrint{true};
    SoSFEnum fontSizeHint{fontSizeHintEnums, 2, ANNOTATION};
    void doAction(SoAction* action) override;

  protected:
    ~SoAnnoText3Property() override;
};
