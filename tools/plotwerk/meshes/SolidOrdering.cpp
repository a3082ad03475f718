#include "meshes/SolidOrdering.h"

#include <assimp/mesh.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <utility>
#include <vector>

#include "meshes/MeshIndices.h"

namespace {

using Corner = std::array<float, 3>;

// The parts' corners taken as one list, each part's numbered after those of the parts
// before it, so that a solid of several meshes is weighed without copying them.
class JoinedParts {
  public:
    explicit JoinedParts(const std::vector<SolidPart>& parts) : parts_(parts) {
        for (const SolidPart& part : parts) {
            offsets_.push_back(corners_);
            corners_ += part.mesh->mNumVertices;
        }
    }

    std::uint64_t corners() const { return corners_; }

    // visit(mesh, v, number): every corner, with its number in the joined list.
    template <typename Visit>
    void forEachCorner(Visit visit) const {
        for (std::size_t p = 0; p < parts_.size(); ++p)
            for (unsigned v = 0; v < parts_[p].mesh->mNumVertices; ++v)
                visit(*parts_[p].mesh, v, std::uint32_t(offsets_[p] + v));
    }

    // visit(part, face, offset): every face, and the number of its part's first corner.
    template <typename Visit>
    void forEachFace(Visit visit) const {
        for (std::size_t p = 0; p < parts_.size(); ++p)
            for (unsigned f = 0; f < parts_[p].mesh->mNumFaces; ++f)
                visit(parts_[p], parts_[p].mesh->mFaces[f], std::uint32_t(offsets_[p]));
    }

