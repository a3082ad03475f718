#include "views/ViewSetup.h"

#include <Tessara/actions/SoSearchAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/math/SbViewportRegion.h>
#include <Tessara/nodes/SoCamera.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoGroup.h>
#include <Tessara/nodes/SoLight.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoSwitch.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "views/CameraFraming.h"
#include "views/SceneCorners.h"

namespace {

// The share of the drawing's width and height left free on each side of the scene.
constexpr float kMargin = 0.05f;

// The printer gives the viewport the drawing's proportions; the camera is fitted to a
// window of the same proportions so that the whole scene lands on the drawing.
SbViewportRegion regionFor(const SbVec2f& drawingSize) {
    constexpr float kSide = 1000.0f;
    const float ratio = drawingSize[0] / drawingSize[1];
    if (!std::isfinite(ratio) || ratio <= 0.0f) return SbViewportRegion();
    const float width = std::clamp(kSide * std::max(ratio, 1.0f), 1.0f, 32767.0f);
    const float height = std::clamp(kSide / std::min(ratio, 1.0f), 1.0f, 32767.0f);
    return SbViewportRegion(static_cast<short>(width), static_cast<short>(height));
}

// The first path to an active node of `type`, or null; the caller unrefs it.
SoPath* findFirst(SoSeparator* scene, SoType type) {
    SoSearchAction search;
    search.setType(type);
    search.setInterest(SoSearchAction::FIRST);
    search.apply(scene);
    SoPath* path = search.getPath();
    if (path) path->ref();
    return path;
}

// The framed height is what the whole scene needs with its margins; a scale that asks for
// less than the scene itself shows part of it.
void applyScale(SoOrthographicCamera& camera, const SbVec2f& drawingSize, float scale) {
    const float height = std::min(drawingSize[0], drawingSize[1]) / scale;
    if (height < camera.height.getValue() * (1.0f - 2.0f * kMargin))
        SoDebugError::postWarning("ViewSetup::complete",
                                  "At this scale the drawing shows part of the scene only");
    camera.height = height;
}

// The scene's corners are taken before the camera is in it, as the camera will see them.
void addCamera(SoSeparator* scene, const SbVec2f& drawingSize, const PrintOptions& options,
               const SbRotation& orientation) {
    const SbViewportRegion region = regionFor(drawingSize);
    const std::vector<SbVec3f> corners = SceneCorners::seenFrom(scene, region, orientation);
    const std::optional<float> scale = options.millimetresPerUnit();
    SoCamera* camera = scale || options.orthographic.value_or(!options.views.empty())
                           ? static_cast<SoCamera*>(new SoOrthographicCamera)
                           : static_cast<SoCamera*>(new SoPerspectiveCamera);
    camera->orientation = orientation;
    scene->insertChild(camera, 0);
    CameraFraming::frame(*camera, corners, region.getViewportAspectRatio(), kMargin);
    if (scale) applyScale(static_cast<SoOrthographicCamera&>(*camera), drawingSize, *scale);
}

// The light comes from a little above and left of the eye: along the view itself, it would
// shade alike every face that the view meets at one angle, such as the three faces of a box
// seen from iso, and their edges would vanish.
SoDirectionalLight* headlightFor(const SoCamera& camera) {
    auto* light = new SoDirectionalLight;
    SbVec3f shine(0.08f, -0.15f, -1.0f);
    shine.normalize();
    camera.orientation.getValue().multVec(shine, shine);
    light->direction = shine;
    return light;
}

// Right after the camera, under the same transforms, the light shines wherever the camera
// looks, and on everything the camera sees. A switch would count the new child as one of
// its choices, so there camera and light move into a group of their own instead.
void addHeadlight(SoPath* cameraPath) {
    auto* camera = static_cast<SoCamera*>(cameraPath->getTail());
    auto* parent = static_cast<SoGroup*>(cameraPath->getNodeFromTail(1));
    const int index = cameraPath->getIndexFromTail(0);
    SoDirectionalLight* light = headlightFor(*camera);
    if (!parent->isOfType(SoSwitch::getClassTypeId())) {
        parent->insertChild(light, index + 1);
        return;
    }
    auto* pair = new SoGroup;
    pair->addChild(camera);
    pair->addChild(light);
    parent->replaceChild(index, pair);
}

// What the options asked of a camera the scene does not get: said once, all of it.
void warnUnused(const PrintOptions& options, const ViewDirection& view) {
    std::vector<std::string> unused;
    if (view.chosen()) unused.push_back("the side to look from");
    if (options.orthographic) unused.push_back("the projection");
    if (options.scale) unused.push_back("the scale");
    if (unused.empty()) return;
    std::string list = unused.front();
    for (size_t i = 1; i < unused.size(); ++i)
        list += (i + 1 < unused.size() ? ", " : " and ") + unused[i];
    SoDebugError::postWarning("ViewSetup::complete",
                              "The scene's own camera is kept: %s %s only to scenes without a "
                              "camera",
                              list.c_str(), unused.size() > 1 ? "apply" : "applies");
}

}  // namespace

bool ViewSetup::hasCamera(SoSeparator* scene) {
    SoPath* path = findFirst(scene, SoCamera::getClassTypeId());
    if (path) path->unref();
    return path != nullptr;
}

void ViewSetup::complete(SoSeparator* scene, const SbVec2f& drawingSize,
                         const PrintOptions& options, const ViewDirection& view) {
    SoPath* cameraPath = findFirst(scene, SoCamera::getClassTypeId());
    if (!cameraPath) {
        addCamera(scene, drawingSize, options, view.cameraOrientation());
        cameraPath = findFirst(scene, SoCamera::getClassTypeId());
    } else {
        warnUnused(options, view);
    }
    SoPath* lightPath = findFirst(scene, SoLight::getClassTypeId());
    if (lightPath)
        lightPath->unref();
    else if (cameraPath && cameraPath->getLength() >= 2)
        addHeadlight(cameraPath);
    if (cameraPath) cameraPath->unref();
}
