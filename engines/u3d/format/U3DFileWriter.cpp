// The file is built in memory: the header needs the size of the declarations and of the whole
// file, and a scene is validated before anything is written, so a failure never leaves a file
// that looks complete. Nodes come first, each in its own chain, with a shading modifier after
// a model so its faces' shading IDs find their shaders; resources follow, and the geometry
// comes last as continuations, which the file allows only after every declaration.

#include "format/U3DFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "format/U3DBitWriter.h"
#include "format/U3DBlockWriter.h"
#include "format/U3DMeshEncoder.h"
#include "format/U3DSceneValidator.h"

namespace u3d {

namespace {

constexpr std::uint32_t kFileHeader = 0x00443355;
constexpr std::uint32_t kGroupNode = 0xFFFFFF21;
constexpr std::uint32_t kModelNode = 0xFFFFFF22;
constexpr std::uint32_t kLightNode = 0xFFFFFF23;
constexpr std::uint32_t kViewNode = 0xFFFFFF24;
constexpr std::uint32_t kShadingModifier = 0xFFFFFF45;
constexpr std::uint32_t kLightResource = 0xFFFFFF51;
constexpr std::uint32_t kViewResource = 0xFFFFFF52;
constexpr std::uint32_t kLitTextureShader = 0xFFFFFF53;
constexpr std::uint32_t kMaterial = 0xFFFFFF54;

constexpr std::uint32_t kProfileNoCompression = 0x4;
constexpr std::uint32_t kUtf8 = 106;
/// A header without units.
constexpr std::size_t kHeaderDataSize = 24;

/// Which attribute bit makes a view orthographic is not among the format facts we have
/// checked: 0x1 is an assumption.
constexpr std::uint32_t kViewOrthographic = 0x1;
constexpr std::uint32_t kShadingOfMeshes = 0x1;
constexpr std::uint32_t kLightEnabled = 0x1, kLightSpecular = 0x2, kLightSpotDecay = 0x4;
constexpr std::uint32_t kShaderLighting = 0x1, kShaderVertexColor = 0x4;
constexpr std::uint32_t kAlphaFunctionAlways = 0x617, kBlendByAlpha = 0x606;
constexpr std::uint32_t kRenderPassFlags = 0x1;
constexpr std::uint32_t kAllMaterialColors = 0x3F;

std::uint32_t nodeType(Node::Kind kind) {
    switch (kind) {
        case Node::Kind::Model:
            return kModelNode;
        case Node::Kind::Light:
            return kLightNode;
        case Node::Kind::View:
            return kViewNode;
        case Node::Kind::Group:
            break;
    }
    return kGroupNode;
}

std::vector<std::uint8_t> nodeData(const Node& node, bool compress) {
    U3DBitWriter writer(compress);
    writer.writeString(node.name);
    writer.writeCount(node.parents.size());
    for (const Parent& parent : node.parents) {
        writer.writeString(parent.name);
        writer.writeF32s(parent.transform);
    }
    if (node.kind == Node::Kind::Group) return writer.finish();
    writer.writeString(node.resource);
    if (node.kind == Node::Kind::Model) writer.writeU32(node.visibility);
    if (node.kind != Node::Kind::View) return writer.finish();
    writer.writeU32(node.orthographic ? kViewOrthographic : 0);
    for (float value :
         {node.nearClip, node.farClip, node.projection, node.viewportWidth, node.viewportHeight})
        writer.writeF32(value);
    writer.writeF32(0.0f);  // viewport x
    writer.writeF32(0.0f);  // viewport y
    writer.writeU32(0);     // no backdrops
    writer.writeU32(0);     // no overlays
    return writer.finish();
}

/// One shader per list: a face's shading ID picks the shader of the same position.
std::vector<std::uint8_t> shadingModifierData(const Node& node, bool compress) {
    U3DBitWriter writer(compress);
    writer.writeString(node.name);
    writer.writeU32(1);  // chain index: after the node
    writer.writeU32(kShadingOfMeshes);
    writer.writeCount(node.shaders.size());
    for (const std::string& shader : node.shaders) {
        writer.writeU32(1);
        writer.writeString(shader);
    }
    return writer.finish();
}

void writeNodeChain(U3DBlockWriter& blocks, const Node& node, bool compress) {
    std::vector<U3DBlockWriter::Block> modifiers{{nodeType(node.kind), nodeData(node, compress)}};
    if (node.kind == Node::Kind::Model && !node.shaders.empty())
        modifiers.push_back({kShadingModifier, shadingModifierData(node, compress)});
    blocks.modifierChain(node.name, U3DBlockWriter::ChainType::Node, modifiers);
}

std::vector<std::uint8_t> lightData(const Light& light, bool compress) {
    U3DBitWriter writer(compress);
    writer.writeString(light.name);
    writer.writeU32(kLightEnabled | (light.specular ? kLightSpecular : 0) |
                    (light.spotDecay ? kLightSpotDecay : 0));
    writer.writeU8(static_cast<std::uint8_t>(light.type));
    writer.writeF32s(light.color);
    writer.writeF32s(light.attenuation);
    writer.writeF32(light.spotAngle);
    writer.writeF32(light.intensity);
    return writer.finish();
}

/// One pass from the view's root node, without fog.
std::vector<std::uint8_t> viewData(const View& view, bool compress) {
    U3DBitWriter writer(compress);
    writer.writeString(view.name);
    writer.writeU32(1);  // passes
    writer.writeString(view.rootNode);
    writer.writeU32(0);  // render attributes: fog off
    writer.writeU32(0);  // fog mode
    writer.writeF32s(Rgba{0, 0, 0, 1});
    writer.writeF32(0.0f);     // fog near
    writer.writeF32(1000.0f);  // fog far
    return writer.finish();
}

std::vector<std::uint8_t> shaderData(const Shader& shader, bool compress) {
    U3DBitWriter writer(compress);
    writer.writeString(shader.name);
    writer.writeU32((shader.lighting ? kShaderLighting : 0) |
                    (shader.vertexColors ? kShaderVertexColor : 0));
    writer.writeF32(0.0f);  // alpha reference, unused without the alpha test
    writer.writeU32(kAlphaFunctionAlways);
    writer.writeU32(kBlendByAlpha);
    writer.writeU32(kRenderPassFlags);
    writer.writeU32(0);  // no texture channels
    writer.writeU32(0);  // no alpha texture channels
    writer.writeString(shader.material);
    return writer.finish();
}

std::vector<std::uint8_t> materialData(const Material& material, bool compress) {
    U3DBitWriter writer(compress);
    writer.writeString(material.name);
    writer.writeU32(kAllMaterialColors);
    for (const Vec3* color :
         {&material.ambient, &material.diffuse, &material.specular, &material.emissive})
        writer.writeF32s(*color);
    writer.writeF32(material.reflectivity);
    writer.writeF32(material.opacity);
    return writer.finish();
}

std::vector<std::uint8_t> headerData(bool compress, std::size_t declarationSize,
                                     std::size_t fileSize) {
    U3DBitWriter writer(compress);
    writer.writeI16(0);  // major version
    writer.writeI16(0);  // minor version
    writer.writeU32(compress ? 0 : kProfileNoCompression);
    writer.writeCount(declarationSize);
    writer.writeU64(fileSize);
    writer.writeU32(kUtf8);
    return writer.finish();
}

template <typename Resources, typename Encode>
void writeResources(U3DBlockWriter& blocks, std::uint32_t type, const Resources& resources,
                    Encode encode, bool compress) {
    for (const auto& resource : resources) blocks.block(type, encode(resource, compress));
}

bool fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

std::string systemMessage(int code) {
    return std::generic_category().message(code);
}

}  // namespace

std::vector<std::uint8_t> U3DFileWriter::encode(const Scene& scene, bool compress) {
    U3DSceneValidator::check(scene);
    U3DBlockWriter declarations;
    for (const Node& node : scene.nodes) writeNodeChain(declarations, node, compress);
    for (const Mesh& mesh : scene.meshes)
        declarations.modifierChain(
            mesh.name, U3DBlockWriter::ChainType::ModelResource,
            {{U3DMeshEncoder::kDeclarationType, U3DMeshEncoder::declaration(mesh, compress)}});
    writeResources(declarations, kLightResource, scene.lights, lightData, compress);
    writeResources(declarations, kViewResource, scene.views, viewData, compress);
    writeResources(declarations, kLitTextureShader, scene.shaders, shaderData, compress);
    writeResources(declarations, kMaterial, scene.materials, materialData, compress);
    // The geometry is copied once, into a file of the final size.
    std::vector<std::vector<std::uint8_t>> baseMeshes;
    std::size_t continuationSize = 0;
    for (const Mesh& mesh : scene.meshes) {
        baseMeshes.push_back(U3DMeshEncoder::baseMesh(mesh, compress));
        continuationSize += U3DBlockWriter::blockSize(baseMeshes.back().size());
    }

    const std::size_t declarationSize =
        U3DBlockWriter::blockSize(kHeaderDataSize) + declarations.size();
    U3DBlockWriter file;
    file.reserve(declarationSize + continuationSize);
    file.block(kFileHeader,
               headerData(compress, declarationSize, declarationSize + continuationSize));
    file.append(declarations);
    for (const auto& baseMesh : baseMeshes) file.block(U3DMeshEncoder::kBaseMeshType, baseMesh);
    return file.take();
}

bool U3DFileWriter::write(const Scene& scene, const std::string& path, bool compress,
                          std::string* error) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = encode(scene, compress);
    } catch (const std::exception& e) {
        return fail(error, "cannot write '" + path + "': " + e.what());
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return fail(error, "cannot open '" + path + "' for writing: " + systemMessage(errno));
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int code = written ? 0 : errno;
    // Buffered bytes reach the device on closing: a full disk often shows only here.
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    if (code == 0) code = errno != 0 ? errno : EIO;
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored)) std::filesystem::remove(path, ignored);
    return fail(error, "writing '" + path + "' failed: " + systemMessage(code));
}

}  // namespace u3d
