#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbLine.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbPlane.h>

#include <cmath>

SbPlane::SbPlane(const SbVec3f& normal, float distanceFromOrigin) : distance_(distanceFromOrigin) {
    const float len = normal.length();
    setNormal(normal, "SbPlane");
    // Keep the same geometric plane when the normal came in unnormalised.
    if (len > 0.0f) distance_ /= len;
}

SbPlane::SbPlane(const SbVec3f& p0, const SbVec3f& p1, const SbVec3f& p2) {
    setNormal((p1 - p0).cross(p2 - p0), "SbPlane (three points)");
    distance_ = normalVec_.dot(p0);
}

SbPlane::SbPlane(const SbVec3f& normal, const SbVec3f& point) {
    setNormal(normal, "SbPlane");
    distance_ = normalVec_.dot(point);
}

void SbPlane::setNormal(const SbVec3f& normal, const char* where) {
    normalVec_ = normal;
    if (!(normalVec_.normalize() > 0.0f)) {
        SoDebugError::post(where, "degenerate plane (zero normal), using +z");
        normalVec_.setValue(0.0f, 0.0f, 1.0f);
    }
}

void SbPlane::transform(const SbMatrix& matrix) {
    // Points go p -> p M, so the plane as a column (n, -d) goes to M^-1 (n, -d). A singular
    // matrix is reported by inverse(), whose identity fallback leaves the plane as it was.
    const SbVec4f p =
        matrix.inverse() * SbVec4f(normalVec_[0], normalVec_[1], normalVec_[2], -distance_);
    SbVec3f n(p[0], p[1], p[2]);
    const float len = n.normalize();
    if (!(len > 0.0f)) {
        SoDebugError::postWarning("SbPlane::transform", "degenerate result, plane left unchanged");
        return;
    }
    normalVec_ = n;
    distance_ = -p[3] / len;
}

bool SbPlane::intersect(const SbLine& line, SbVec3f& intersection) const {
    const float along = normalVec_.dot(line.getDirection());
    if (std::fabs(along) < 1.0e-12f) return false;
    const float t = (distance_ - normalVec_.dot(line.getPosition())) / along;
    intersection = line.getPosition() + line.getDirection() * t;
    return true;
}
