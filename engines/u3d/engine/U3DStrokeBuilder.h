#pragma once

#include <Tessara/math/SbVec3f.h>

#include <vector>

#include "U3DMeshBuilder.h"

namespace u3d {

/// Lines and points as thin solids, since a 3D viewer draws no other geometry of a base mesh:
/// a line becomes two crossed ribbons (visible from every side), a point a small octahedron.
/// Their thickness is only known once the whole scene's size is, so they are kept in world
/// coordinates until then.
class U3DStrokeBuilder {
  public:
    /// `width` and `size` in multiples of the unit given to build().
    void addLine(const SbVec3f& from, const SbVec3f& to, const Rgba& color, float width);
    void addPoint(const SbVec3f& at, const Rgba& color, float size);

    bool empty() const { return lines_.empty() && points_.empty(); }
    /// Extends [low, high] by every line end and point.
    void extendBounds(SbVec3f& low, SbVec3f& high) const;
    /// Adds the solids, `unit` being the half thickness of a line of width 1.
    void build(float unit, U3DMeshBuilder& mesh) const;

  private:
    struct Line {
        SbVec3f from, to;
        Rgba color;
        float width;
    };
    struct Point {
        SbVec3f at;
        Rgba color;
        float size;
    };
    static void addRibbon(U3DMeshBuilder& mesh, const Line& line, const SbVec3f& across,
                          const SbVec3f& normal);

    std::vector<Line> lines_;
    std::vector<Point> points_;
};

}  // namespace u3d
