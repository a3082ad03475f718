#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbBox3f.h>
#include <Tessara/math/SbLine.h>
#include <Tessara/math/SbSphere.h>

#include <cmath>

void SbSphere::setValue(const SbVec3f& c, float r) {
    center_ = c;
    radius_ = r;
    if (!(r >= 0.0f)) {
        SoDebugError::post("SbSphere::setValue", "radius %g is invalid, using 0", double(r));
        radius_ = 0.0f;
    }
}

void SbSphere::circumscribe(const SbBox3f& box) {
    if (box.isEmpty()) {
        center_.setValue(0.0f, 0.0f, 0.0f);
        radius_ = 0.0f;
        return;
    }
    center_ = box.getCenter();
    radius_ = 0.5f * box.getSize().length();
}

bool SbSphere::pointInside(const SbVec3f& point) const {
    return (point - center_).sqrLength() <= radius_ * radius_;
}

bool SbSphere::intersect(const SbLine& line, SbVec3f& enter, SbVec3f& exit) const {
    // Solve |pos + t dir - center| = radius with a unit dir: t = -b +- sqrt(b^2 - c).
    const SbVec3f& dir = line.getDirection();
    const SbVec3f offset = line.getPosition() - center_;
    const double b = dir.dot(offset);
    const double c = double(offset.sqrLength()) - double(radius_) * radius_;
    const double disc = b * b - c;
    if (disc < 0.0) return false;
    const double root = std::sqrt(disc);
    enter = line.getPosition() + dir * static_cast<float>(-b - root);
    exit = line.getPosition() + dir * static_cast<float>(-b + root);
    return true;
}
