#include <Tessara/actions/SoEnabledElementsList.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/elements/SoElement.h>
#include <Tessara/misc/SoState.h>

namespace {
// Handed out for an unknown stack index so that a caller never dereferences null.
class SoNullElement : public SoElement {
  public:
    SoType getTypeId() const override { return SoType::badType(); }
    SoElement* clone() const override { return new SoNullElement(*this); }
};
}  // namespace

SoState::SoState(SoAction* action, const SoEnabledElementsList& enabledElements) : action_(action) {
    for (int index : enabledElements.getStackIndices()) {
        if (index < 0) continue;
        if (static_cast<int>(enabled_.size()) <= index) enabled_.resize(index + 1, false);
        enabled_[index] = true;
        stackOf(index);
    }
}

SoState::~SoState() = default;

std::vector<std::unique_ptr<SoElement>>& SoState::stackOf(int stackIndex) {
    if (static_cast<int>(stacks_.size()) <= stackIndex) stacks_.resize(stackIndex + 1);
    auto& stack = stacks_[stackIndex];
    if (stack.empty()) {
        SoElement* created = SoElement::createElement(stackIndex);
        if (!created) {
            SoDebugError::post("SoState::getElement", "No element class owns stack index %d",
                               stackIndex);
            created = new SoNullElement;
        }
        created->setDepth(0);
        created->init(this);
        stack.emplace_back(created);
    }
    return stack;
}

const SoElement* SoState::getConstElement(int stackIndex) {
    if (stackIndex < 0) stackIndex = 0;
    return stackOf(stackIndex).back().get();
}

SoElement* SoState::getElement(int stackIndex) {
    if (stackIndex < 0) stackIndex = 0;
    auto& stack = stackOf(stackIndex);
    if (stack.back()->getDepth() < depth_) {
        SoElement* copy = stack.back()->clone();
        copy->setDepth(depth_);
        stack.emplace_back(copy);
        writtenStacks_.push_back(stackIndex);
    }
    return stack.back().get();
}

void SoState::push() {
    ++depth_;
    depthMarks_.push_back(writtenStacks_.size());
}

void SoState::pop() {
    if (depthMarks_.empty()) {
        SoDebugError::post("SoState::pop", "pop() without a matching push()");
        return;
    }
    const size_t mark = depthMarks_.back();
    depthMarks_.pop_back();
    while (writtenStacks_.size() > mark) {
        stacks_[writtenStacks_.back()].pop_back();
        writtenStacks_.pop_back();
    }
    --depth_;
}

bool SoState::isElementEnabled(int stackIndex) const {
    return stackIndex >= 0 && stackIndex < static_cast<int>(enabled_.size()) &&
           enabled_[stackIndex];
}
