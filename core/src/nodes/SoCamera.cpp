#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/elements/SoModelMatrixElement.h>
#include <Tessara/elements/SoProjectionMatrixElement.h>
#include <Tessara/elements/SoViewVolumeElement.h>
#include <Tessara/elements/SoViewingMatrixElement.h>
#include <Tessara/elements/SoViewportRegionElement.h>
#include <Tessara/math/SbRotation.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoCamera.h>

SO_NODE_ABSTRACT_SOURCE(SoCamera, SoNode)

const SoEnumEntry SoCamera::mappingEnums[5] = {{"CROP_VIEWPORT_FILL_FRAME", 0},
                                               {"CROP_VIEWPORT_LINE_FRAME", 1},
                                               {"CROP_VIEWPORT_NO_FRAME", 2},
                                               {"ADJUST_CAMERA", 3},
                                               {"LEAVE_ALONE", 4}};

SoCamera::SoCamera() {
    SO_NODE_CONSTRUCTOR(SoCamera);
    addField("viewportMapping", viewportMapping);
    addField("position", position);
    addField("orientation", orientation);
    addField("aspectRatio", aspectRatio);
    addField("nearDistance", nearDistance);
    addField("farDistance", farDistance);
    addField("focalDistance", focalDistance);
}

SoCamera::~SoCamera() = default;

// ADJUST_CAMERA widens the volume to the viewport's proportions (the field of view applies
// to the smaller side); the CROP modes shrink the viewport to the camera's proportions.
SbViewVolume SoCamera::fitToViewport(SbViewportRegion& region) const {
    const float viewportAspect = region.getViewportAspectRatio();
    switch (viewportMapping.getValue()) {
        case ADJUST_CAMERA: {
            SbViewVolume vv = getViewVolume(viewportAspect);
            if (viewportAspect > 0.0f && viewportAspect < 1.0f) {
                vv.scaleWidth(1.0f / viewportAspect);
                vv.scaleHeight(1.0f / viewportAspect);
            }
            return vv;
        }
        case LEAVE_ALONE:
            return getViewVolume(aspectRatio.getValue());
        default: {
            const float cameraAspect =
                aspectRatio.getValue() > 0.0f ? aspectRatio.getValue() : 1.0f;
            SbVec2f origin = region.getViewportOrigin();
            SbVec2f size = region.getViewportSize();
            if (viewportAspect > cameraAspect) {
                const float w = size[0] * cameraAspect / viewportAspect;
                origin[0] += (size[0] - w) / 2.0f;
                size[0] = w;
            } else if (viewportAspect > 0.0f) {
                const float h = size[1] * viewportAspect / cameraAspect;
                origin[1] += (size[1] - h) / 2.0f;
                size[1] = h;
            }
            region.setViewport(origin, size);
            return getViewVolume(cameraAspect);
        }
    }
}

void SoCamera::doAction(SoAction* action) {
    SoState* state = action->getState();
    SbViewportRegion region = SoViewportRegionElement::get(state);
    const SbViewportRegion before = region;
    const SbViewVolume vv = fitToViewport(region);
    if (region != before) SoViewportRegionElement::set(state, this, region);
    SbMatrix affine, proj;
    vv.getMatrices(affine, proj);
    // Transformations above the camera move the camera, not the scene it looks at.
    const SbMatrix& model = SoModelMatrixElement::get(state);
    if (!(model == SbMatrix::identity())) affine = model.inverse() * affine;
    SoViewVolumeElement::set(state, this, vv);
    SoViewingMatrixElement::set(state, this, affine);
    SoProjectionMatrixElement::set(state, this, proj);
}

void SoCamera::viewAll(SoNode* root, const SbViewportRegion& region, float slack) {
    if (!root) return;
    SoGetBoundingBoxAction bboxAction(region);
    bboxAction.apply(root);
    const SbBox3f& box = bboxAction.getBoundingBox();
    if (box.isEmpty()) return;
    viewBoundingBox(box, region.getViewportAspectRatio(), slack);
}

void SoCamera::viewAll(SoPath* path, const SbViewportRegion& region, float slack) {
    if (!path) return;
    SoGetBoundingBoxAction bboxAction(region);
    bboxAction.apply(path);
    const SbBox3f& box = bboxAction.getBoundingBox();
    if (box.isEmpty()) return;
    viewBoundingBox(box, region.getViewportAspectRatio(), slack);
}

void SoCamera::pointAt(const SbVec3f& target) {
    SbVec3f direction = target - position.getValue();
    if (direction.length() == 0.0f) return;
    direction.normalize();
    SbRotation turn(SbVec3f(0, 0, -1), direction);
    // Roll about the view direction so that the camera's up stays as close to +y as it can.
    SbVec3f up;
    turn.multVec(SbVec3f(0, 1, 0), up);
    SbVec3f wantedUp = SbVec3f(0, 1, 0) - direction * direction.dot(SbVec3f(0, 1, 0));
    if (wantedUp.length() > 1e-6f) {
        wantedUp.normalize();
        turn = turn * SbRotation(up, wantedUp);
    }
    orientation.setValue(turn);
}
