#include <Tessara/math/SbSphere.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>

#include <algorithm>
#include <cmath>

SO_NODE_SOURCE(SoPerspectiveCamera, SoCamera)

SoPerspectiveCamera::SoPerspectiveCamera() {
    SO_NODE_CONSTRUCTOR(SoPerspectiveCamera);
    addField("heightAngle", heightAngle);
}

SoPerspectiveCamera::~SoPerspectiveCamera() = default;

SbViewVolume SoPerspectiveCamera::getViewVolume(float useAspectRatio) const {
    const float aspect = useAspectRatio > 0.0f ? useAspectRatio : aspectRatio.getValue();
    SbViewVolume vv;
    vv.perspective(heightAngle.getValue(), aspect > 0.0f ? aspect : 1.0f, nearDistance.getValue(),
                   farDistance.getValue());
    vv.rotateCamera(orientation.getValue());
    vv.translateCamera(position.getValue());
    return vv;
}

void SoPerspectiveCamera::viewBoundingBox(const SbBox3f& box, float aspect, float slack) {
    SbSphere sphere;
    sphere.circumscribe(box);
    const float radius = std::max(sphere.getRadius(), 1e-6f);
    // The sphere must fit the narrower of the two angles of the view.
    float halfAngle = heightAngle.getValue() / 2.0f;
    if (aspect > 0.0f && aspect < 1.0f) halfAngle = std::atan(aspect * std::tan(halfAngle));
    const float distance = radius / std::sin(std::max(halfAngle, 1e-3f));
    SbVec3f direction;
    orientation.getValue().multVec(SbVec3f(0, 0, -1), direction);
    position.setValue(sphere.getCenter() - direction * distance);
    nearDistance.setValue(std::max(distance - radius * slack, distance * 0.001f));
    farDistance.setValue(distance + radius * slack);
    focalDistance.setValue(distance);
}
