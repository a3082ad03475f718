#include "meshes/MeshTextures.h"

#include <Tessara/base/SoDebugError.h>
#include <assimp/material.h>
#include <assimp/scene.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>

#include "meshes/MeshRefiner.h"

namespace {

constexpr off_t maxFileBytes = off_t(512) << 20;

/// The name of the material's colour texture: physically based formats call it the base
/// colour, the others the diffuse one. Empty when it has neither.
std::string textureNameOf(const aiMaterial& material, unsigned int& channel) {
    for (aiTextureType type : {aiTextureType_BASE_COLOR, aiTextureType_DIFFUSE}) {
        aiString name;
        if (material.Get(AI_MATKEY_TEXTURE(type, 0), name) != AI_SUCCESS || name.length == 0)
            continue;
        int source = 0;
        if (material.Get(AI_MATKEY_UVWSRC(type, 0), source) == AI_SUCCESS && source > 0)
            channel = static_cast<unsigned int>(source);
        return name.C_Str();
    }
    return {};
}

/// Files written on Windows name their textures with backslashes.
std::string portablePath(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

/// The mean length, in texels, of the texture-space edges that meet at each vertex: how much
/// of the texture the vertex stands for.
std::vector<float> footprints(const aiMesh& mesh, const aiVector3D* uv, int width, int height) {
    std::vector<float> sum(mesh.mNumVertices, 0.0f);
    std::vector<unsigned int> count(mesh.mNumVertices, 0);
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices < 3) continue;
        for (unsigned int k = 0; k < face.mNumIndices; ++k) {
            const unsigned int a = face.mIndices[k], b = face.mIndices[(k + 1) % face.mNumIndices];
            if (a >= mesh.mNumVertices || b >= mesh.mNumVertices) continue;
            const float length = float(MeshRefiner::texelLength(uv[a], uv[b], width, height));
            if (!std::isfinite(length)) continue;
            sum[a] += length;
            sum[b] += length;
            ++count[a];
            ++count[b];
        }
    }
    for (unsigned int i = 0; i < mesh.mNumVertices; ++i)
        if (count[i]) sum[i] /= float(count[i]);
    return sum;
}

/// Reads a texture file whole. Only a regular file is read, and at most maxFileBytes of it: a
/// model file can name any path, "/dev/zero" included.
bool readTexture(const std::string& path, std::vector<unsigned char>& bytes) {
    struct stat info;
    const char* problem = nullptr;
    if (stat(path.c_str(), &info) != 0)
        problem = std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        problem = "not a file";
    else if (info.st_size > maxFileBytes)
        problem = "larger than 512 MB";
    if (!problem) {
        std::ifstream file(path, std::ios::binary);
        bytes.resize(static_cast<size_t>(info.st_size));
        if (!file.read(reinterpret_cast<char*>(bytes.data()), info.st_size)) problem = "read error";
    }
    if (problem)
        SoDebugError::post("MeshTextures::load", "Cannot read the texture \"%s\": %s", path.c_str(),
                           problem);
    return !problem;
}

}  // namespace

MeshTextures::MeshTextures(const aiScene& scene, const std::string& modelPath)
    : scene_(scene), folder_(folderOf(modelPath)), entries_(scene.mNumMaterials) {}

std::vector<SbColor> MeshTextures::vertexColors(const aiMesh& mesh,
                                                const std::vector<SbColor>& tints,
                                                const SbColor& tint) {
    const Entry& entry = entryFor(mesh.mMaterialIndex);
    if (!entry.image || entry.channel >= AI_MAX_NUMBER_OF_TEXTURECOORDS ||
        !mesh.HasTextureCoords(entry.channel))
        return {};
    const TextureImage& texture = *entry.image;
    const aiVector3D* uv = mesh.mTextureCoords[entry.channel];
    const std::vector<float> sizes = footprints(mesh, uv, texture.getWidth(), texture.getHeight());
    const bool perVertex = tints.size() == mesh.mNumVertices;
    std::vector<SbColor> colors(mesh.mNumVertices);
    for (unsigned int i = 0; i < mesh.mNumVertices; ++i) {
        const SbColor under = texture.colorAt(uv[i].x, uv[i].y, sizes[i]);
        const SbColor& times = perVertex ? tints[i] : tint;
        colors[i].setValue(under[0] * times[0], under[1] * times[1], under[2] * times[2]);
    }
    return colors;
}

bool MeshTextures::anyIn(const aiScene& scene) {
    for (unsigned int m = 0; m < scene.mNumMaterials; ++m) {
        unsigned int channel = 0;
        if (scene.mMaterials[m] && !textureNameOf(*scene.mMaterials[m], channel).empty())
            return true;
    }
    return false;
}

void MeshTextures::shareTriangleBudget(const std::vector<unsigned int>& placements) {
    double triangles = 0.0;
    for (unsigned int m = 0; m < scene_.mNumMeshes && m < placements.size(); ++m)
        if (placements[m] && scene_.mMeshes[m] && entryFor(scene_.mMeshes[m]->mMaterialIndex).image)
            triangles += double(placements[m]) * MeshRefiner::countTriangles(*scene_.mMeshes[m]);
    maxParts_ = MeshRefiner::partsWithin(triangles);
}

unsigned int MeshTextures::partsFor(const aiMesh& mesh) {
    const Entry& entry = entryFor(mesh.mMaterialIndex);
    if (!entry.image || entry.channel >= AI_MAX_NUMBER_OF_TEXTURECOORDS) return 1;
    return std::min(maxParts_, MeshRefiner::partsFor(mesh, entry.channel, entry.image->getWidth(),
                                                     entry.image->getHeight()));
}

const MeshTextures::Entry& MeshTextures::entryFor(unsigned int materialIndex) {
    static const Entry none;
    if (materialIndex >= entries_.size() || !scene_.mMaterials[materialIndex]) return none;
    Entry& entry = entries_[materialIndex];
    if (!entry.tried) {
        entry.tried = true;
        const std::string name = textureNameOf(*scene_.mMaterials[materialIndex], entry.channel);
        if (!name.empty()) entry.image = imageNamed(name);
    }
    return entry;
}

const TextureImage* MeshTextures::imageNamed(const std::string& name) {
    auto known = images_.find(name);
    if (known == images_.end()) known = images_.emplace(name, load(name)).first;
    return known->second.get();
}

std::unique_ptr<TextureImage> MeshTextures::load(const std::string& name) const {
    auto image = std::make_unique<TextureImage>();
    bool loaded = false;
    if (const aiTexture* embedded = scene_.GetEmbeddedTexture(name.c_str())) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(embedded->pcData);
        loaded = embedded->mHeight == 0
                     ? image->decode(bytes, embedded->mWidth, name)
                     : image->setTexels(bytes, static_cast<int>(embedded->mWidth),
                                        static_cast<int>(embedded->mHeight), name);
    } else {
        const std::string path =
            name.front() == '/' ? portablePath(name) : folder_ + portablePath(name);
        std::vector<unsigned char> bytes;
        if (readTexture(path, bytes)) loaded = image->decode(bytes.data(), bytes.size(), path);
    }
    if (loaded) return image;
    SoDebugError::postWarning("MeshTextures::load",
                              "The faces textured with \"%s\" keep their material's colour",
                              name.c_str());
    return nullptr;
}
