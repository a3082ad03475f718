#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoAnnoText3CharOrientElement.h>
#include <Tessara/elements/SoAnnoText3FontSizeHintElement.h>
#include <Tessara/elements/SoAnnoText3RenderPrintElement.h>
#include <Tessara/nodes/SoAnnoText3Property.h>

SO_NODE_SOURCE(SoAnnoText3Property, SoNode)
const SoEnumEntry SoAnnoText3Property::renderPrintEnums[3] = {
    {"RENDER3D_PRINT_VECTOR", 0}, {"RENDER2D_PRINT_RASTER", 1}, {"RENDER3D_PRINT_RASTER", 2}};
const SoEnumEntry SoAnnoText3Property::fontSizeHintEnums[2] = {{"ANNOTATION", 0},
                                                               {"FIT_TEXT_VECTOR", 1}};

SoAnnoText3Property::SoAnnoText3Property() {
    SO_NODE_CONSTRUCTOR(SoAnnoText3Property);
    addField("renderPrintType", renderPrintType);
    addField("isCharOrientedRasterPrint", isCharOrientedRasterPrint);
    addField("fontSizeHint", fontSizeHint);
}

SoAnnoText3Property::~SoAnnoText3Property() = default;

void SoAnnoText3Property::doAction(SoAction* action) {
    SoState* state = action->getState();
    SoAnnoText3RenderPrintElement::set(
        state,
        static_cast<SoAnnoText3RenderPrintElement::RenderPrintType>(renderPrintType.getValue()));
    SoAnnoText3CharOrientElement::set(state, isCharOrientedRasterPrint.getValue());
    SoAnnoText3FontSizeHintElement::set(
        state, static_cast<SoAnnoText3FontSizeHintElement::FontSizeHint>(fontSizeHint.getValue()));
}
