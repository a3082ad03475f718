#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoMaterialBindingElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoMaterialBinding.h>

SO_NODE_SOURCE(SoMaterialBinding, SoNode)
const SoEnumEntry SoMaterialBinding::bindingEnums[7] = {
    {"OVERALL", 2},          {"PER_PART", 3},   {"PER_PART_INDEXED", 4},  {"PER_FACE", 5},
    {"PER_FACE_INDEXED", 6}, {"PER_VERTEX", 7}, {"PER_VERTEX_INDEXED", 8}};

SoMaterialBinding::SoMaterialBinding() {
    SO_NODE_CONSTRUCTOR(SoMaterialBinding);
    addField("value", value);
}

SoMaterialBinding::~SoMaterialBinding() = default;

void SoMaterialBinding::doAction(SoAction* action) {
    SoState* state = action->getState();
    if (!value.isIgnored() &&
        SoOverrideElement::mayChange(state, this, SoOverrideElement::MATERIAL_BINDING))
        SoMaterialBindingElement::set(
            state, static_cast<SoMaterialBindingElement::Binding>(value.getValue()));
}
