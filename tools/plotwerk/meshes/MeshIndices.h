#pragma once

#include <assimp/mesh.h>

/// Whether every face's corners name vertices of the mesh. The importer's own steps trust
/// the indices its readers hand over; ours do not.
inline bool indicesAreSound(const aiMesh& mesh) {
    if (mesh.mNumFaces && !mesh.mFaces) return false;
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f)
        for (unsigned int k = 0; k < mesh.mFaces[f].mNumIndices; ++k)
            if (mesh.mFaces[f].mIndices[k] >= mesh.mNumVertices) return false;
    return true;
}
