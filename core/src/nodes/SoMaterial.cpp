#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoMaterialElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoMaterial.h>

SO_NODE_SOURCE(SoMaterial, SoNode)

SoMaterial::SoMaterial() {
    SO_NODE_CONSTRUCTOR(SoMaterial);
    addField("ambientColor", ambientColor);
    addField("diffuseColor", diffuseColor);
    addField("specularColor", specularColor);
    addField("emissiveColor", emissiveColor);
    addField("shininess", shininess);
    addField("transparency", transparency);
}

SoMaterial::~SoMaterial() = default;

void SoMaterial::doAction(SoAction* action) {
    SoState* state = action->getState();
    using O = SoOverrideElement;
    if (!ambientColor.isIgnored() && O::mayChange(state, this, O::AMBIENT_COLOR))
        SoMaterialElement::setAmbient(state, this, ambientColor.getNum(),
                                      ambientColor.getNum() ? ambientColor.getValues(0) : nullptr);
    if (!diffuseColor.isIgnored() && O::mayChange(state, this, O::DIFFUSE_COLOR))
        SoMaterialElement::setDiffuse(state, this, diffuseColor.getNum(),
                                      diffuseColor.getNum() ? diffuseColor.getValues(0) : nullptr);
    if (!specularColor.isIgnored() && O::mayChange(state, this, O::SPECULAR_COLOR))
        SoMaterialElement::setSpecular(
            state, this, specularColor.getNum(),
            specularColor.getNum() ? specularColor.getValues(0) : nullptr);
    if (!emissiveColor.isIgnored() && O::mayChange(state, this, O::EMISSIVE_COLOR))
        SoMaterialElement::setEmissive(
            state, this, emissiveColor.getNum(),
            emissiveColor.getNum() ? emissiveColor.getValues(0) : nullptr);
    if (!shininess.isIgnored() && O::mayChange(state, this, O::SHININESS))
        SoMaterialElement::setShininess(state, this, shininess.getNum(),
                                        shininess.getNum() ? shininess.getValues(0) : nullptr);
    if (!transparency.isIgnored() && O::mayChange(state, this, O::TRANSPARENCY))
        SoMaterialElement::setTransparency(
            state, this, transparency.getNum(),
            transparency.getNum() ? transparency.getValues(0) : nullptr);
}
