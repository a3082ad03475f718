#include <Tessara/actions/SoAction.h>
#include <Tessara/details/SoPointDetail.h>
#include <Tessara/elements/SoCoordinateElement.h>
#include <Tessara/elements/SoMaterialBindingElement.h>
#include <Tessara/elements/SoNormalBindingElement.h>
#include <Tessara/elements/SoNormalElement.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoPointSet.h>

SO_NODE_SOURCE(SoPointSet, SoShape)

namespace {

// Every binding but OVERALL gives each point its own value: a point is its own part, face
// and vertex at once.
bool bindsPerPoint(int binding) {
    return binding != SoMaterialBindingElement::OVERALL;
}

}  // namespace

SoPointSet::SoPointSet() {
    SO_NODE_CONSTRUCTOR(SoPointSet);
    addField("numPoints", numPoints);
}

SoPointSet::~SoPointSet() = default;

int SoPointSet::getNumPointsToUse(SoAction* action) const {
    const int available = SoCoordinateElement::getInstance(action->getState())->getNum();
    const int requested = numPoints.getValue();
    if (requested == -1) return available;
    if (requested < 0) {
        SoDebugError::postWarning("SoPointSet", "numPoints %d is negative; no points drawn",
                                  requested);
        return 0;
    }
    if (requested > available) {
        SoDebugError::postWarning("SoPointSet", "numPoints %d exceeds the %d coordinates; using %d",
                                  requested, available, available);
        return available;
    }
    return requested;
}

void SoPointSet::generatePrimitives(SoAction* action) {
    SoState* state = action->getState();
    const SoCoordinateElement* coords = SoCoordinateElement::getInstance(state);
    const SoNormalElement* normals = SoNormalElement::getInstance(state);
    const bool materialPerPoint = bindsPerPoint(SoMaterialBindingElement::get(state));
    const bool normalPerPoint = bindsPerPoint(SoNormalBindingElement::get(state));
    const int num = getNumPointsToUse(action);
    if (normals->getNum() > 0 && normals->getNum() < (normalPerPoint ? num : 1))
        SoDebugError::postWarning("SoPointSet", "%d normals for %d points; the missing ones are +z",
                                  normals->getNum(), num);

    SoPointDetail detail;
    SoPrimitiveVertex vertex;
    vertex.setDetail(&detail);
    for (int i = 0; i < num; ++i) {
        const int materialIndex = materialPerPoint ? i : 0;
        const int normalIndex = normalPerPoint ? i : 0;
        detail.setCoordinateIndex(i);
        detail.setMaterialIndex(materialIndex);
        detail.setNormalIndex(normalIndex);
        vertex.setPoint(coords->get3(i));
        vertex.setMaterialIndex(materialIndex);
        vertex.setNormal(normalIndex < normals->getNum() ? normals->get(normalIndex)
                                                         : SbVec3f(0, 0, 1));
        invokePointCallbacks(action, &vertex);
    }
}

void SoPointSet::computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) {
    const SoCoordinateElement* coords = SoCoordinateElement::getInstance(action->getState());
    const int num = getNumPointsToUse(action);
    box.makeEmpty();
    for (int i = 0; i < num; ++i) box.extendBy(coords->get3(i));
    center = box.isEmpty() ? SbVec3f(0, 0, 0) : box.getCenter();
}
