#include <Tessara/nodes/SoDirectionalLight.h>

SO_NODE_SOURCE(SoDirectionalLight, SoLight)

SoDirectionalLight::SoDirectionalLight() {
    SO_NODE_CONSTRUCTOR(SoDirectionalLight);
    addField("direction", direction);
}

SoDirectionalLight::~SoDirectionalLight() = default;
