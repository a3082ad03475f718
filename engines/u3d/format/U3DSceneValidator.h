#pragma once

#include "format/U3DScene.h"

namespace u3d {

/// Checks a scene before it is written, so that a file is either complete and consistent or
/// not written at all: indices in range, every referenced name present, every number finite.
class U3DSceneValidator {
  public:
    /// Throws std::invalid_argument describing the first fault, naming its node, mesh or
    /// resource: a face index or shading ID out of range, a parent, mesh, light, view,
    /// shader or material name that does not exist, a visibility above 3, a value that is
    /// not finite.
    static void check(const Scene& scene);

  private:
    static void checkNodes(const Scene& scene);
    static void checkMesh(const Mesh& mesh);
    static void checkResources(const Scene& scene);
};

}  // namespace u3d
