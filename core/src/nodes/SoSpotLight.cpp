#include <Tessara/nodes/SoSpotLight.h>

SO_NODE_SOURCE(SoSpotLight, SoLight)

SoSpotLight::SoSpotLight() {
    SO_NODE_CONSTRUCTOR(SoSpotLight);
    addField("location", location);
    addField("direction", direction);
    addField("dropOffRate", dropOffRate);
    addField("cutOffAngle", cutOffAngle);
}

SoSpotLight::~SoSpotLight() = default;
