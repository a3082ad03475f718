#include "SolidOrdering.h"

#include <assimp/mesh.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

#include "MeshIndices.h"

namespace {

using Corner = std::array<float, 3>;

// A NaN would leave the corners without an order to sort them by.
bool finite(const aiMesh& mesh) {
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        const aiVector3D& p = mesh.mVertices[v];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
    }
    return true;
}

// Files that store each face on its own (STL) repeat a corner for every face it touches: its
// number here is the same for every copy of one position.
std::vector<std::uint32_t> cornerNumbers(const aiMesh& mesh) {
    std::vector<std::pair<Corner, std::uint32_t>> sorted(mesh.mNumVertices);
    for (std::uint32_t v = 0; v < mesh.mNumVertices; ++v) {
        const aiVector3D& p = mesh.mVertices[v];
        sorted[v] = {Corner{p.x, p.y, p.z}, v};
    }
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::uint32_t> number(mesh.mNumVertices);
    std::uint32_t next = 0;
    for (std::size_t k = 0; k < sorted.size(); ++k) {
        if (k > 0 && sorted[k].first != sorted[k - 1].first) ++next;
        number[sorted[k].second] = next;
    }
    return number;
}

// Each edge a -> b goes into one list keyed by its lower corner first, the list by the way
// it runs: a closed surface whose faces agree has the same edges in both lists.
bool edgesPair(const aiMesh& mesh, const std::vector<std::uint32_t>& number) {
    std::vector<std::uint64_t> ways[2];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices < 3) continue;
        for (unsigned k = 0; k < face.mNumIndices; ++k) {
            const std::uint64_t a = number[face.mIndices[k]];
            const std::uint64_t b = number[face.mIndices[(k + 1) % face.mNumIndices]];
            if (a != b) ways[a < b ? 0 : 1].push_back(std::min(a, b) << 32 | std::max(a, b));
        }
    }
    if (ways[0].empty() || ways[0].size() != ways[1].size()) return false;
    for (std::vector<std::uint64_t>& way : ways) std::sort(way.begin(), way.end());
    return ways[0] == ways[1];
}

// The part each corner belongs to, named by one of its corners: faces that share a corner
// are one part.
std::vector<std::uint32_t> partsOf(const aiMesh& mesh, const std::vector<std::uint32_t>& number) {
    std::vector<std::uint32_t> part(mesh.mNumVertices);
    std::iota(part.begin(), part.end(), 0u);
    auto root = [&part](std::uint32_t c) {
        while (part[c] != c) c = part[c] = part[part[c]];
        return c;
    };
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        for (unsigned k = 1; k < face.mNumIndices; ++k)
            part[root(number[face.mIndices[k]])] = root(number[face.mIndices[0]]);
    }
    for (std::uint32_t& p : part) p = root(p);
    return part;
}

// Six times the volume each part encloses, by the turn of its faces' corners: positive when
// they turn counterclockwise seen from outside. In double, about the first corner, so that a
// model far from the origin keeps its digits. All parts must turn the same way: a part turned
// inside out would show its inside where the others show their outside. 0 when they do not.
double turnedVolume(const aiMesh& mesh, const std::vector<std::uint32_t>& number) {
    const std::vector<std::uint32_t> part = partsOf(mesh, number);
    std::vector<double> volume(mesh.mNumVertices, 0.0);
    const aiVector3D origin = mesh.mVertices[0];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        for (unsigned k = 1; k + 1 < face.mNumIndices; ++k) {
            double p[3][3];
            const unsigned corners[3] = {face.mIndices[0], face.mIndices[k], face.mIndices[k + 1]};
            for (int c = 0; c < 3; ++c) {
                const aiVector3D v = mesh.mVertices[corners[c]];
                p[c][0] = double(v.x) - origin.x, p[c][1] = double(v.y) - origin.y;
                p[c][2] = double(v.z) - origin.z;
            }
            volume[part[number[corners[0]]]] += p[0][0] * (p[1][1] * p[2][2] - p[1][2] * p[2][1]) -
                                                p[0][1] * (p[1][0] * p[2][2] - p[1][2] * p[2][0]) +
                                                p[0][2] * (p[1][0] * p[2][1] - p[1][1] * p[2][0]);
        }
    }
    double turn = 0.0;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        if (mesh.mFaces[f].mNumIndices < 3) continue;
        const double own = volume[part[number[mesh.mFaces[f].mIndices[0]]]];
        if (!(own != 0.0) || (turn != 0.0 && (own > 0.0) != (turn > 0.0))) return 0.0;
        turn = own;
    }
    return turn;
}

