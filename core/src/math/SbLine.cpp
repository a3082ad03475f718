#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbLine.h>

#include <cmath>

void SbLine::setValue(const SbVec3f& p0, const SbVec3f& p1) {
    pos_ = p0;
    dir_ = p1 - p0;
    if (!(dir_.normalize() > 0.0f)) {
        SoDebugError::post("SbLine::setValue", "the two points coincide, using direction z");
        dir_.setValue(0.0f, 0.0f, 1.0f);
    }
}

void SbLine::setPosDir(const SbVec3f& position, const SbVec3f& direction) {
    pos_ = position;
    dir_ = direction;
    if (!(dir_.normalize() > 0.0f)) {
        SoDebugError::post("SbLine::setPosDir", "zero direction, using z");
        dir_.setValue(0.0f, 0.0f, 1.0f);
    }
}

SbVec3f SbLine::getClosestPoint(const SbVec3f& point) const {
    return pos_ + dir_ * dir_.dot(point - pos_);
}

bool SbLine::getClosestPoints(const SbLine& line2, SbVec3f& ptOnThis, SbVec3f& ptOnLine2) const {
    // Minimise |pos + s dir - (pos2 + t dir2)|; both directions are unit vectors.
    const SbVec3f& d2 = line2.dir_;
    const SbVec3f w = pos_ - line2.pos_;
    const double b = dir_.dot(d2);
    const double denom = 1.0 - b * b;
    if (denom < 1.0e-12) return false;
    const double d = dir_.dot(w), e = d2.dot(w);
    const float s = static_cast<float>((b * e - d) / denom);
    const float t = static_cast<float>((e - b * d) / denom);
    ptOnThis = pos_ + dir_ * s;
    ptOnLine2 = line2.pos_ + d2 * t;
    return true;
}
