#pragma once

#include <Tessara/math/SbVec2f.h>

#include <string>

class DebugMessages;
class SoSeparator;

/// Reads the command's input: a scene file (".tsc", or any file that starts with
/// "#Tessara"), any other file through the mesh importer, or, for an empty name, the
/// built-in demo scene.
class SceneLoader {
  public:
    /// The scene, reference count 0. A missing, unreadable or malformed input is a
    /// CommandError; what the reader posts meanwhile is held in `messages` and either
    /// becomes the error's reason or is shown once the read succeeded. `cutTexturedFaces`
    /// as for MeshImporter::import. `inputBytes`, when given, receives how many bytes the
    /// scene was read from: a mesh's other files (buffers, textures) count too. The demo
    /// scene fits a drawing of `demoDrawing` millimetres, as seen (0 x 0: the A4 one).
    static SoSeparator* load(const std::string& path, DebugMessages& messages,
                             bool cutTexturedFaces = true, unsigned long long* inputBytes = nullptr,
                             const SbVec2f& demoDrawing = SbVec2f(0.0f, 0.0f));
    /// True when `path` names a scene file rather than a mesh file.
    static bool isSceneFile(const std::string& path);
};
