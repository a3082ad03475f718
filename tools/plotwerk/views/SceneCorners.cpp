#include "views/SceneCorners.h"

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/elements/SoCoordinateElement.h>
#include <Tessara/math/SbBox3f.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoIndexedLineSet.h>
#include <Tessara/nodes/SoShape.h>

#include <algorithm>
#include <array>

#include "views/ConvexOutline.h"

namespace {

constexpr size_t kMostCorners = 8 * 4096;
// A mesh of more points than this gives the corners of its box: its outline would take more
// time and memory than it is worth, and so large a mesh fills its box well, as a rule.
constexpr int kMostOutlinedPoints = 1 << 20;

struct Gathering {
    SbMatrix toCamera;
    std::vector<SbVec3f> corners;
    SbBox3f rest;
};

void keep(Gathering& gathering, const SbVec3f& corner) {
    if (gathering.corners.size() < kMostCorners)
        gathering.corners.push_back(corner);
    else
        gathering.rest.extendBy(corner);
}

/// The coordinates an indexed shape names, in the camera's axes; none for other shapes.
std::vector<SbVec3f> indexedPoints(SoCallbackAction* action, const SoNode* node,
                                   const SbMatrix& placed) {
    const SoMFInt32* indices = nullptr;
    if (node->isOfType(SoIndexedFaceSet::getClassTypeId()))
        indices = &static_cast<const SoIndexedFaceSet*>(node)->coordIndex;
    else if (node->isOfType(SoIndexedLineSet::getClassTypeId()))
        indices = &static_cast<const SoIndexedLineSet*>(node)->coordIndex;
    std::vector<SbVec3f> points;
    if (!indices) return points;
    const SoCoordinateElement* coordinates = SoCoordinateElement::getInstance(action->getState());
    if (coordinates->getNum() > kMostOutlinedPoints) return points;
    std::vector<char> taken(static_cast<size_t>(std::max(coordinates->getNum(), 0)), 0);
    for (int k = 0; k < indices->getNum(); ++k) {
        const int i = (*indices)[k];
        if (i < 0 || i >= coordinates->getNum() || taken[size_t(i)]) continue;
        taken[size_t(i)] = 1;
        SbVec3f seen;
        placed.multVecMatrix(coordinates->get3(i), seen);
        points.push_back(seen);
    }
    return points;
}

// An indexed shape (a mesh) gives the points that can bound its picture: the corners of its
// outline seen from above and from the side, in the camera's axes, which hold every point
// that is farthest out for any eye along the view. A tetrahedron's box reaches far beyond
// it from most sides, and the drawing showed it small and off centre. Other shapes give the
// corners of their boxes.
SoCallbackAction::Response gather(void* data, SoCallbackAction* action, const SoNode* node) {
    auto& gathering = *static_cast<Gathering*>(data);
    const SbMatrix placed = action->getModelMatrix() * gathering.toCamera;
    const std::vector<SbVec3f> points = indexedPoints(action, node, placed);
    if (!points.empty()) {
        for (int across : {0, 1}) {
            std::vector<std::array<double, 2>> flat;
            for (const SbVec3f& p : points) flat.push_back({p[across], p[2]});
            for (size_t i : ConvexOutline::cornersOf(flat)) keep(gathering, points[i]);
        }
        return SoCallbackAction::CONTINUE;
    }
    SbBox3f box;
    SbVec3f centre(0, 0, 0);
    const_cast<SoShape*>(static_cast<const SoShape*>(node))->computeBBox(action, box, centre);
    if (box.isEmpty()) return SoCallbackAction::CONTINUE;
    for (int k = 0; k < 8; ++k) {
        SbVec3f corner;
        placed.multVecMatrix(box.getCorner(k), corner);
        keep(gathering, corner);
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
