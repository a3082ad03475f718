#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoMaterialElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoBaseColor.h>

SO_NODE_SOURCE(SoBaseColor, SoNode)

SoBaseColor::SoBaseColor() {
    SO_NODE_CONSTRUCTOR(SoBaseColor);
    addField("rgb", rgb);
}

SoBaseColor::~SoBaseColor() = default;

void SoBaseColor::doAction(SoAction* action) {
    SoState* state = action->getState();
    if (!rgb.isIgnored() &&
        SoOverrideElement::mayChange(state, this, SoOverrideElement::DIFFUSE_COLOR))
        SoMaterialElement::setDiffuse(state, this, rgb.getNum(),
                                      rgb.getNum() ? rgb.getValues(0) : nullptr);
}
