#include "SoVectorCapture.h"

#include <Tessara/actions/SoCallbackAction.h>

#include <cstring>

int SoVectorCapture::pendingKind = 0;

namespace {

// Bitwise equality: a matrix that merely compares equal (0 and -0) is recomputed, harmlessly.
bool sameMatrix(const SbMatrix& a, const SbMatrix& b) {
    return std::memcmp(a.getValue(), b.getValue(), 16 * sizeof(float)) == 0;
}

}  // namespace

SoVectorCapture::SoVectorCapture()
    : points(static_cast<size_t>(capacity), SbVec4f(0, 0, 0, 0)),
      colors(static_cast<size_t>(capacity), SbColor(0, 0, 0)),
      ordinals(static_cast<size_t>(capacity), 0) {}

void SoVectorCapture::growIfFull() {
    if (count < capacity) return;
    capacity *= 2;
    points.resize(static_cast<size_t>(capacity), SbVec4f(0, 0, 0, 0));
    colors.resize(static_cast<size_t>(capacity), SbColor(0, 0, 0));
    ordinals.resize(static_cast<size_t>(capacity), 0);
}

const SbMatrix& SoVectorCapture::toView(SoCallbackAction* cba) {
    refreshTransforms(cba);
    return toView_;
}

const SbMatrix& SoVectorCapture::toClip(SoCallbackAction* cba) {
    refreshTransforms(cba);
    return toClip_;
}

void SoVectorCapture::refreshTransforms(SoCallbackAction* cba) {
    const SbMatrix& model = cba->getModelMatrix();
    const SbMatrix& viewing = cba->getViewingMatrix();
    const SbMatrix& projection = cba->getProjectionMatrix();
    if (transformsValid_ && sameMatrix(model, model_) && sameMatrix(viewing, viewing_) &&
        sameMatrix(projection, projection_)) {
        return;
    }
    model_ = model;
    viewing_ = viewing;
    projection_ = projection;
    toView_ = model * viewing;
    toClip_ = toView_ * projection;
    transformsValid_ = true;
    // The cached colours were lit at viewing-space points of the old transform.
    litVertices.clear();
}
