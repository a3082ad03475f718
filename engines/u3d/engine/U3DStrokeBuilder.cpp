#include "U3DStrokeBuilder.h"

#include <algorithm>
#include <cmath>

namespace u3d {
namespace {

// A width or size that is no number draws as the thinnest, as on the screen.
float thickness(float nominal) {
    return std::isfinite(nominal) ? std::max(nominal, 1.0f) : 1.0f;
}

Vec3 vec(const SbVec3f& v) {
    return {v[0], v[1], v[2]};
}

// Some unit vector perpendicular to `d`: the cross product with the axis least along it.
SbVec3f perpendicular(const SbVec3f& d) {
    const SbVec3f axis = std::fabs(d[0]) < 0.6f   ? SbVec3f(1, 0, 0)
                         : std::fabs(d[1]) < 0.6f ? SbVec3f(0, 1, 0)
                                                  : SbVec3f(0, 0, 1);
    SbVec3f p = d.cross(axis);
    p.normalize();
    return p;
}

void extend(SbVec3f& low, SbVec3f& high, const SbVec3f& p) {
    for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(p[i])) return;
    }
    for (int i = 0; i < 3; ++i) {
        low[i] = std::min(low[i], p[i]);
        high[i] = std::max(high[i], p[i]);
    }
}

}  // namespace

void U3DStrokeBuilder::addLine(const SbVec3f& from, const SbVec3f& to, const Rgba& color,
                               float width) {
    lines_.push_back({from, to, color, thickness(width)});
}

void U3DStrokeBuilder::addPoint(const SbVec3f& at, const Rgba& color, float size) {
    points_.push_back({at, color, thickness(size)});
}

void U3DStrokeBuilder::extendBounds(SbVec3f& low, SbVec3f& high) const {
    for (const Line& line : lines_) {
        extend(low, high, line.from);
        extend(low, high, line.to);
    }
    for (const Point& point : points_) extend(low, high, point.at);
}

void U3DStrokeBuilder::addRibbon(U3DMeshBuilder& mesh, const Line& line, const SbVec3f& across,
                                 const SbVec3f& normal) {
    using V = U3DMeshBuilder::Vertex;
    const Vec3 n = vec(normal);
    const V a{vec(line.from - across), n, line.color}, b{vec(line.from + across), n, line.color};
    const V c{vec(line.to + across), n, line.color}, d{vec(line.to - across), n, line.color};
    mesh.addTriangle(a, b, c);
    mesh.addTriangle(a, c, d);
}

void U3DStrokeBuilder::build(float unit, U3DMeshBuilder& mesh) const {
    mesh.reserve(lines_.size() * 4 + points_.size() * 8);
    for (const Line& line : lines_) {
        SbVec3f direction = line.to - line.from;
        if (direction.normalize() == 0.0f) direction = SbVec3f(0, 0, 1);
        const SbVec3f u = perpendicular(direction), v = direction.cross(u);
        addRibbon(mesh, line, u * (unit * line.width), v);
        addRibbon(mesh, line, v * (unit * line.width), u);
    }
    for (const Point& point : points_) {
        const float r = unit * point.size * 1.5f;
        const SbVec3f axes[3] = {SbVec3f(r, 0, 0), SbVec3f(0, r, 0), SbVec3f(0, 0, r)};
        // The eight faces of the octahedron, each a sign per axis, wound outwards.
        for (int face = 0; face < 8; ++face) {
            SbVec3f corner[3];
            for (int i = 0; i < 3; ++i) corner[i] = axes[i] * ((face >> i & 1) ? -1.0f : 1.0f);
            SbVec3f normal = corner[0] + corner[1] + corner[2];
            normal.normalize();
            const bool flip = ((face & 1) + (face >> 1 & 1) + (face >> 2 & 1)) % 2 == 1;
            const Vec3 n = vec(normal);
            const U3DMeshBuilder::Vertex x{vec(point.at + corner[0]), n, point.color},
                y{vec(point.at + corner[flip ? 2 : 1]), n, point.color},
                z{vec(point.at + corner[flip ? 1 : 2]), n, point.color};
            mesh.addTriangle(x, y, z);
        }
    }
}

}  // namespace u3d
