#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "format/U3DScene.h"

namespace u3d {

/// Writes a scene as a U3D file: the header, then the declarations (node chains, model
/// resource chains, lights, views, shaders, materials), then each mesh's base mesh.
class U3DFileWriter {
  public:
    /// The file's bytes. Arithmetic-coded by default; with `compress` false the file declares
    /// no compression and is plain little-endian. Throws std::invalid_argument for a scene
    /// U3DSceneValidator rejects or that does not fit the file's sizes.
    static std::vector<std::uint8_t> encode(const Scene& scene, bool compress = true);
    /// Encodes and writes the file at `path`. On failure returns false and sets `*error` (when
    /// not null) to a message naming the path; a partly written regular file is removed.
    static bool write(const Scene& scene, const std::string& path, bool compress,
                      std::string* error);
};

}  // namespace u3d
