#pragma once

#include <assimp/DefaultIOSystem.h>

#include <set>
#include <string>

/// The importer's files, as usual, with a count of the bytes of every file it opened: a mesh
/// format may keep its data beside the file named (a glTF's buffers, a model's textures),
/// and what a drawing may take from an input is measured by all of it.
class CountingFileSystem : public Assimp::DefaultIOSystem {
  public:
    Assimp::IOStream* Open(const char* file, const char* mode = "rb") override;

    /// Bytes of the distinct files opened so far.
    unsigned long long getBytes() const { return bytes_; }

  private:
    std::set<std::string> opened_;
    unsigned long long bytes_ = 0;
};
