#include <Tessara/math/SbPolygonNormal.h>

#include <cmath>
#include <limits>

// Newell's sum about the first corner is the sum of the cross products of consecutive corners
// taken from it; the closing corner is the first, which adds nothing.
void SbPolygonNormal::add(float x, float y, float z) {
    const double corner[3] = {x, y, z};
    if (corners_++ == 0) {
        for (int i = 0; i < 3; ++i) first_[i] = corner[i];
        return;
    }
    double d[3];
    for (int i = 0; i < 3; ++i) d[i] = corner[i] - first_[i];
    sum_[0] += last_[1] * d[2] - last_[2] * d[1];
    sum_[1] += last_[2] * d[0] - last_[0] * d[2];
    sum_[2] += last_[0] * d[1] - last_[1] * d[0];
    for (int i = 0; i < 3; ++i) last_[i] = d[i];
}

SbVec3f SbPolygonNormal::getUnit() const {
    const double length = std::sqrt(sum_[0] * sum_[0] + sum_[1] * sum_[1] + sum_[2] * sum_[2]);
    if (!std::isfinite(length)) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        return SbVec3f(nan, nan, nan);
    }
    if (!(length > 0.0)) return SbVec3f(0.0f, 0.0f, 0.0f);
    return SbVec3f(float(sum_[0] / length), float(sum_[1] / length), float(sum_[2] / length));
}
