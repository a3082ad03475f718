// Cutting textured triangles: random triangles, random numbers of parts. The pieces must
// tile the triangle exactly (same area, same turn) and carry attributes that vary linearly,
// as the texture coordinates of the whole triangle do.

#include <assimp/mesh.h>
#include <gtest/gtest.h>

#include <random>

#include "meshes/MeshRefiner.h"

namespace {

aiVector3D cross(const aiVector3D& a, const aiVector3D& b) {
    return aiVector3D(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

/// Twice the area of a face's triangle, as a vector along its normal.
aiVector3D areaOf(const aiMesh& mesh, const aiFace& face) {
    const aiVector3D* v = mesh.mVertices;
    return cross(v[face.mIndices[1]] - v[face.mIndices[0]],
                 v[face.mIndices[2]] - v[face.mIndices[0]]);
}

}  // namespace

TEST(MeshRefiner, PiecesTileTheTriangleWithLinearAttributes) {
    std::mt19937 random(20261207);
    std::uniform_real_distribution<float> coordinate(-5.0f, 5.0f);
    for (int round = 0; round < 40; ++round) {
        aiMesh mesh;
        mesh.mNumVertices = 3;
        mesh.mVertices = new aiVector3D[3];
        mesh.mTextureCoords[0] = new aiVector3D[3];
        for (int k = 0; k < 3; ++k) {
            mesh.mVertices[k] =
                aiVector3D(coordinate(random), coordinate(random), coordinate(random));
            // Texture coordinates that are the position's x and y: linear, so every cut vertex
            // must carry its own position's.
            mesh.mTextureCoords[0][k] = aiVector3D(mesh.mVertices[k].x, mesh.mVertices[k].y, 0);
        }
        mesh.mNumFaces = 1;
        mesh.mFaces = new aiFace[1];
        mesh.mFaces[0].mNumIndices = 3;
        mesh.mFaces[0].mIndices = new unsigned int[3]{0, 1, 2};
        const unsigned int parts = 2 + round % 6;
        SCOPED_TRACE("round " + std::to_string(round) + ", parts " + std::to_string(parts));

        const std::unique_ptr<aiMesh> cut = MeshRefiner::refined(mesh, parts);
        ASSERT_TRUE(cut);
        ASSERT_EQ(cut->mNumFaces, parts * parts);
        const aiVector3D whole = areaOf(mesh, mesh.mFaces[0]);
        aiVector3D sum(0, 0, 0);
        for (unsigned int f = 0; f < cut->mNumFaces; ++f) {
            const aiFace& face = cut->mFaces[f];
            ASSERT_EQ(face.mNumIndices, 3u);
            for (unsigned int k = 0; k < 3; ++k) ASSERT_LT(face.mIndices[k], cut->mNumVertices);
            const aiVector3D piece = areaOf(*cut, face);
            EXPECT_GT(piece * whole, 0.0f) << "face " << f << " turns the other way";
            sum += piece;
        }
        EXPECT_LT((sum - whole).Length(), 1e-3f * whole.Length());
        for (unsigned int i = 0; i < cut->mNumVertices; ++i) {
            EXPECT_NEAR(cut->mTextureCoords[0][i].x, cut->mVertices[i].x, 1e-4f);
            EXPECT_NEAR(cut->mTextureCoords[0][i].y, cut->mVertices[i].y, 1e-4f);
        }
    }
    aiMesh single;
    EXPECT_FALSE(MeshRefiner::refined(single, 1)) << "one part leaves the mesh as it is";
}
