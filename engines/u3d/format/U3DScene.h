#pragma once

// What a U3D file holds, as the engine builds it and the file writer writes it: nodes with their
// parents, mesh resources with their faces, shaders, materials, lights and views. Names tie the
// parts together as they do in the file: a model node names its mesh, a shader its material.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace u3d {

using Vec3 = std::array<float, 3>;
using Rgba = std::array<float, 4>;
/// Row-major, the translation in elements 12 to 14, element 15 one: the file's own layout.
using Matrix = std::array<float, 16>;

/// The identity transform.
Matrix identity();

struct Parent {
    std::string name;  ///< "": the world
    Matrix transform = identity();
};

struct Node {
    enum class Kind { Group, Model, Light, View };
    Kind kind = Kind::Group;
    std::string name;
    std::vector<Parent> parents;
    /// The model, light or view resource it shows; unused for a group.
    std::string resource;

    // A model: its visibility (0 none, 1 front, 2 back, 3 both) and, per shading ID of its
    // mesh's faces, the shader that draws them (the shading modifier's lists, one shader each).
    std::uint32_t visibility = 3;
    std::vector<std::string> shaders;

    // A view: perspective with a field of view in degrees, or orthographic with a height.
    bool orthographic = false;
    float projection = 45.0f;
    float nearClip = 0.01f, farClip = 1000.0f;
    float viewportWidth = 1.0f, viewportHeight = 1.0f;
};

/// A CLOD mesh resource written as its base mesh only. Every face corner indexes the
/// positions, the normals unless there are none, and the diffuse colours when the face's
/// shading has per-vertex colours.
struct Mesh {
    struct Shading {
        bool vertexColors = false;
    };
    struct Corner {
        std::uint32_t position = 0, normal = 0, diffuse = 0;
    };
    struct Face {
        std::uint32_t shading = 0;
        std::array<Corner, 3> corners;
    };
    std::string name;
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;  ///< empty: the mesh has no normals
    std::vector<Rgba> diffuseColors;
    std::vector<Shading> shadings{Shading{}};
    std::vector<Face> faces;
};

struct Material {
    std::string name;
    Vec3 ambient{0.2f, 0.2f, 0.2f}, diffuse{0.8f, 0.8f, 0.8f}, specular{0, 0, 0}, emissive{0, 0, 0};
    float reflectivity = 0.2f;
    float opacity = 1.0f;
};

/// A lit texture shader without textures.
struct Shader {
    std::string name;
    std::string material;
    bool lighting = true;
    bool vertexColors = false;
    bool alphaBlend = false;  ///< blend by alpha (transparent materials)
};

struct Light {
    enum class Type : std::uint8_t { Ambient = 0, Directional = 1, Point = 2, Spot = 3 };
    std::string name;
    Type type = Type::Directional;
    Rgba color{1, 1, 1, 1};
    Vec3 attenuation{1, 0, 0};  ///< constant, linear, quadratic
    float spotAngle = 45.0f;    ///< degrees
    float intensity = 1.0f;
    bool specular = true;
    bool spotDecay = false;
};

struct View {
    std::string name;
    std::string rootNode;  ///< "": the world
};

struct Scene {
    std::vector<Node> nodes;  ///< parents before their children
    std::vector<Mesh> meshes;
    std::vector<Shader> shaders;
    std::vector<Material> materials;
    std::vector<Light> lights;
    std::vector<View> views;
};

}  // namespace u3d
