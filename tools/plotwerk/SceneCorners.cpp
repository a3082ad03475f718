#include "SceneCorners.h"

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/math/SbBox3f.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/nodes/SoShape.h>

namespace {

constexpr size_t kMostCorners = 8 * 4096;

struct Gathering {
    SbMatrix toCamera;
    std::vector<SbVec3f> corners;
    SbBox3f rest;
};

void addCornersOf(const SbBox3f& box, std::vector<SbVec3f>& corners) {
    const SbVec3f& lo = box.getMin();
    const SbVec3f& hi = box.getMax();
    for (int k = 0; k < 8; ++k)
        corners.emplace_back(k & 1 ? hi[0] : lo[0], k & 2 ? hi[1] : lo[1], k & 4 ? hi[2] : lo[2]);
}

SoCallbackAction::Response gather(void* data, SoCallbackAction* action, const SoNode* node) {
    auto& gathering = *static_cast<Gathering*>(data);
    SbBox3f box;
    SbVec3f centre(0, 0, 0);
    const_cast<SoShape*>(static_cast<const SoShape*>(node))->computeBBox(action, box, centre);
    if (box.isEmpty()) return SoCallbackAction::CONTINUE;
    std::vector<SbVec3f> own;
    addCornersOf(box, own);
    const SbMatrix placed = action->getModelMatrix() * gathering.toCamera;
    for (SbVec3f& corner : own) {
        placed.multVecMatrix(corner, corner);
        if (gathering.corners.size() < kMostCorners)
            gathering.corners.push_back(corner);
        else
            gathering.rest.extendBy(corner);
    }
    return SoCallbackAction::CONTINUE;
}

}  // namespace

std::vector<SbVec3f> SceneCorners::seenFrom(SoNode* scene, const SbViewportRegion& region,
                                            const SbRotation& orientation) {
    Gathering gathering;
    orientation.inverse().getValue(gathering.toCamera);
    SoCallbackAction action(region);
    action.addPreCallback(SoShape::getClassTypeId(), gather, &gathering);
    action.apply(scene);
    if (!gathering.rest.isEmpty()) addCornersOf(gathering.rest, gathering.corners);
    return gathering.corners;
}
