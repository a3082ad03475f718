#include <Tessara/base/SoDebugError.h>
#include <Tessara/elements/SoElement.h>
#include <Tessara/misc/SoState.h>

#include <vector>

SoType SoElement::classTypeId;

namespace {
// Stack indices outlive finish/init cycles: element classes keep theirs.
std::vector<SoType>& stackTypes() {
    static std::vector<SoType> types;
    return types;
}
}  // namespace

void SoElement::initClass() {
    if (!classTypeId.isBad()) return;
    if (SoTypedObject::getClassTypeId().isBad()) SoTypedObject::initClass();
    classTypeId = SoType::createType(SoTypedObject::getClassTypeId(), "SoElement");
}

void SoElement::exitClass() {
    if (!classTypeId.isBad() && SoType::removeType(classTypeId.getName()))
        classTypeId = SoType::badType();
}

void SoElement::init(SoState*) {}

int SoElement::getNumStackIndices() {
    return static_cast<int>(stackTypes().size());
}

SoElement* SoElement::createElement(int stackIndex) {
    if (stackIndex < 0 || stackIndex >= getNumStackIndices()) return nullptr;
    return static_cast<SoElement*>(stackTypes()[stackIndex].createInstance());
}

int SoElement::createStackIndex(SoType type) {
    stackTypes().push_back(type);
    return getNumStackIndices() - 1;
}

void SoElement::setStackType(int stackIndex, SoType type) {
    if (stackIndex >= 0 && stackIndex < getNumStackIndices()) stackTypes()[stackIndex] = type;
}

SoElement* SoElement::getElement(SoState* state, int stackIndex) {
    return state->getElement(stackIndex);
}

const SoElement* SoElement::getConstElement(SoState* state, int stackIndex) {
    return state->getConstElement(stackIndex);
}
