#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/elements/SoModelMatrixElement.h>
#include <Tessara/elements/SoViewportRegionElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoNode.h>

SO_ACTION_SOURCE(SoGetBoundingBoxAction, SoAction)

void SoGetBoundingBoxAction::initClass() {
    SO_ACTION_INIT_CLASS(SoGetBoundingBoxAction, SoAction);
    if (SoNode::getClassTypeId().isBad()) SoNode::initClass();
    addMethod(SoNode::getClassTypeId(), &SoNode::callGetBoundingBox);
    SO_ENABLE(SoGetBoundingBoxAction, SoModelMatrixElement);
    SO_ENABLE(SoGetBoundingBoxAction, SoViewportRegionElement);
}

SoGetBoundingBoxAction::SoGetBoundingBoxAction(const SbViewportRegion& region)
    : viewportRegion_(region) {
    SO_ACTION_CONSTRUCTOR(SoGetBoundingBoxAction);
}

SoGetBoundingBoxAction::~SoGetBoundingBoxAction() = default;

void SoGetBoundingBoxAction::clearApplyResult() {
    box_.makeEmpty();
    resetCenter();
}

void SoGetBoundingBoxAction::beginTraversal(SoNode* node) {
    SoViewportRegionElement::set(getState(), nullptr, viewportRegion_);
    traverse(node);
}

SbVec3f SoGetBoundingBoxAction::getCenter() const {
    if (numCenters_ == 0) return box_.isEmpty() ? SbVec3f(0, 0, 0) : box_.getCenter();
    return centerSum_ / static_cast<float>(numCenters_);
}

void SoGetBoundingBoxAction::extendBy(const SbBox3f& objectBox) {
    SbBox3f world = objectBox;
    world.transform(SoModelMatrixElement::get(getState()));
    box_.extendBy(world);
}

void SoGetBoundingBoxAction::setCenter(const SbVec3f& center, bool transformCenter) {
    SbVec3f world = center;
    if (transformCenter) SoModelMatrixElement::get(getState()).multVecMatrix(center, world);
    centerSum_ += world;
    ++numCenters_;
}

void SoGetBoundingBoxAction::resetCenter() {
    centerSum_.setValue(0, 0, 0);
    numCenters_ = 0;
}
