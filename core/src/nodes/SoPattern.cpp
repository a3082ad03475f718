#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/elements/SoPatternElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoPattern.h>

SO_NODE_SOURCE(SoPattern, SoNode)

SoPattern::SoPattern() {
    SO_NODE_CONSTRUCTOR(SoPattern);
    addField("category", category);
    addField("name", name);
    addField("mask", mask);
}

SoPattern::~SoPattern() = default;

void SoPattern::doAction(SoAction* action) {
    SoState* state = action->getState();
    if (!SoOverrideElement::mayChange(state, this, SoOverrideElement::PATTERN)) return;
    SoPatternElement::set(state, this, category.getValue(), name.getValue(), getMaskBytes());
}

// The element hands out a pointer to these bytes, which must outlive the traversal: the
// printing stage keeps it until the primitives are drawn.
const unsigned char* SoPattern::getMaskBytes() {
    if (mask.getNum() == 0) return nullptr;
    if (maskChangeCount_ != getChangeCount()) {
        maskBytes_.fill(0);
        for (int row = 0; row < 32 && row < mask.getNum(); ++row) {
            const uint32_t bits = mask[row];
            for (int b = 0; b < 4; ++b)
                maskBytes_[row * 4 + b] = static_cast<unsigned char>(bits >> (24 - 8 * b));
        }
        maskChangeCount_ = getChangeCount();
    }
    return maskBytes_.data();
}
