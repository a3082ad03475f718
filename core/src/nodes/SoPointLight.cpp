#include <Tessara/nodes/SoPointLight.h>

SO_NODE_SOURCE(SoPointLight, SoLight)

SoPointLight::SoPointLight() {
    SO_NODE_CONSTRUCTOR(SoPointLight);
    addField("location", location);
}

SoPointLight::~SoPointLight() = default;
