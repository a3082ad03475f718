#include "U3DViewpoint.h"

#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>

#include <algorithm>
#include <cmath>

namespace u3d {
namespace {

constexpr float kDegreesPerRadian = 57.29577951f;

}  // namespace

U3DViewpoint U3DViewpoint::fromCamera(const SoCamera& camera, const SbMatrix& modelMatrix) {
    U3DViewpoint view;
    SbMatrix local;
    local.setTransform(camera.position.getValue(), camera.orientation.getValue(), SbVec3f(1, 1, 1));
    view.cameraToWorld = local * modelMatrix;
    if (camera.isOfType(SoOrthographicCamera::getClassTypeId())) {
        view.orthographic = true;
        view.projection = static_cast<const SoOrthographicCamera&>(camera).height.getValue();
    } else if (camera.isOfType(SoPerspectiveCamera::getClassTypeId())) {
        const float angle = static_cast<const SoPerspectiveCamera&>(camera).heightAngle.getValue();
        view.projection = angle * kDegreesPerRadian;
    }
    view.nearClip = camera.nearDistance.getValue();
    view.farClip = camera.farDistance.getValue();
    view.focalDistance = camera.focalDistance.getValue();
    return view;
}

U3DViewpoint U3DViewpoint::facing(const SbVec3f& low, const SbVec3f& high) {
    U3DViewpoint view;
    const SbVec3f center = (low + high) * 0.5f;
    const float radius = std::max((high - low).length() * 0.5f, 1e-3f);
    // The sphere around the box fills the 45 degree field of view.
    const float distance = radius / std::sin(view.projection / 2 / kDegreesPerRadian);
    view.cameraToWorld.setTranslate(center + SbVec3f(0, 0, distance));
    view.focalDistance = distance;
    view.nearClip = std::max(distance - radius, distance * 0.01f);
    view.farClip = distance + radius;
    return view;
}

std::array<float, 12> U3DViewpoint::pdfCameraToWorld() const {
    const SbMatrix& m = cameraToWorld;
    return {m[0][0],  m[0][1],  m[0][2],  -m[1][0], -m[1][1], -m[1][2],
            -m[2][0], -m[2][1], -m[2][2], m[3][0],  m[3][1],  m[3][2]};
}

bool U3DViewpoint::finite() const {
    const float* m = cameraToWorld.getValue();
    return std::all_of(m, m + 16, [](float x) { return std::isfinite(x); }) &&
           std::isfinite(projection) && projection > 0 && std::isfinite(nearClip) &&
           std::isfinite(farClip) && std::isfinite(focalDistance);
}

Matrix U3DViewpoint::nodeTransform() const {
    Matrix matrix;
    std::copy(cameraToWorld.getValue(), cameraToWorld.getValue() + 16, matrix.begin());
    return matrix;
}

}  // namespace u3d
