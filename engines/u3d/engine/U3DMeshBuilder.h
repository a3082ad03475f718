#pragma once

#include <string>

#include "U3DValueTable.h"
#include "format/U3DScene.h"

namespace u3d {

/// Gathers one shape's triangles into a mesh: each corner's position, normal and colour
/// become indices into tables of distinct values. Triangles with a coordinate that is not a
/// number are left out, so that one bad vertex does not cost the file.
class U3DMeshBuilder {
  public:
    struct Vertex {
        Vec3 position;
        Vec3 normal;
        Rgba color;
    };

    /// Room for about `triangles` triangles, so that a large mesh grows its tables once.
    void reserve(std::size_t triangles);
    /// False, adding nothing, when a corner's position is not finite.
    bool addTriangle(const Vertex& a, const Vertex& b, const Vertex& c);

    bool empty() const { return faces_.empty(); }
    std::size_t triangleCount() const { return faces_.size(); }
    /// Whether the faces differ in colour, so that the colours must go per vertex.
    bool colorsVary() const { return colors_.values().size() > 1; }
    /// The single colour of every face (the first when they vary).
    Rgba firstColor() const;

    /// The mesh, with per-vertex colours when `vertexColors`; the builder is empty after.
    Mesh take(const std::string& name, bool vertexColors);

  private:
    static bool finite(const Vertex& v);
    static Vec3 quantized(const Vec3& normal);

    U3DValueTable<3> positions_, normals_;
    U3DValueTable<4> colors_;
    std::vector<Mesh::Face> faces_;
};

}  // namespace u3d