// The file's own normals, where it has them, must point out by the same turn: the print
// lights one side only of a solid's faces, and would leave dark those whose normals point in.
bool normalsAgree(const aiMesh& mesh, double turn) {
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices < 3) continue;
        const aiVector3D a = mesh.mVertices[face.mIndices[0]];
        const aiVector3D facing =
            (mesh.mVertices[face.mIndices[1]] - a) ^ (mesh.mVertices[face.mIndices[2]] - a);
        aiVector3D normal(0, 0, 0);
        for (unsigned k = 0; k < face.mNumIndices; ++k) normal += mesh.mNormals[face.mIndices[k]];
        if (turn * (facing * normal) < 0.0) return false;
    }
    return true;
}

}  // namespace

SoShapeHintsElement::VertexOrdering solidOrderingOf(const aiMesh& mesh, bool ownNormals) {
    if (mesh.mNumVertices == 0 || mesh.mNumFaces == 0 || !indicesAreSound(mesh) || !finite(mesh))
        return SoShapeHintsElement::UNKNOWN_ORDERING;
    const std::vector<std::uint32_t> number = cornerNumbers(mesh);
    if (!edgesPair(mesh, number)) return SoShapeHintsElement::UNKNOWN_ORDERING;
    const double volume = turnedVolume(mesh, number);
    if (!(volume != 0.0) || (ownNormals && !normalsAgree(mesh, volume)))
        return SoShapeHintsElement::UNKNOWN_ORDERING;
    return volume > 0.0 ? SoShapeHintsElement::COUNTERCLOCKWISE : SoShapeHintsElement::CLOCKWISE;
}

// The parts' faces and corners copied into one mesh, the corners of each part numbered after
// those of the parts before it; without normals of its own, a part's corners get none (zero
// normals, which agree with any turn).
SoShapeHintsElement::VertexOrdering solidOrderingOf(const std::vector<SolidPart>& parts) {
    aiMesh joined;
    bool ownNormals = false;
    for (const SolidPart& part : parts) {
        if (!indicesAreSound(*part.mesh)) return SoShapeHintsElement::UNKNOWN_ORDERING;
        joined.mNumVertices += part.mesh->mNumVertices;
        joined.mNumFaces += part.mesh->mNumFaces;
        ownNormals = ownNormals || part.ownNormals;
    }
    joined.mVertices = new aiVector3D[joined.mNumVertices];
    if (ownNormals) joined.mNormals = new aiVector3D[joined.mNumVertices]();
    joined.mFaces = new aiFace[joined.mNumFaces];
    unsigned vertices = 0, faces = 0;
    for (const SolidPart& part : parts) {
        const aiMesh& mesh = *part.mesh;
        std::copy(mesh.mVertices, mesh.mVertices + mesh.mNumVertices, joined.mVertices + vertices);
        if (part.ownNormals)
            std::copy(mesh.mNormals, mesh.mNormals + mesh.mNumVertices, joined.mNormals + vertices);
        for (unsigned f = 0; f < mesh.mNumFaces; ++f, ++faces) {
            aiFace& face = joined.mFaces[faces];
            face.mNumIndices = mesh.mFaces[f].mNumIndices;
            face.mIndices = new unsigned[face.mNumIndices];
            for (unsigned k = 0; k < face.mNumIndices; ++k)
                face.mIndices[k] = mesh.mFaces[f].mIndices[k] + vertices;
        }
        vertices += mesh.mNumVertices;
    }
    return solidOrderingOf(joined, ownNormals);
}