  private:
    const std::vector<SolidPart>& parts_;
    std::vector<std::uint64_t> offsets_;
    std::uint64_t corners_ = 0;
};

// A NaN would leave the corners without an order to sort them by.
bool finite(const JoinedParts& joined) {
    bool all = true;
    joined.forEachCorner([&all](const aiMesh& mesh, unsigned v, std::uint32_t) {
        const aiVector3D& p = mesh.mVertices[v];
        all = all && std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
    });
    return all;
}

// Files that store each face on its own (STL) repeat a corner for every face it touches: its
// number here is the same for every copy of one position.
std::vector<std::uint32_t> cornerNumbers(const JoinedParts& joined) {
    std::vector<std::pair<Corner, std::uint32_t>> sorted;
    sorted.reserve(joined.corners());
    joined.forEachCorner([&sorted](const aiMesh& mesh, unsigned v, std::uint32_t number) {
        const aiVector3D& p = mesh.mVertices[v];
        sorted.push_back({Corner{p.x, p.y, p.z}, number});
    });
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::uint32_t> number(sorted.size());
    std::uint32_t next = 0;
    for (std::size_t k = 0; k < sorted.size(); ++k) {
        if (k > 0 && sorted[k].first != sorted[k - 1].first) ++next;
        number[sorted[k].second] = next;
    }
    return number;
}

// visit(a, b): every edge of the faces, by its corners' numbers, in the faces' turn.
template <typename Visit>
void forEachEdge(const JoinedParts& joined, const std::vector<std::uint32_t>& number, Visit visit) {
    joined.forEachFace([&](const SolidPart&, const aiFace& face, std::uint32_t offset) {
        if (face.mNumIndices < 3) return;
        for (unsigned k = 0; k < face.mNumIndices; ++k) {
            const std::uint32_t a = number[offset + face.mIndices[k]];
            const std::uint32_t b = number[offset + face.mIndices[(k + 1) % face.mNumIndices]];
            if (a != b) visit(a, b);
        }
    });
}

// Whether each edge runs as often one way as the other. The edges are filed under their
// lower corner, each with its upper corner and the way it runs, so that only the few edges
// of one corner are ever sorted: a sort of all of them took a tenth of the time to print a
// mesh of ten million triangles.
bool edgesPair(const JoinedParts& joined, const std::vector<std::uint32_t>& number) {
    std::vector<std::size_t> end(joined.corners() + 1, 0);
    forEachEdge(joined, number,
                [&end](std::uint32_t a, std::uint32_t b) { ++end[std::min(a, b) + 1]; });
    std::partial_sum(end.begin(), end.end(), end.begin());
    if (end.back() == 0) return false;
    // Filing moves each corner's mark from the start of its edges to their end.
    std::vector<std::uint64_t> filed(end.back());
    forEachEdge(joined, number, [&](std::uint32_t a, std::uint32_t b) {
        filed[end[std::min(a, b)]++] = std::uint64_t(std::max(a, b)) << 1 | (a > b);
    });
    for (std::size_t corner = 0, begin = 0; corner + 1 < end.size(); begin = end[corner++]) {
        std::sort(filed.begin() + begin, filed.begin() + end[corner]);
        for (std::size_t k = begin, run = begin; k < end[corner]; k = run) {
            std::size_t backwards = 0;
            for (; run < end[corner] && filed[run] >> 1 == filed[k] >> 1; ++run)
                backwards += filed[run] & 1;
            if (2 * backwards != run - k) return false;
        }
    }
    return true;
}

// The part each corner belongs to, named by one of its corners: faces that share a corner
// are one part.
std::vector<std::uint32_t> partsOf(const JoinedParts& joined,
                                   const std::vector<std::uint32_t>& number) {
    std::vector<std::uint32_t> part(number.size());
    std::iota(part.begin(), part.end(), 0u);
    auto root = [&part](std::uint32_t c) {
        while (part[c] != c) c = part[c] = part[part[c]];
        return c;
    };
    joined.forEachFace([&](const SolidPart&, const aiFace& face, std::uint32_t offset) {
        for (unsigned k = 1; k < face.mNumIndices; ++k)
            part[root(number[offset + face.mIndices[k]])] = root(number[offset + face.mIndices[0]]);
    });
    for (std::uint32_t& p : part) p = root(p);
    return part;
}

// Six times the volume of the tetrahedron of the origin and a face's corners a, b, c.
double turnOf(const aiVector3D& origin, const aiVector3D& a, const aiVector3D& b,
              const aiVector3D& c) {
    double p[3][3];
    const aiVector3D* corners[3] = {&a, &b, &c};
    for (int k = 0; k < 3; ++k) {
        p[k][0] = double(corners[k]->x) - origin.x, p[k][1] = double(corners[k]->y) - origin.y;
        p[k][2] = double(corners[k]->z) - origin.z;
    }
    return p[0][0] * (p[1][1] * p[2][2] - p[1][2] * p[2][1]) -
           p[0][1] * (p[1][0] * p[2][2] - p[1][2] * p[2][0]) +
           p[0][2] * (p[1][0] * p[2][1] - p[1][1] * p[2][0]);
}

// Six times the volume each part encloses, by the turn of its faces' corners: positive when
// they turn counterclockwise seen from outside. In double, about the first corner, so that a
// model far from the origin keeps its digits. All parts must turn the same way: a part turned
// inside out would show its inside where the others show their outside. 0 when they do not.
double turnedVolume(const JoinedParts& joined, const std::vector<std::uint32_t>& number) {
    const std::vector<std::uint32_t> part = partsOf(joined, number);
    std::vector<double> volume(number.size(), 0.0);
    aiVector3D origin;
    bool first = true;
    joined.forEachCorner([&](const aiMesh& mesh, unsigned v, std::uint32_t) {
        if (first) origin = mesh.mVertices[v], first = false;
    });
    joined.forEachFace([&](const SolidPart& solid, const aiFace& face, std::uint32_t offset) {
        const aiVector3D* at = solid.mesh->mVertices;
        const unsigned* corner = face.mIndices;
        for (unsigned k = 1; k + 1 < face.mNumIndices; ++k)
            volume[part[number[offset + corner[0]]]] +=
                turnOf(origin, at[corner[0]], at[corner[k]], at[corner[k + 1]]);
    });
    double turn = 0.0;
    bool agree = true;
    joined.forEachFace([&](const SolidPart&, const aiFace& face, std::uint32_t offset) {
        if (face.mNumIndices < 3 || !agree) return;
        const double own = volume[part[number[offset + face.mIndices[0]]]];
        agree = own != 0.0 && (turn == 0.0 || (own > 0.0) == (turn > 0.0));
        turn = own;
    });
    return agree ? turn : 0.0;
}

// The files' own normals, where they are kept, must point out by the same turn: the print
// lights one side only of a solid's faces, and would leave dark those whose normals point in.
bool normalsAgree(const JoinedParts& joined, double turn) {
    bool agree = true;
    joined.forEachFace([&](const SolidPart& solid, const aiFace& face, std::uint32_t) {
        if (!solid.ownNormals || face.mNumIndices < 3 || !agree) return;
        const aiMesh& mesh = *solid.mesh;
        const aiVector3D a = mesh.mVertices[face.mIndices[0]];
        const aiVector3D facing =
            (mesh.mVertices[face.mIndices[1]] - a) ^ (mesh.mVertices[face.mIndices[2]] - a);
        aiVector3D normal(0, 0, 0);
        for (unsigned k = 0; k < face.mNumIndices; ++k) normal += mesh.mNormals[face.mIndices[k]];
        agree = turn * (facing * normal) >= 0.0;
    });
    return agree;
}

}  // namespace

SoShapeHintsElement::VertexOrdering solidOrderingOf(const aiMesh& mesh, bool ownNormals) {
    return solidOrderingOf(std::vector<SolidPart>{SolidPart{&mesh, ownNormals}});
}

SoShapeHintsElement::VertexOrdering solidOrderingOf(const std::vector<SolidPart>& parts) {
    const JoinedParts joined(parts);
    bool faces = false;
    for (const SolidPart& part : parts) {
        if (!indicesAreSound(*part.mesh) || (part.ownNormals && !part.mesh->mNormals))
            return SoShapeHintsElement::UNKNOWN_ORDERING;
        faces = faces || part.mesh->mNumFaces;
    }
    if (!faces || joined.corners() == 0 ||
        joined.corners() > std::numeric_limits<std::uint32_t>::max() || !finite(joined))
        return SoShapeHintsElement::UNKNOWN_ORDERING;
    const std::vector<std::uint32_t> number = cornerNumbers(joined);
    if (!edgesPair(joined, number)) return SoShapeHintsElement::UNKNOWN_ORDERING;
    const double volume = turnedVolume(joined, number);
    if (!(volume != 0.0) || !normalsAgree(joined, volume))
        return SoShapeHintsElement::UNKNOWN_ORDERING;
    return volume > 0.0 ? SoShapeHintsElement::COUNTERCLOCKWISE : SoShapeHintsElement::CLOCKWISE;
}
