#include "reading/SceneParcel.h"

#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "CommandError.h"
#include "meshes/MeshPlacements.h"
#include "reading/CountingFileSystem.h"
#include "reading/ParcelReader.h"
#include "reading/ParcelWriter.h"

// A parcel is a kind byte. A refusal's message follows it. A scene's parts follow it in this
// order: the bytes the reading opened and the names it missed; the meshes, materials and
// textures, each a count and then each one (a mesh or a material the scene lacks is marked
// absent); the placements. An array the scene may lack is a presence byte, then the array.

namespace {

constexpr char kScene = 'S', kRefusal = 'R';

void putName(ParcelWriter& out, const aiString& name) {
    out.putString(name.data, std::min<std::uint32_t>(name.length, MAXLEN - 1));
}

template <typename Value>
void putOptional(ParcelWriter& out, const Value* values, std::uint32_t count) {
    out.put<std::uint8_t>(values != nullptr);
    if (values) out.putArray(values, count);
}

void putFaces(ParcelWriter& out, const aiMesh& mesh) {
    const std::uint32_t faces = mesh.mFaces ? mesh.mNumFaces : 0;
    std::vector<std::uint32_t> corners(faces);
    for (std::uint32_t f = 0; f < faces; ++f)
        corners[f] = mesh.mFaces[f].mIndices ? mesh.mFaces[f].mNumIndices : 0;
    out.put(faces);
    out.putArray(corners.data(), faces);
    for (std::uint32_t f = 0; f < faces; ++f) out.putArray(mesh.mFaces[f].mIndices, corners[f]);
}

void putMesh(ParcelWriter& out, const aiMesh& mesh) {
    out.put(mesh.mPrimitiveTypes);
    out.put(mesh.mMaterialIndex);
    putName(out, mesh.mName);
    const std::uint32_t vertices = mesh.mNumVertices;
    out.put(vertices);
    putOptional(out, mesh.mVertices, vertices);
    putOptional(out, mesh.mNormals, vertices);
    for (const aiColor4D* colors : mesh.mColors) putOptional(out, colors, vertices);
    for (unsigned int k = 0; k < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++k) {
        out.put(mesh.mNumUVComponents[k]);
        putOptional(out, mesh.mTextureCoords[k], vertices);
    }
    putFaces(out, mesh);
}

void putMaterial(ParcelWriter& out, const aiMaterial& material) {
    std::vector<const aiMaterialProperty*> properties;
    for (unsigned int p = 0; p < material.mNumProperties; ++p)
        if (material.mProperties[p] && material.mProperties[p]->mData)
            properties.push_back(material.mProperties[p]);
    out.put(static_cast<std::uint32_t>(properties.size()));
    for (const aiMaterialProperty* property : properties) {
        putName(out, property->mKey);
        out.put(property->mSemantic);
        out.put(property->mIndex);
        out.put(static_cast<std::uint32_t>(property->mType));
        out.putString(property->mData, property->mDataLength);
    }
}

std::uint64_t texelBytes(const aiTexture& texture) {
    if (!texture.pcData) return 0;
    return texture.mHeight == 0 ? texture.mWidth
                                : std::uint64_t(texture.mWidth) * texture.mHeight * sizeof(aiTexel);
}

void putTexture(ParcelWriter& out, const aiTexture& texture) {
    out.put(texture.mWidth);
    out.put(texture.mHeight);
    out.putArray(texture.achFormatHint, sizeof texture.achFormatHint);
    putName(out, texture.mFilename);
    const std::uint64_t bytes = texelBytes(texture);
    out.put(bytes);
    out.putArray(reinterpret_cast<const char*>(texture.pcData), bytes);
}

void putPlacements(ParcelWriter& out, const aiScene& scene) {
    const auto placements = MeshPlacements::of(scene.mRootNode);
    out.put(static_cast<std::uint32_t>(placements.size()));
    for (const auto& [node, global] : placements) {
        putName(out, node->mName);
        out.put(global);
        out.put(node->mNumMeshes);
        out.putArray(node->mMeshes, node->mNumMeshes);
    }
}

template <typename Part, typename Put>
void putAll(ParcelWriter& out, Part* const* parts, unsigned int count, Put put) {
    if (!parts) count = 0;
    out.put(count);
    for (unsigned int i = 0; i < count; ++i) {
        out.put<std::uint8_t>(parts[i] != nullptr);
        if (parts[i]) put(out, *parts[i]);
    }
}

// ---- Unpacking: each part is built in place, so that what a short parcel leaves half made
// is deleted with the scene.

bool takeName(ParcelReader& in, aiString& name) {
    std::string text;
    if (!in.takeString(text) || text.size() >= MAXLEN) return false;
    name.Set(text);
    return true;
}

template <typename Value>
bool takeOptional(ParcelReader& in, Value*& values, std::uint32_t count) {
    std::uint8_t present = 0;
    if (!in.take(present)) return false;
    if (!present) return true;
    if (!in.holds<Value>(count)) return false;
    values = new Value[count];
    return in.takeArray(values, count);
}

bool takeFaces(ParcelReader& in, aiMesh& mesh) {
    std::uint32_t faces = 0;
    if (!in.take(faces) || !in.holds<std::uint32_t>(faces)) return false;
    std::vector<std::uint32_t> corners(faces);
    in.takeArray(corners.data(), faces);
    mesh.mFaces = new aiFace[faces];
    mesh.mNumFaces = faces;
    for (std::uint32_t f = 0; f < faces; ++f) {
        if (!in.holds<unsigned int>(corners[f])) return false;
        aiFace& face = mesh.mFaces[f];
        face.mNumIndices = corners[f];
        face.mIndices = corners[f] ? new unsigned int[corners[f]] : nullptr;
        in.takeArray(face.mIndices, corners[f]);
    }
    return true;
}

bool takeMesh(ParcelReader& in, aiMesh& mesh) {
    std::uint32_t vertices = 0;
    if (!in.take(mesh.mPrimitiveTypes) || !in.take(mesh.mMaterialIndex) ||
        !takeName(in, mesh.mName) || !in.take(vertices))
        return false;
    mesh.mNumVertices = vertices;
    if (!takeOptional(in, mesh.mVertices, vertices) || !takeOptional(in, mesh.mNormals, vertices))
        return false;
    for (aiColor4D*& colors : mesh.mColors)
        if (!takeOptional(in, colors, vertices)) return false;
    for (unsigned int k = 0; k < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++k)
        if (!in.take(mesh.mNumUVComponents[k]) ||
            !takeOptional(in, mesh.mTextureCoords[k], vertices))
            return false;
    return takeFaces(in, mesh);
}

bool takeProperty(ParcelReader& in, aiMaterialProperty& property) {
    std::uint32_t type = 0;
    std::string data;
    if (!takeName(in, property.mKey) || !in.take(property.mSemantic) || !in.take(property.mIndex) ||
        !in.take(type) || !in.takeString(data))
        return false;
    property.mType = static_cast<aiPropertyTypeInfo>(type);
    property.mDataLength = static_cast<unsigned int>(data.size());
    property.mData = new char[data.size()];
    std::copy(data.begin(), data.end(), property.mData);
    return true;
}

bool takeMaterial(ParcelReader& in, aiMaterial& material) {
    std::uint32_t properties = 0;
    if (!in.take(properties) || !in.holds<std::uint32_t>(properties)) return false;
    delete[] material.mProperties;
    material.mProperties = new aiMaterialProperty*[properties]();
    material.mNumAllocated = properties;
    material.mNumProperties = 0;
    for (std::uint32_t p = 0; p < properties; ++p) {
        auto* property = new aiMaterialProperty;
        material.mProperties[material.mNumProperties++] = property;
        if (!takeProperty(in, *property)) return false;
    }
    return true;
}

bool takeTexture(ParcelReader& in, aiTexture& texture) {
    std::uint64_t bytes = 0;
    if (!in.take(texture.mWidth) || !in.take(texture.mHeight) ||
        !in.takeArray(texture.achFormatHint, sizeof texture.achFormatHint) ||
        !takeName(in, texture.mFilename) || !in.take(bytes) || !in.holds<char>(bytes))
        return false;
    if (bytes == 0) return true;
    texture.pcData = new aiTexel[(bytes + sizeof(aiTexel) - 1) / sizeof(aiTexel)];
    return in.takeArray(reinterpret_cast<char*>(texture.pcData), bytes);
}

bool takePlacement(ParcelReader& in, aiNode& node) {
    std::uint32_t meshes = 0;
    if (!takeName(in, node.mName) || !in.take(node.mTransformation) || !in.take(meshes) ||
        !in.holds<unsigned int>(meshes))
        return false;
    node.mMeshes = new unsigned int[meshes];
    node.mNumMeshes = meshes;
    return in.takeArray(node.mMeshes, meshes);
}

/// Fills `parts` with `count` parts from the parcel; absent ones stay null.
template <typename Part, typename Take>
bool takeAll(ParcelReader& in, Part**& parts, unsigned int& count, Take take) {
    std::uint32_t total = 0;
    if (!in.take(total) || !in.holds<std::uint8_t>(total)) return false;
    parts = new Part*[total]();
    count = total;
    for (std::uint32_t i = 0; i < total; ++i) {
        std::uint8_t present = 0;
        if (!in.take(present)) return false;
        if (!present) continue;
        parts[i] = new Part;
        if (!take(in, *parts[i])) return false;
    }
    return true;
}

bool takePlacements(ParcelReader& in, aiNode& root) {
    std::uint32_t count = 0;
    if (!in.take(count) || !in.holds<std::uint32_t>(count)) return false;
    root.mChildren = new aiNode*[count]();
    for (std::uint32_t i = 0; i < count; ++i) {
        auto* node = new aiNode;
        node->mParent = &root;
        root.mChildren[root.mNumChildren++] = node;
        if (!takePlacement(in, *node)) return false;
    }
    return true;
}

bool takeScene(ParcelReader& in, aiScene& scene) {
    scene.mRootNode = new aiNode;
    return takeAll(in, scene.mMeshes, scene.mNumMeshes, takeMesh) &&
           takeAll(in, scene.mMaterials, scene.mNumMaterials, takeMaterial) &&
           takeAll(in, scene.mTextures, scene.mNumTextures, takeTexture) &&
           takePlacements(in, *scene.mRootNode) && in.left() == 0;
}

bool takeFileCounts(ParcelReader& in, CountingFileSystem& files) {
    std::uint64_t bytes = 0;
    std::uint32_t missing = 0;
    if (!in.take(bytes) || !in.take(missing)) return false;
    std::set<std::string> names;
    for (std::uint32_t k = 0; k < missing; ++k) {
        std::string name;
        if (!in.takeString(name)) return false;
        names.insert(std::move(name));
    }
    files.adoptCounts(bytes, names);
    return true;
}

}  // namespace

