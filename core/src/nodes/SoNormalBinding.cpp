#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoNormalBindingElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoNormalBinding.h>

SO_NODE_SOURCE(SoNormalBinding, SoNode)
const SoEnumEntry SoNormalBinding::bindingEnums[7] = {
    {"OVERALL", 2},          {"PER_PART", 3},   {"PER_PART_INDEXED", 4},  {"PER_FACE", 5},
    {"PER_FACE_INDEXED", 6}, {"PER_VERTEX", 7}, {"PER_VERTEX_INDEXED", 8}};

SoNormalBinding::SoNormalBinding() {
    SO_NODE_CONSTRUCTOR(SoNormalBinding);
    addField("value", value);
}

SoNormalBinding::~SoNormalBinding() = default;

void SoNormalBinding::doAction(SoAction* action) {
    SoState* state = action->getState();
    if (!value.isIgnored() &&
        SoOverrideElement::mayChange(state, this, SoOverrideElement::NORMAL_BINDING))
        SoNormalBindingElement::set(state,
                                    static_cast<SoNormalBindingElement::Binding>(value.getValue()));
}
