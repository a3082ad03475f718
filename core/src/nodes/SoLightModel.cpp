#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoLightModelElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoLightModel.h>

SO_NODE_SOURCE(SoLightModel, SoNode)
const SoEnumEntry SoLightModel::modelEnums[3] = {
    {"BASE_COLOR", 0}, {"PHONG", 1}, {"PER_PIXEL_PHONG", 2}};

SoLightModel::SoLightModel() {
    SO_NODE_CONSTRUCTOR(SoLightModel);
    addField("model", model);
}

SoLightModel::~SoLightModel() = default;

void SoLightModel::doAction(SoAction* action) {
    SoState* state = action->getState();
    if (!model.isIgnored() &&
        SoOverrideElement::mayChange(state, this, SoOverrideElement::LIGHT_MODEL))
        SoLightModelElement::set(state, static_cast<SoLightModelElement::Model>(model.getValue()));
}