std::string SceneParcel::pack(const aiScene& scene, const CountingFileSystem& files) {
    auto packInto = [&scene, &files](ParcelWriter& out) {
        out.put(kScene);
        out.put<std::uint64_t>(files.getBytes());
        out.put(static_cast<std::uint32_t>(files.getMissing().size()));
        for (const std::string& name : files.getMissing())
            out.putString(name.data(), static_cast<std::uint32_t>(name.size()));
        putAll(out, scene.mMeshes, scene.mNumMeshes, putMesh);
        putAll(out, scene.mMaterials, scene.mNumMaterials, putMaterial);
        putAll(out, scene.mTextures, scene.mNumTextures, putTexture);
        putPlacements(out, scene);
    };
    ParcelWriter measure(nullptr);
    packInto(measure);
    std::string parcel;
    parcel.reserve(measure.size());
    ParcelWriter out(&parcel);
    packInto(out);
    return parcel;
}

std::string SceneParcel::refusal(const std::string& message) {
    return kRefusal + message;
}

std::unique_ptr<aiScene> SceneParcel::unpack(const std::string& parcel, CountingFileSystem& files,
                                             const std::string& path) {
    if (!parcel.empty() && parcel[0] == kRefusal) throw CommandError(parcel.substr(1));
    ParcelReader in(parcel);
    char kind = 0;
    auto scene = std::make_unique<aiScene>();
    if (!in.take(kind) || kind != kScene || !takeFileCounts(in, files) || !takeScene(in, *scene))
        throw CommandError("cannot import '" + path + "': the reader's answer came back damaged");
    return scene;
}
