#pragma once

#include <string>

class SoSeparator;

/// Turns a mesh file of any format the importer reads into a scene graph: one separator per
/// placed mesh, holding the node's transform, the diffuse colour (of the material, or one per
/// vertex from the material's colour texture or the file's vertex colours), the coordinates,
/// the normals when the file has them, and an indexed face set (plus line and point sets for
/// such primitives).
class MeshImporter {
  public:
    /// The scene, reference count 0. A file the importer cannot read, or one without any
    /// mesh, is a CommandError with the importer's reason. Textured triangles are cut so that
    /// their vertices show the texture (see MeshRefiner) unless `cutTexturedFaces` is false,
    /// as for a line drawing, where the cuts would be drawn.
    /// `bytesRead`, when given, receives the size of every file the import read.
    static SoSeparator* import(const std::string& path, bool cutTexturedFaces = true,
                               unsigned long long* bytesRead = nullptr);
};
