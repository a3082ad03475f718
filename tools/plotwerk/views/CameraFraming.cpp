#include "views/CameraFraming.h"

#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

/// Points in the camera's axes (the camera looks down -z).
using Corners = std::vector<SbVec3f>;

/// The half widths of the view at unit distance (perspective) or for a unit height
/// (orthographic), over the height's: the field applies to the smaller side of the drawing.
double widthFactor(float aspect) {
    return std::max(double(aspect), 1.0);
}
double heightFactor(float aspect) {
    return 1.0 / std::min(double(aspect), 1.0);
}

/// The centre c on one axis that, seen from depth `eye`, puts the corners as far past c on
/// one side as on the other: the balance is monotone in c, so halving finds it.
double balancedCentre(const Corners& corners, int axis, double eye) {
    auto reach = [&](double c, double sign) {
        double most = -HUGE_VAL;
        for (const SbVec3f& p : corners) most = std::max(most, sign * (p[axis] - c) / (eye - p[2]));
        return most;
    };
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (const SbVec3f& p : corners)
        lo = std::min(lo, double(p[axis])), hi = std::max(hi, double(p[axis]));
    for (int step = 0; step < 60; ++step) {
        const double mid = (lo + hi) / 2.0;
        (reach(mid, 1.0) > reach(mid, -1.0) ? lo : hi) = mid;
    }
    return (lo + hi) / 2.0;
}

/// The nearest eye depth from which every corner lies within tan * (eye - z) of a centre
/// on the axis: the corners' bounds on both sides meet there.
double eyeDepthFor(const Corners& corners, int axis, double tan) {
    double right = -HUGE_VAL, left = -HUGE_VAL;
    for (const SbVec3f& p : corners) {
        right = std::max(right, p[axis] + tan * p[2]);
        left = std::max(left, -p[axis] + tan * p[2]);
    }
    return (right + left) / (2.0 * tan);
}

void setDepthRange(SoCamera& camera, const Corners& corners, double eye) {
    double nearest = HUGE_VAL, farthest = -HUGE_VAL;
    for (const SbVec3f& p : corners) {
        nearest = std::min(nearest, eye - p[2]);
        farthest = std::max(farthest, eye - p[2]);
    }
    // Clipping planes right at a flat scene would cut it at rounding.
    const double slack = 0.05 * (farthest - nearest) + 0.01 * farthest;
    camera.nearDistance = float(std::max(nearest - slack, 0.001 * farthest));
    camera.farDistance = float(farthest + slack);
    camera.focalDistance = float((nearest + farthest) / 2.0);
}

void placeAt(SoCamera& camera, double x, double y, double z) {
    SbVec3f position;
    camera.orientation.getValue().multVec(SbVec3f(float(x), float(y), float(z)), position);
    camera.position = position;
}

void framePerspective(SoPerspectiveCamera& camera, const Corners& corners, float aspect,
                      double fill) {
    const double tan = std::tan(camera.heightAngle.getValue() / 2.0) * fill;
    if (!(tan > 0.0)) return;
    const double eye = std::max(eyeDepthFor(corners, 0, tan * widthFactor(aspect)),
                                eyeDepthFor(corners, 1, tan * heightFactor(aspect)));
    placeAt(camera, balancedCentre(corners, 0, eye), balancedCentre(corners, 1, eye), eye);
    setDepthRange(camera, corners, eye);
}

void frameOrthographic(SoOrthographicCamera& camera, const Corners& corners, float aspect,
                       double fill) {
    SbVec3f lo(HUGE_VALF, HUGE_VALF, HUGE_VALF), hi(-HUGE_VALF, -HUGE_VALF, -HUGE_VALF);
    for (const SbVec3f& p : corners) {
        for (int c = 0; c < 3; ++c) lo[c] = std::min(lo[c], p[c]), hi[c] = std::max(hi[c], p[c]);
    }
    const SbVec3f span = hi - lo;
    camera.height =
        float(std::max(span[0] / widthFactor(aspect), span[1] / heightFactor(aspect)) / fill);
    // Any distance sees the same picture; one box depth in front keeps the numbers tame.
    const double eye = hi[2] + std::max({span[0], span[1], span[2]});
    placeAt(camera, (lo[0] + hi[0]) / 2.0, (lo[1] + hi[1]) / 2.0, eye);
    setDepthRange(camera, corners, eye);
}

}  // namespace

void CameraFraming::frame(SoCamera& camera, const std::vector<SbVec3f>& corners, float aspect,
                          float margin) {
    if (corners.empty() || !(aspect > 0.0f) || !std::isfinite(aspect)) return;
    double width = 0.0, height = 0.0;
    for (const SbVec3f& p : corners) {
        width = std::max(width, std::fabs(double(p[0]) - corners[0][0]));
        height = std::max(height, std::fabs(double(p[1]) - corners[0][1]));
    }
    // A point, or a box that is not finite, has no size to fit.
    if (!(width > 0.0 || height > 0.0) || !std::isfinite(width + height)) return;
    const double fill = 1.0 - 2.0 * margin;
    if (camera.isOfType(SoPerspectiveCamera::getClassTypeId()))
        framePerspective(static_cast<SoPerspectiveCamera&>(camera), corners, aspect, fill);
    else if (camera.isOfType(SoOrthographicCamera::getClassTypeId()))
        frameOrthographic(static_cast<SoOrthographicCamera&>(camera), corners, aspect, fill);
}
