#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoEnvironmentElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoEnvironment.h>

SO_NODE_SOURCE(SoEnvironment, SoNode)

SoEnvironment::SoEnvironment() {
    SO_NODE_CONSTRUCTOR(SoEnvironment);
    addField("ambientIntensity", ambientIntensity);
    addField("ambientColor", ambientColor);
    addField("attenuation", attenuation);
}

SoEnvironment::~SoEnvironment() = default;

void SoEnvironment::doAction(SoAction* action) {
    SoState* state = action->getState();
    if (SoOverrideElement::mayChange(state, this, SoOverrideElement::ENVIRONMENT))
        SoEnvironmentElement::set(state, this, ambientIntensity.getValue(), ambientColor.getValue(),
                                  attenuation.getValue());
}
