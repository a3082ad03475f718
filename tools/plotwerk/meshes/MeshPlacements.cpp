#include "meshes/MeshPlacements.h"

#include <assimp/scene.h>

std::vector<MeshPlacements::Placement> MeshPlacements::of(const aiNode* root) {
    std::vector<Placement> placements;
    std::vector<Placement> pending;
    if (root) pending.emplace_back(root, aiMatrix4x4());
    while (!pending.empty()) {
        const auto [node, parent] = pending.back();
        pending.pop_back();
        const aiMatrix4x4 global = parent * node->mTransformation;
        if (node->mNumMeshes && node->mMeshes) placements.emplace_back(node, global);
        for (unsigned int i = node->mNumChildren; i-- > 0;)
            if (node->mChildren && node->mChildren[i])
                pending.emplace_back(node->mChildren[i], global);
    }
    return placements;
}
