#include "CountingFileSystem.h"

#include <assimp/IOStream.hpp>
#include <filesystem>

Assimp::IOStream* CountingFileSystem::Open(const char* file, const char* mode) {
    Assimp::IOStream* stream = DefaultIOSystem::Open(file, mode);
    if (stream && file && opened_.insert(file).second) bytes_ += stream->FileSize();
    return stream;
}

bool CountingFileSystem::Exists(const char* file) const {
    const bool there = DefaultIOSystem::Exists(file);
    // The importer tries each name in several folders: the name is what the model gave.
    if (!there && file) missing_.insert(std::filesystem::path(file).filename().string());
    return there;
}
