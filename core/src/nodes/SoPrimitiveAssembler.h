#pragma once

#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoShape.h>

#include <vector>

class SoAction;
class SoDetail;

/// Turns the vertex stream of SoShape::beginShape / shapeVertex / endShape into triangles,
/// segments and points, keeping the orientation of strips and splitting concave polygons.
class SoPrimitiveAssembler {
  public:
    explicit SoPrimitiveAssembler(SoShape* shape) : shape_(shape) {}

    void begin(SoAction* action, SoShape::TriangleShape type, const SoDetail* detail);
    void vertex(const SoPrimitiveVertex& v);
    void end();

    /// Emits a polygon of `n` vertices: a fan when convex, tessellated otherwise.
    static void polygon(SoShape* shape, SoAction* action, const SoPrimitiveVertex* vertices, int n);

  private:
    void stripVertex(const SoPrimitiveVertex& v);
    void fanVertex(const SoPrimitiveVertex& v);
    void quadStripVertex(const SoPrimitiveVertex& v);
    void triangle(const SoPrimitiveVertex& a, const SoPrimitiveVertex& b,
                  const SoPrimitiveVertex& c);
    static void tessellate(SoShape* shape, SoAction* action, const SoPrimitiveVertex* vertices,
                           int n);

    SoShape* shape_;
    SoAction* action_ = nullptr;
    const SoDetail* detail_ = nullptr;
    SoShape::TriangleShape type_ = SoShape::TRIANGLES;
    std::vector<SoPrimitiveVertex> buffer_;
    int count_ = 0;  // vertices seen since begin()
};
