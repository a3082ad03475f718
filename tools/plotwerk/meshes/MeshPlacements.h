#pragma once

#include <assimp/matrix4x4.h>

#include <utility>
#include <vector>

struct aiNode;

/// The nodes of a tree that place meshes, each with its matrix to the root's space, in the
/// order of a depth-first walk, children in order. Found without recursion: a file may nest
/// its nodes deeper than any stack.
class MeshPlacements {
  public:
    using Placement = std::pair<const aiNode*, aiMatrix4x4>;
    /// None when `root` is null.
    static std::vector<Placement> of(const aiNode* root);
};
