#include <Tessara/base/SoDebugError.h>
#include <Tessara/elements/SoLightElement.h>
#include <Tessara/elements/SoModelMatrixElement.h>
#include <Tessara/elements/SoViewingMatrixElement.h>

SO_ELEMENT_SOURCE(SoLightElement, SoElement)

void SoLightElement::init(SoState*) {
    lights_.truncate(0);
    matrices_.clear();
}

void SoLightElement::add(SoState* state, SoNode* light) {
    const SbMatrix matrix = SoModelMatrixElement::get(state) * SoViewingMatrixElement::get(state);
    auto* e = static_cast<SoLightElement*>(getElement(state, getClassStackIndex()));
    e->lights_.append(light);
    e->matrices_.push_back(matrix);
}

const SoNodeList& SoLightElement::getLights(SoState* state) {
    return static_cast<const SoLightElement*>(getConstElement(state, getClassStackIndex()))
        ->lights_;
}

const SbMatrix& SoLightElement::getMatrix(SoState* state, int index) {
    const auto* e =
        static_cast<const SoLightElement*>(getConstElement(state, getClassStackIndex()));
    if (index < 0 || index >= static_cast<int>(e->matrices_.size())) {
        SoDebugError::post("SoLightElement::getMatrix", "No light %d in the state", index);
        static const SbMatrix identity = SbMatrix::identity();
        return identity;
    }
    return e->matrices_[index];
}
