#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/elements/SoComplexityElement.h>
#include <Tessara/elements/SoModelMatrixElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoShape.h>

#include "SoPrimitiveAssembler.h"

SO_NODE_ABSTRACT_SOURCE(SoShape, SoNode)

SoShape::SoShape() {
    SO_NODE_CONSTRUCTOR(SoShape);
}

SoShape::~SoShape() = default;

void SoShape::callback(SoCallbackAction* action) {
    if (!action->shouldGeneratePrimitives(this)) return;
    SoCallbackAction* previous = callbackAction_;
    callbackAction_ = action;
    action->setCurrentShape(this);
    generatePrimitives(action);
    action->setCurrentShape(nullptr);
    callbackAction_ = previous;
}

void SoShape::getBoundingBox(SoGetBoundingBoxAction* action) {
    SbBox3f box;
    SbVec3f center(0, 0, 0);
    computeBBox(action, box, center);
    if (box.isEmpty()) return;
    action->extendBy(box);
    action->setCenter(center, true);
}

void SoShape::beginShape(SoAction* action, TriangleShape shapeType, SoDetail* detail) {
    if (!assembler_) assembler_ = std::make_unique<SoPrimitiveAssembler>(this);
    assembler_->begin(action, shapeType, detail);
}

void SoShape::shapeVertex(const SoPrimitiveVertex* v) {
    if (assembler_ && v) assembler_->vertex(*v);
}

void SoShape::endShape() {
    if (assembler_) assembler_->end();
}

void SoShape::invokeTriangleCallbacks(SoAction* action, const SoPrimitiveVertex* v1,
                                      const SoPrimitiveVertex* v2, const SoPrimitiveVertex* v3) {
    if (callbackAction_ && action == callbackAction_ && callbackAction_->takePrimitive())
        callbackAction_->invokeTriangleCallbacks(this, v1, v2, v3);
}

void SoShape::invokeLineSegmentCallbacks(SoAction* action, const SoPrimitiveVertex* v1,
                                         const SoPrimitiveVertex* v2) {
    if (callbackAction_ && action == callbackAction_ && callbackAction_->takePrimitive())
        callbackAction_->invokeLineSegmentCallbacks(this, v1, v2);
}

void SoShape::invokePointCallbacks(SoAction* action, const SoPrimitiveVertex* v) {
    if (callbackAction_ && action == callbackAction_ && callbackAction_->takePrimitive())
        callbackAction_->invokePointCallbacks(this, v);
}

float SoShape::getComplexityValue(SoAction* action) {
    return SoComplexityElement::get(action->getState());
}
