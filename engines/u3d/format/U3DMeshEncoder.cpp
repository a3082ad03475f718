// The declaration announces the same counts the base mesh holds, and equal minimum and final
// resolutions, so a reader expects no progressive continuation. A base mesh codes each corner
// index uniformly over its attribute's count; from 0x3FFF values on the file falls back to a
// plain U32, so the indices of large meshes cost 32 bits each, whatever the coder does.

#include "format/U3DMeshEncoder.h"

#include "format/U3DBitWriter.h"

namespace u3d {

namespace {

constexpr std::uint32_t kNoNormals = 0x1;
constexpr std::uint32_t kShadingVertexDiffuse = 0x1;
/// Face shading IDs repeat a few values: an adaptive context learns them.
constexpr std::uint32_t kShadingIdContext = 1;
constexpr std::uint32_t kQualityFactor = 1000;
constexpr float kInverseQuantisation = 1.0f;
constexpr float kNormalCrease = 0.9f, kNormalUpdate = 0.5f, kNormalTolerance = 0.985f;

/// The counts of faces, positions, normals, diffuse and specular colours and texture
/// coordinates: the declaration's maximum counts and the base mesh's counts alike.
void writeCounts(U3DBitWriter& writer, const Mesh& mesh) {
    for (std::size_t size : {mesh.faces.size(), mesh.positions.size(), mesh.normals.size(),
                             mesh.diffuseColors.size(), std::size_t{0}, std::size_t{0}})
        writer.writeCount(size);
}

template <typename Vectors>
void writeVectors(U3DBitWriter& writer, const Vectors& vectors) {
    for (const auto& vector : vectors) writer.writeF32s(vector);
}

}  // namespace

std::vector<std::uint8_t> U3DMeshEncoder::declaration(const Mesh& mesh, bool compress) {
    U3DBitWriter writer(compress);
    writer.writeString(mesh.name);
    writer.writeU32(0);  // chain index: the chain's object
    writer.writeU32(mesh.normals.empty() ? kNoNormals : 0);
    writeCounts(writer, mesh);
    writer.writeCount(mesh.shadings.size());
    for (std::size_t i = 0; i < mesh.shadings.size(); ++i) {
        writer.writeU32(mesh.shadings[i].vertexColors ? kShadingVertexDiffuse : 0);
        writer.writeU32(0);    // no texture layers
        writer.writeCount(i);  // original shading ID
    }
    writer.writeCount(mesh.positions.size());  // minimum resolution
    writer.writeCount(mesh.positions.size());  // final maximum resolution
    for (int i = 0; i < 3; ++i) writer.writeU32(kQualityFactor);
    for (int i = 0; i < 5; ++i) writer.writeF32(kInverseQuantisation);
    for (float value : {kNormalCrease, kNormalUpdate, kNormalTolerance}) writer.writeF32(value);
    writer.writeU32(0);  // no bones
    return writer.finish();
}

std::vector<std::uint8_t> U3DMeshEncoder::baseMesh(const Mesh& mesh, bool compress) {
    U3DBitWriter writer(compress);
    // Raw vectors, then at most four bytes per coded value, colours counted for every corner.
    const std::size_t indicesPerCorner = 1 + (mesh.normals.empty() ? 0 : 1) + 1;
    writer.reserve(64 + mesh.name.size() + 12 * (mesh.positions.size() + mesh.normals.size()) +
                   16 * mesh.diffuseColors.size() +
                   4 * mesh.faces.size() * (1 + 3 * indicesPerCorner));
    writer.writeString(mesh.name);
    writer.writeU32(0);  // chain index
    writeCounts(writer, mesh);
    writeVectors(writer, mesh.positions);
    writeVectors(writer, mesh.normals);
    writeVectors(writer, mesh.diffuseColors);
    const std::uint32_t positionContext = U3DBitWriter::staticContext(mesh.positions.size());
    const std::uint32_t normalContext = U3DBitWriter::staticContext(mesh.normals.size());
    const std::uint32_t diffuseContext = U3DBitWriter::staticContext(mesh.diffuseColors.size());
    const bool withNormals = !mesh.normals.empty();
    for (const Mesh::Face& face : mesh.faces) {
        writer.writeCompressedU32(kShadingIdContext, face.shading);
        const bool colored = mesh.shadings[face.shading].vertexColors;
        for (const Mesh::Corner& corner : face.corners) {
            writer.writeCompressedU32(positionContext, corner.position);
            if (withNormals) writer.writeCompressedU32(normalContext, corner.normal);
            if (colored) writer.writeCompressedU32(diffuseContext, corner.diffuse);
        }
    }
    return writer.finish();
}

}  // namespace u3d
