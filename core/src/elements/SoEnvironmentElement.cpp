#include <Tessara/elements/SoEnvironmentElement.h>

SO_ELEMENT_SOURCE(SoEnvironmentElement, SoElement)

void SoEnvironmentElement::init(SoState*) {
    ambientIntensity_ = 0.2f;
    ambientColor_.setValue(1, 1, 1);
    attenuation_.setValue(1, 0, 0);
}

void SoEnvironmentElement::set(SoState* state, SoNode*, float ambientIntensity,
                               const SbColor& ambientColor, const SbVec3f& attenuation) {
    auto* e = static_cast<SoEnvironmentElement*>(getElement(state, getClassStackIndex()));
    e->ambientIntensity_ = ambientIntensity;
    e->ambientColor_ = ambientColor;
    e->attenuation_ = attenuation;
}

const SoEnvironmentElement* SoEnvironmentElement::instance(SoState* state) {
    return static_cast<const SoEnvironmentElement*>(getConstElement(state, getClassStackIndex()));
}

void SoEnvironmentElement::get(SoState* state, float& ambientIntensity, SbColor& ambientColor,
                               SbVec3f& attenuation) {
    const SoEnvironmentElement* e = instance(state);
    ambientIntensity = e->ambientIntensity_;
    ambientColor = e->ambientColor_;
    attenuation = e->attenuation_;
}

float SoEnvironmentElement::getAmbientIntensity(SoState* state) {
    return instance(state)->ambientIntensity_;
}

SbColor SoEnvironmentElement::getAmbientColor(SoState* state) {
    return instance(state)->ambientColor_;
}

SbVec3f SoEnvironmentElement::getLightAttenuation(SoState* state) {
    return instance(state)->attenuation_;
}
