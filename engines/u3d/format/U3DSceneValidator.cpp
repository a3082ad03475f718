#include "format/U3DSceneValidator.h"

#include <cmath>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <unordered_set>

namespace u3d {

namespace {

using Names = std::unordered_set<std::string>;

[[noreturn]] void fail(const std::string& message) {
    throw std::invalid_argument(message);
}

template <typename Floats = std::initializer_list<float>>
void requireFinite(const Floats& values, const std::string& what) {
    for (float value : values)
        if (!std::isfinite(value)) fail(what + " has a value that is not finite");
}

template <typename Vectors>
void requireFiniteEach(const Vectors& vectors, const std::string& what) {
    for (const auto& vector : vectors) requireFinite(vector, what);
}

template <typename Named>
Names namesOf(const std::vector<Named>& items) {
    Names names;
    for (const Named& item : items) names.insert(item.name);
    return names;
}

void requireNamed(const Names& names, const std::string& name, const std::string& referrer,
                  const char* kind) {
    if (names.count(name) == 0)
        fail(referrer + " refers to " + kind + " '" + name + "', which does not exist");
}

/// Builds its message only on failure: it runs for every corner of meshes with millions.
void requireIndex(std::uint32_t index, std::size_t count, const Mesh& mesh, std::size_t face,
                  const char* kind) {
    if (index >= count)
        fail("mesh '" + mesh.name + "' face " + std::to_string(face) + ": " + kind + " index " +
             std::to_string(index) + " is out of range (" + std::to_string(count) + " " + kind +
             "s)");
}

}  // namespace

void U3DSceneValidator::check(const Scene& scene) {
    checkNodes(scene);
    for (const Mesh& mesh : scene.meshes) checkMesh(mesh);
    checkResources(scene);
}

void U3DSceneValidator::checkNodes(const Scene& scene) {
    const Names meshes = namesOf(scene.meshes);
    const Names lights = namesOf(scene.lights);
    const Names views = namesOf(scene.views);
    const Names shaders = namesOf(scene.shaders);
    Names earlier;
    for (const Node& node : scene.nodes) {
        const std::string what = "node '" + node.name + "'";
        for (const Parent& parent : node.parents) {
            if (!parent.name.empty() && earlier.count(parent.name) == 0)
                fail(what + " has parent '" + parent.name + "', which is not a node before it");
            requireFinite(parent.transform, what + "'s transform");
        }
        if (node.kind == Node::Kind::Model) {
            requireNamed(meshes, node.resource, what, "mesh");
            for (const std::string& shader : node.shaders)
                requireNamed(shaders, shader, what, "shader");
            if (node.visibility > 3)
                fail(what + " has visibility " + std::to_string(node.visibility) + " above 3");
        } else if (node.kind == Node::Kind::Light) {
            requireNamed(lights, node.resource, what, "light");
        } else if (node.kind == Node::Kind::View) {
            requireNamed(views, node.resource, what, "view");
            requireFinite({node.projection, node.nearClip, node.farClip, node.viewportWidth,
                           node.viewportHeight},
                          what);
        }
        earlier.insert(node.name);
    }
}

void U3DSceneValidator::checkMesh(const Mesh& mesh) {
    const std::string what = "mesh '" + mesh.name + "'";
    requireFiniteEach(mesh.positions, what + "'s positions");
    requireFiniteEach(mesh.normals, what + "'s normals");
    requireFiniteEach(mesh.diffuseColors, what + "'s colours");
    for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
        const Mesh::Face& face = mesh.faces[i];
        requireIndex(face.shading, mesh.shadings.size(), mesh, i, "shading");
        const bool colored = mesh.shadings[face.shading].vertexColors;
        for (const Mesh::Corner& corner : face.corners) {
            requireIndex(corner.position, mesh.positions.size(), mesh, i, "position");
            if (!mesh.normals.empty())
                requireIndex(corner.normal, mesh.normals.size(), mesh, i, "normal");
            if (colored) requireIndex(corner.diffuse, mesh.diffuseColors.size(), mesh, i, "colour");
        }
    }
}

void U3DSceneValidator::checkResources(const Scene& scene) {
    const Names materials = namesOf(scene.materials);
    for (const Shader& shader : scene.shaders)
        requireNamed(materials, shader.material, "shader '" + shader.name + "'", "material");
    for (const Material& m : scene.materials) {
        const std::string what = "material '" + m.name + "'";
        for (const Vec3* color : {&m.ambient, &m.diffuse, &m.specular, &m.emissive})
            requireFinite(*color, what);
        requireFinite({m.reflectivity, m.opacity}, what);
    }
    for (const Light& light : scene.lights) {
        const std::string what = "light '" + light.name + "'";
        requireFinite(light.color, what);
        requireFinite(light.attenuation, what);
        requireFinite({light.spotAngle, light.intensity}, what);
    }
}

}  // namespace u3d
