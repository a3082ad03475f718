// Every triangle is cut on the same grid, so two triangles that share an edge cut it at the
// same points (up to rounding) and the print shows no cracks; the original vertices stay
// first, so faces that are not cut keep their indices.

#include "meshes/MeshRefiner.h"

#include <assimp/mesh.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double texelsPerPart = 4.0;
constexpr double maxTriangles = 2e6;
// A few triangles with absurd texture coordinates must not become millions.
constexpr double maxPartsPerEdge = 64.0;

bool isUsableTriangle(const aiMesh& mesh, const aiFace& face) {
    return face.mNumIndices == 3 && face.mIndices[0] < mesh.mNumVertices &&
           face.mIndices[1] < mesh.mNumVertices && face.mIndices[2] < mesh.mNumVertices;
}

/// Grows the arrays of a mesh's vertices by interpolated copies: each new vertex is a
/// weighted sum of three old ones.
class VertexArrays {
  public:
    VertexArrays(const aiMesh& source, aiMesh& target, unsigned int total)
        : source_(source), target_(target) {
        copy(source.mVertices, target.mVertices, total);
        copy(source.mNormals, target.mNormals, total);
        for (unsigned int k = 0; k < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++k) {
            copy(source.mTextureCoords[k], target.mTextureCoords[k], total);
            target.mNumUVComponents[k] = source.mNumUVComponents[k];
        }
        for (unsigned int k = 0; k < AI_MAX_NUMBER_OF_COLOR_SETS; ++k)
            copy(source.mColors[k], target.mColors[k], total);
        next_ = source.mNumVertices;
    }

    /// Appends a vertex at barycentric weights (wa, wb, wc) of the corners a, b, c.
    unsigned int add(const unsigned int corner[3], const float weight[3]) {
        blend(source_.mVertices, target_.mVertices, corner, weight);
        if (blend(source_.mNormals, target_.mNormals, corner, weight))
            target_.mNormals[next_].NormalizeSafe();
        for (unsigned int k = 0; k < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++k)
            blend(source_.mTextureCoords[k], target_.mTextureCoords[k], corner, weight);
        for (unsigned int k = 0; k < AI_MAX_NUMBER_OF_COLOR_SETS; ++k)
            blend(source_.mColors[k], target_.mColors[k], corner, weight);
        return next_++;
    }

  private:
    template <class T>
    void copy(const T* from, T*& to, unsigned int total) {
        if (!from) return;
        to = new T[total];
        std::copy(from, from + source_.mNumVertices, to);
    }

    template <class T>
    bool blend(const T* from, T* to, const unsigned int corner[3], const float weight[3]) {
        if (!from) return false;
        to[next_] =
            from[corner[0]] * weight[0] + from[corner[1]] * weight[1] + from[corner[2]] * weight[2];
        return true;
    }

    const aiMesh& source_;
    aiMesh& target_;
    unsigned int next_ = 0;
};

void setTriangle(aiFace& face, unsigned int a, unsigned int b, unsigned int c) {
    face.mNumIndices = 3;
    face.mIndices = new unsigned int[3]{a, b, c};
}

/// Cuts one triangle on a grid of parts x parts: vertex (i, j) lies i parts from the first
/// corner towards the second and j parts towards the third.
void cutTriangle(const aiFace& face, unsigned int parts, VertexArrays& vertices, aiFace*& out) {
    std::vector<unsigned int> grid;
    grid.reserve((parts + 1) * (parts + 2) / 2);
    for (unsigned int j = 0; j <= parts; ++j)
        for (unsigned int i = 0; i + j <= parts; ++i) {
            const float weight[3] = {float(parts - i - j) / float(parts), float(i) / float(parts),
                                     float(j) / float(parts)};
            grid.push_back(vertices.add(face.mIndices, weight));
        }
    // Row j starts after the rows below it, of parts + 1, parts, ... points.
    auto at = [&](unsigned int i, unsigned int j) {
        return grid[j * (parts + 1) - j * (j - 1) / 2 + i];
    };
    for (unsigned int j = 0; j < parts; ++j)
        for (unsigned int i = 0; i + j < parts; ++i) {
            setTriangle(*out++, at(i, j), at(i + 1, j), at(i, j + 1));
            if (i + j + 1 < parts)
                setTriangle(*out++, at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
        }
}

void copyFace(const aiFace& from, aiFace& to) {
    to.mNumIndices = from.mNumIndices;
    to.mIndices = new unsigned int[from.mNumIndices];
    std::copy(from.mIndices, from.mIndices + from.mNumIndices, to.mIndices);
}

}  // namespace

double MeshRefiner::texelLength(const aiVector3D& a, const aiVector3D& b, int width, int height) {
    return std::hypot((a.x - b.x) * double(width), (a.y - b.y) * double(height));
}

unsigned int MeshRefiner::countTriangles(const aiMesh& mesh) {
    unsigned int triangles = 0;
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f)
        if (mesh.mFaces[f].mNumIndices == 3) ++triangles;
    return triangles;
}

unsigned int MeshRefiner::partsWithin(double triangles) {
    if (!(triangles > 0.0)) return 1;
    return static_cast<unsigned int>(
        std::max(1.0, std::floor(std::sqrt(maxTriangles / triangles))));
}

unsigned int MeshRefiner::partsFor(const aiMesh& mesh, unsigned int channel, int width,
                                   int height) {
    const unsigned int triangles = countTriangles(mesh);
    if (triangles == 0 || !mesh.HasTextureCoords(channel)) return 1;
    const aiVector3D* uv = mesh.mTextureCoords[channel];
    double sum = 0.0;
    unsigned int edges = 0;
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (!isUsableTriangle(mesh, face)) continue;
        for (unsigned int k = 0; k < 3; ++k) {
            const aiVector3D& a = uv[face.mIndices[k]];
            const aiVector3D& b = uv[face.mIndices[(k + 1) % 3]];
            const double length = texelLength(a, b, width, height);
            if (std::isfinite(length)) sum += length, ++edges;
        }
    }
    if (edges == 0) return 1;
    const double wanted = std::min(std::ceil(sum / edges / texelsPerPart), maxPartsPerEdge);
    return static_cast<unsigned int>(std::max(1.0, wanted));
}

std::unique_ptr<aiMesh> MeshRefiner::refined(const aiMesh& mesh, unsigned int parts) {
    if (parts <= 1) return nullptr;
    unsigned int cut = 0;
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f)
        if (isUsableTriangle(mesh, mesh.mFaces[f])) ++cut;
    auto result = std::make_unique<aiMesh>();
    result->mPrimitiveTypes = mesh.mPrimitiveTypes;
    result->mMaterialIndex = mesh.mMaterialIndex;
    result->mNumVertices = mesh.mNumVertices + cut * (parts + 1) * (parts + 2) / 2;
    result->mNumFaces = mesh.mNumFaces - cut + cut * parts * parts;
    VertexArrays vertices(mesh, *result, result->mNumVertices);
    result->mFaces = new aiFace[result->mNumFaces];
    aiFace* out = result->mFaces;
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (isUsableTriangle(mesh, face))
            cutTriangle(face, parts, vertices, out);
        else
            copyFace(face, *out++);
    }
    return result;
}
