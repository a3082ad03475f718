#include <Tessara/elements/SoShapeHintsElement.h>

SO_ELEMENT_SOURCE(SoShapeHintsElement, SoElement)

void SoShapeHintsElement::init(SoState*) {
    ordering_ = UNKNOWN_ORDERING;
    shapeType_ = UNKNOWN_SHAPE_TYPE;
    faceType_ = CONVEX;
}

void SoShapeHintsElement::set(SoState* state, SoNode*, VertexOrdering ordering, ShapeType shapeType,
                              FaceType faceType) {
    auto* e = static_cast<SoShapeHintsElement*>(getElement(state, getClassStackIndex()));
    e->ordering_ = ordering;
    e->shapeType_ = shapeType;
    e->faceType_ = faceType;
}

const SoShapeHintsElement* SoShapeHintsElement::instance(SoState* state) {
    return static_cast<const SoShapeHintsElement*>(getConstElement(state, getClassStackIndex()));
}

void SoShapeHintsElement::get(SoState* state, VertexOrdering& ordering, ShapeType& shapeType,
                              FaceType& faceType) {
    const SoShapeHintsElement* e = instance(state);
    ordering = e->ordering_;
    shapeType = e->shapeType_;
    faceType = e->faceType_;
}

SoShapeHintsElement::VertexOrdering SoShapeHintsElement::getVertexOrdering(SoState* state) {
    return instance(state)->ordering_;
}

SoShapeHintsElement::ShapeType SoShapeHintsElement::getShapeType(SoState* state) {
    return instance(state)->shapeType_;
}

SoShapeHintsElement::FaceType SoShapeHintsElement::getFaceType(SoState* state) {
    return instance(state)->faceType_;
}
