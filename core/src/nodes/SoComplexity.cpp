#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoComplexityElement.h>
#include <Tessara/elements/SoComplexityTypeElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoComplexity.h>

SO_NODE_SOURCE(SoComplexity, SoNode)
const SoEnumEntry SoComplexity::typeEnums[3] = {
    {"OBJECT_SPACE", 0}, {"SCREEN_SPACE", 1}, {"BOUNDING_BOX", 2}};

SoComplexity::SoComplexity() {
    SO_NODE_CONSTRUCTOR(SoComplexity);
    addField("type", type);
    addField("value", value);
}

SoComplexity::~SoComplexity() = default;

void SoComplexity::doAction(SoAction* action) {
    SoState* state = action->getState();
    if (!type.isIgnored() &&
        SoOverrideElement::mayChange(state, this, SoOverrideElement::COMPLEXITY_TYPE))
        SoComplexityTypeElement::set(state,
                                     static_cast<SoComplexityTypeElement::Type>(type.getValue()));
    if (!value.isIgnored() &&
        SoOverrideElement::mayChange(state, this, SoOverrideElement::COMPLEXITY))
        SoComplexityElement::set(state, value.getValue() < 0.0f
                                            ? 0.0f
                                            : (value.getValue() > 1.0f ? 1.0f : value.getValue()));
}
