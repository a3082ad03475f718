#include "U3DPosterRenderer.h"

#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>

#include <cstring>

namespace u3d {
namespace {

// The shape of the view below the heading of a portrait page, which is the default.
constexpr int kWidth = 768, kHeight = 1024;

SoCamera* cameraAt(const U3DViewpoint& view) {
    SoCamera* camera = nullptr;
    if (view.orthographic) {
        auto* orthographic = new SoOrthographicCamera;
        orthographic->height.setValue(view.projection);
        camera = orthographic;
    } else {
        auto* perspective = new SoPerspectiveCamera;
        perspective->heightAngle.setValue(view.projection / 57.29577951f);
        camera = perspective;
    }
    SbVec3f position, scale;
    SbRotation orientation, scaleOrientation;
    view.cameraToWorld.getTransform(position, orientation, scale, scaleOrientation);
    camera->position.setValue(position);
    camera->orientation.setValue(orientation);
    camera->nearDistance.setValue(view.nearClip);
    camera->farDistance.setValue(view.farClip);
    return camera;
}

SoDirectionalLight* headlight(const U3DViewpoint& view) {
    auto* light = new SoDirectionalLight;
    SbVec3f forward;
    view.cameraToWorld.multDirMatrix(SbVec3f(0, 0, -1), forward);
    light->direction.setValue(forward);
    return light;
}

}  // namespace

U3DPdfPoster U3DPosterRenderer::render(SoNode* root, const U3DViewpoint& view, bool sceneHasLights,
                                       const SbColor& background) {
    U3DPdfPoster poster;
    SoSeparator* scene = new SoSeparator;
    scene->ref();
    scene->addChild(cameraAt(view));
    if (!sceneHasLights) scene->addChild(headlight(view));
    if (root) scene->addChild(root);
    SoOffscreenRenderer renderer(SbViewportRegion(kWidth, kHeight));
    renderer.setBackgroundColor(background);
    if (renderer.render(scene)) {
        poster.width = kWidth;
        poster.height = kHeight;
        poster.rgb.resize(static_cast<std::size_t>(kWidth) * kHeight * 3);
        // The renderer's rows run from the bottom up, the poster's from the top down.
        const unsigned char* rgba = renderer.getBuffer();
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                std::memcpy(&poster.rgb[(static_cast<std::size_t>(y) * kWidth + x) * 3],
                            &rgba[(static_cast<std::size_t>(kHeight - 1 - y) * kWidth + x) * 4], 3);
    }
    scene->unref();
    return poster;
}

}  // namespace u3d
