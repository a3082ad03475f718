#pragma once

// Reads a U3D file back and checks it, independently of the writer, so that a writer's
// mistake shows up as a disagreement: block layout, sizes and padding, the header, modifier
// chains, that every name referred to is declared, and that a base mesh agrees with its
// declaration. Fields are as written; "" names the world as a parent or a view's root node.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace u3dread {

struct Header {
    std::uint32_t profile = 0;  ///< 0x2 extensible, 0x4 no compression, 0x8 units scale
};

struct Parent {
    std::string name;
    std::array<float, 16> transform{};  ///< row-major, translation in 12-14
};

/// A shading modifier's lists of shader names, indexed by a face's shading ID.
using ShaderLists = std::vector<std::vector<std::string>>;

enum class NodeKind { Group, Model, Light, View };

struct Node {
    NodeKind kind = NodeKind::Group;
    std::string name;
    std::vector<Parent> parents;
    std::string resourceName;      ///< the model, light or view resource; "" for a group
    std::uint32_t visibility = 0;  ///< models
    std::uint32_t viewAttributes = 0;
    float nearClip = 0, farClip = 0;
    float projection = 0;              ///< field of view in degrees, or orthographic height
    std::vector<ShaderLists> shading;  ///< one per shading modifier, in chain order
};

/// A face corner's indices; those the face's shading does not use stay 0.
struct Corner {
    std::uint32_t position = 0, normal = 0, diffuse = 0;
};

struct Face {
    std::uint32_t shadingID = 0;
    std::array<Corner, 3> corners;
};

/// A CLOD mesh declaration and its base mesh.
struct Mesh {
    std::string name;
    std::uint32_t attributes = 0;         ///< bit 0: no normals
    std::vector<std::uint32_t> shadings;  ///< each shading's attributes, 1: per-vertex diffuse
    std::vector<std::array<float, 3>> positions, normals;
    std::vector<std::array<float, 4>> diffuseColours;
    std::vector<Face> faces;
};

struct Shader {
    std::string name, materialName;
    std::uint32_t attributes = 0, blendFunction = 0;
};

struct Material {
    std::string name;
    std::array<float, 3> ambient{}, diffuse{}, specular{}, emissive{};
    float reflectivity = 0, opacity = 0;
};

struct Light {
    std::string name;
    std::uint8_t type = 0;  ///< 0 ambient, 1 directional, 2 point, 3 spot
    std::array<float, 4> colour{};
    std::array<float, 3> attenuation{};  ///< constant, linear, quadratic
    float spotAngle = 0, intensity = 0;
};

struct View {
    std::string name;
    std::vector<std::string> passes;  ///< each render pass's root node name
};

struct File {
    Header header;
    std::vector<Node> nodes;
    std::vector<Mesh> meshes;
    std::vector<Shader> shaders;
    std::vector<Material> materials;
    std::vector<Light> lights;
    std::vector<View> views;
};

/// The first item called `name`, or null: findNamed(file.meshes, "box").
template <typename Items>
auto findNamed(Items& items, const std::string& name) -> decltype(&items.front()) {
    for (auto& item : items)
        if (item.name == name) return &item;
    return nullptr;
}

/// The scene of a whole U3D file; throws std::runtime_error naming the fault and its byte.
File read(const std::vector<std::uint8_t>& file);

}  // namespace u3dread
