#pragma once

#include <memory>
#include <string>

class CountingFileSystem;
struct aiScene;

/// A scene the importer read, with the files the reading opened and missed, packed as bytes
/// to cross from the process that read it to the one that prints it; or the refusal of the
/// file. It holds what the command prints from: each mesh's positions, normals, colour sets,
/// texture coordinates, faces, kinds of primitive and material; every material property; the
/// embedded textures; and the nodes that place meshes, in one level, each with its matrix to
/// the root's space. The importer's own binary dump would do, but it copies the scene first
/// and takes time with the square of the nesting depth and, for big meshes, of their size.
class SceneParcel {
  public:
    /// `scene` packed with what `files` counted.
    static std::string pack(const aiScene& scene, const CountingFileSystem& files);
    /// The refusal of the file, in the words of the error that refused it.
    static std::string refusal(const std::string& message);
    /// The scene in `parcel`; `files` takes the counts of the files the reading opened and
    /// missed. Throws a CommandError for a refusal, and for a parcel that is not whole, naming
    /// `path`.
    static std::unique_ptr<aiScene> unpack(const std::string& parcel, CountingFileSystem& files,
                                           const std::string& path);
};
