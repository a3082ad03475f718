#pragma once

#include <cstdint>
#include <vector>

#include "format/U3DScene.h"

namespace u3d {

/// The data of a mesh's two blocks: the CLOD mesh declaration, first in the mesh's model
/// resource chain, and the base mesh continuation holding its geometry. The mesh is written
/// as a base mesh only, without progressive updates. It must have passed U3DSceneValidator.
class U3DMeshEncoder {
  public:
    static constexpr std::uint32_t kDeclarationType = 0xFFFFFF31;
    static constexpr std::uint32_t kBaseMeshType = 0xFFFFFF3B;

    static std::vector<std::uint8_t> declaration(const Mesh& mesh, bool compress);
    /// Raw positions, normals and colours, then per face its shading ID and corner indices,
    /// arithmetic-coded unless `compress` is false.
    static std::vector<std::uint8_t> baseMesh(const Mesh& mesh, bool compress);
};

}  // namespace u3d
