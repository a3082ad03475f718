#pragma once

#include <memory>
#include <string>

class CountingFileSystem;
struct aiScene;
namespace Assimp {
class Importer;
}

/// Reads a mesh file with the importer so that no file brings the command down. What would
/// crash or hang a reader is refused before it reads (an empty file, see also GltfSafetyCheck
/// and PlySafetyCheck); the reader runs in a process of its own (see ChildProcessRun), which
/// a crash or a loop ends instead of the command, on a stack as deep as the file may nest
/// (see LargeStackRun), and is stopped where it loses its way (see ReaderReportLimit) or asks
/// for absurd memory (see ReaderMemoryLimit), and where it fails a check of the importer's
/// own, which would abort the program; the scene is mended where the importer's own steps
/// would trip over it.
class GuardedMeshRead {
  public:
    /// Throws a CommandError saying why, in a few words, when `path` is refused; a file of
    /// any format (OFF ones too, which the command reads itself) passes through here first.
    static void refuseUnsafe(const std::string& path);

    /// The scene `importer` read from `path` through `files`, its file system, its polygons
    /// made triangles where the scene is textured and `triangulateTextured` asks for it; a
    /// CommandError with the importer's reason when it could not read the file, or with how
    /// the reader's process ended when it crashed or ran too long.
    static std::unique_ptr<aiScene> read(Assimp::Importer& importer, CountingFileSystem& files,
                                         const std::string& path, bool triangulateTextured);
};
