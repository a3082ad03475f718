#include <Tessara/elements/SoMaterialElement.h>

SO_ELEMENT_SOURCE(SoMaterialElement, SoElement)

namespace {
const SbColor defaultAmbient(0.2f, 0.2f, 0.2f);
const SbColor defaultDiffuse(0.8f, 0.8f, 0.8f);
const SbColor defaultBlack(0.0f, 0.0f, 0.0f);
const float defaultShininess = 0.2f;
const float defaultTransparency = 0.0f;
}  // namespace

void SoMaterialElement::init(SoState*) {
    ambient_ = {1, &defaultAmbient};
    diffuse_ = {1, &defaultDiffuse};
    specular_ = {1, &defaultBlack};
    emissive_ = {1, &defaultBlack};
    shininess_ = {1, &defaultShininess};
    transparency_ = {1, &defaultTransparency};
}

SoMaterialElement* SoMaterialElement::writable(SoState* state) {
    return static_cast<SoMaterialElement*>(getElement(state, getClassStackIndex()));
}

// An empty array leaves the property as it was: there would be no value to pick.
void SoMaterialElement::setAmbient(SoState* state, SoNode*, int num, const SbColor* colors) {
    if (num > 0 && colors) writable(state)->ambient_ = {num, colors};
}

void SoMaterialElement::setDiffuse(SoState* state, SoNode*, int num, const SbColor* colors) {
    if (num > 0 && colors) writable(state)->diffuse_ = {num, colors};
}

void SoMaterialElement::setSpecular(SoState* state, SoNode*, int num, const SbColor* colors) {
    if (num > 0 && colors) writable(state)->specular_ = {num, colors};
}

void SoMaterialElement::setEmissive(SoState* state, SoNode*, int num, const SbColor* colors) {
    if (num > 0 && colors) writable(state)->emissive_ = {num, colors};
}

void SoMaterialElement::setShininess(SoState* state, SoNode*, int num, const float* values) {
    if (num > 0 && values) writable(state)->shininess_ = {num, values};
}

void SoMaterialElement::setTransparency(SoState* state, SoNode*, int num, const float* values) {
    if (num > 0 && values) writable(state)->transparency_ = {num, values};
}

const SoMaterialElement* SoMaterialElement::getInstance(SoState* state) {
    return static_cast<const SoMaterialElement*>(getConstElement(state, getClassStackIndex()));
}
