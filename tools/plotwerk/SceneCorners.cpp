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

SoCallbackAction::Response gather(void* data, SoCallbackAction* action, const SoNode* node) {
    auto& gathering = *static_cast<Gathering*>(data);
    SbBox3f box;
    SbVec3f centre(0, 0, 0);
    const_cast<SoShape*>(static_cast<const SoShape*>(node))->computeBBox(action, box, centre);
    if (box.isEmpty()) return SoCallbackAction::CONTINUE;
    const SbMatrix placed = action->getModelMatrix() * gathering.toCamera;
    for (int k = 0; k < 8; ++k) {
        SbVec3f corner;
        placed.multVecMatrix(box.getCorner(k), corner);
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
    if (!gathering.rest.isEmpty())
        for (int k = 0; k < 8; ++k) gathering.corners.push_back(gathering.rest.getCorner(k));
    return gathering.corners;
}
