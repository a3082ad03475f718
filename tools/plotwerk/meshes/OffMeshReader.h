#pragma once

#include <memory>
#include <string>

#include "meshes/FaceColors.h"

struct aiScene;

/// Reads an OFF file into a scene of one mesh, and the colours its faces give: text with three
/// coordinates a vertex, each vertex followed by a normal, a colour or texture coordinates as
/// the letters before "OFF" say ("N", "C", "ST"), each face by its colour if it has one. Ours,
/// not the importer's: that one leaves out faces of more than nine corners, and reads and
/// writes past its arrays where a face line is malformed.
class OffMeshReader {
  public:
    /// Whether the file is one for this reader: named ".off", or starting with a word like an
    /// OFF keyword ("OFF", "COFF", "NOFF", "STCOFF", ...).
    static bool isOff(const std::string& path);
    /// The scene; a CommandError that says what is wrong, and where, with a file it cannot
    /// read. `faceColors` receives the faces' colours as the file gives them, in fractions or
    /// in bytes, like the vertex colours; `leftOut` what was left out (faces it cannot read,
    /// or does not hold), empty when nothing was.
    static std::unique_ptr<aiScene> read(const std::string& path, FaceColors& faceColors,
                                         std::string& leftOut);
};
