#include <Tessara/math/SbSphere.h>
#include <Tessara/nodes/SoOrthographicCamera.h>

#include <algorithm>

SO_NODE_SOURCE(SoOrthographicCamera, SoCamera)

SoOrthographicCamera::SoOrthographicCamera() {
    SO_NODE_CONSTRUCTOR(SoOrthographicCamera);
    addField("height", height);
}

SoOrthographicCamera::~SoOrthographicCamera() = default;

SbViewVolume SoOrthographicCamera::getViewVolume(float useAspectRatio) const {
    const float aspect = useAspectRatio > 0.0f ? useAspectRatio : aspectRatio.getValue();
    const float halfHeight = height.getValue() / 2.0f;
    const float halfWidth = halfHeight * (aspect > 0.0f ? aspect : 1.0f);
    SbViewVolume vv;
    vv.ortho(-halfWidth, halfWidth, -halfHeight, halfHeight, nearDistance.getValue(),
             farDistance.getValue());
    vv.rotateCamera(orientation.getValue());
    vv.translateCamera(position.getValue());
    return vv;
}

void SoOrthographicCamera::viewBoundingBox(const SbBox3f& box, float aspect, float slack) {
    SbSphere sphere;
    sphere.circumscribe(box);
    const float radius = std::max(sphere.getRadius(), 1e-6f);
    SbVec3f direction;
    orientation.getValue().multVec(SbVec3f(0, 0, -1), direction);
    const float distance = 2.0f * radius;
    position.setValue(sphere.getCenter() - direction * distance);
    nearDistance.setValue(distance - radius * slack);
    farDistance.setValue(distance + radius * slack);
    focalDistance.setValue(distance);
    float viewHeight = 2.0f * radius;
    if (aspect > 0.0f && aspect < 1.0f) viewHeight /= aspect;
    height.setValue(viewHeight);
}
