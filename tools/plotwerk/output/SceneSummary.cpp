#include "output/SceneSummary.h"

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoShape.h>
#include <Tessara/nodes/SoText2.h>

namespace {

void onTriangle(void* data, SoCallbackAction*, const SoPrimitiveVertex*, const SoPrimitiveVertex*,
                const SoPrimitiveVertex*) {
    ++static_cast<SceneSummary*>(data)->triangles;
}

void onSegment(void* data, SoCallbackAction*, const SoPrimitiveVertex*, const SoPrimitiveVertex*) {
    ++static_cast<SceneSummary*>(data)->segments;
}

void onPoint(void* data, SoCallbackAction*, const SoPrimitiveVertex*) {
    ++static_cast<SceneSummary*>(data)->points;
}

// Counting stops quietly at the limit the drawing will stop at, and warn about, itself.
SoCallbackAction::Response onShape(void* data, SoCallbackAction*, const SoNode*) {
    SceneSummary& summary = *static_cast<SceneSummary*>(data);
    ++summary.shapes;
    const long long limit = SoCallbackAction::getDefaultPrimitiveLimit();
    const long long counted = summary.triangles + summary.segments + summary.points;
    return limit > 0 && counted >= limit ? SoCallbackAction::ABORT : SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response onAnchored(void* data, SoCallbackAction*, const SoNode*) {
    ++static_cast<SceneSummary*>(data)->anchored;
    return SoCallbackAction::CONTINUE;
}

}  // namespace

SceneSummary SceneSummary::of(SoNode* root) {
    SceneSummary summary;
    SoCallbackAction action;
    action.setPrimitiveLimit(0);
    const SoType shape = SoShape::getClassTypeId();
    action.addPreCallback(shape, onShape, &summary);
    action.addTriangleCallback(shape, onTriangle, &summary);
    action.addLineSegmentCallback(shape, onSegment, &summary);
    action.addPointCallback(shape, onPoint, &summary);
    for (const SoType anchored :
         {SoText2::getClassTypeId(), SoAnnoText3::getClassTypeId(), SoImage::getClassTypeId()})
        action.addPreCallback(anchored, onAnchored, &summary);
    action.apply(root);
    SoGetBoundingBoxAction boxAction;
    boxAction.apply(root);
    summary.box = boxAction.getBoundingBox();
    return summary;
}
