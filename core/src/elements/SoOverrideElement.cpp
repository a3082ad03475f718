#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/nodes/SoNode.h>

#include <stdexcept>

SO_ELEMENT_SOURCE(SoOverrideElement, SoElement)

void SoOverrideElement::init(SoState*) {
    bits_.reset();
}

void SoOverrideElement::setOverride(SoState* state, SoNode*, int bit, bool override) {
    if (bit < 0 || bit >= NUM_BITS) throw std::out_of_range("invalid bitset<N> position");
    static_cast<SoOverrideElement*>(getElement(state, getClassStackIndex()))
        ->bits_.set(static_cast<size_t>(bit), override);
}

bool SoOverrideElement::isOverridden(SoState* state, int bit) {
    if (bit < 0 || bit >= NUM_BITS) return false;
    return static_cast<const SoOverrideElement*>(getConstElement(state, getClassStackIndex()))
        ->bits_.test(static_cast<size_t>(bit));
}

bool SoOverrideElement::mayChange(SoState* state, SoNode* node, int bit) {
    if (node && node->isOverride()) {
        setOverride(state, node, bit, true);
        return true;
    }
    return !isOverridden(state, bit);
}
