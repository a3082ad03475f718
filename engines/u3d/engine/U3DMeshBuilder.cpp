#include "U3DMeshBuilder.h"

#include <algorithm>
#include <cmath>

namespace u3d {

void U3DMeshBuilder::reserve(std::size_t triangles) {
    // A closed mesh has about half as many vertices as triangles.
    positions_.reserve(triangles / 2 + 3);
    normals_.reserve(triangles / 2 + 3);
    faces_.reserve(triangles);
}

bool U3DMeshBuilder::finite(const Vertex& v) {
    return std::all_of(v.position.begin(), v.position.end(),
                       [](float x) { return std::isfinite(x); });
}

// Normals computed for one vertex from its faces differ in their last bits from face to face;
// rounded to 2^-15, far below what shading can show, the normals of a smooth mesh are shared
// by its faces like its positions, which halves the file. A normal that is not a number
// would spoil the file, a zero one only the shading.
Vec3 U3DMeshBuilder::quantized(const Vec3& normal) {
    Vec3 rounded;
    for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(normal[i])) return {0, 0, 1};
        rounded[i] = std::round(normal[i] * 32768.0f) / 32768.0f;
    }
    return rounded;
}

bool U3DMeshBuilder::addTriangle(const Vertex& a, const Vertex& b, const Vertex& c) {
    if (!finite(a) || !finite(b) || !finite(c)) return false;
    Mesh::Face face;
    const Vertex* corners[3] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i) {
        const Vec3 normal = quantized(corners[i]->normal);
        face.corners[i].position = positions_.indexOf(corners[i]->position);
        face.corners[i].normal = normals_.indexOf(normal);
        face.corners[i].diffuse = colors_.indexOf(corners[i]->color);
    }
    faces_.push_back(face);
    return true;
}

Rgba U3DMeshBuilder::firstColor() const {
    return colors_.values().empty() ? Rgba{1, 1, 1, 1} : colors_.values().front();
}

Mesh U3DMeshBuilder::take(const std::string& name, bool vertexColors) {
    Mesh mesh;
    mesh.name = name;
    mesh.positions = positions_.take();
    mesh.normals = normals_.take();
    std::vector<Rgba> colors = colors_.take();
    if (vertexColors) mesh.diffuseColors = std::move(colors);
    mesh.shadings = {Mesh::Shading{vertexColors}};
    mesh.faces = std::move(faces_);
    faces_.clear();
    return mesh;
}

}  // namespace u3d
