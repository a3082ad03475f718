#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoLightElement.h>
#include <Tessara/nodes/SoLight.h>

SO_NODE_ABSTRACT_SOURCE(SoLight, SoNode)

SoLight::SoLight() {
    SO_NODE_CONSTRUCTOR(SoLight);
    addField("on", on);
    addField("intensity", intensity);
    addField("color", color);
}

SoLight::~SoLight() = default;

void SoLight::doAction(SoAction* action) {
    if (on.getValue()) SoLightElement::add(action->getState(), this);
}
