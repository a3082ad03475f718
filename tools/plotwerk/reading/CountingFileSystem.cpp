#include "reading/CountingFileSystem.h"

#include <assimp/IOStream.hpp>
#include <filesystem>

Assimp::IOStream* CountingFileSystem::Open(const char* file, const char* mode) {
    if (!file) return nullptr;
    const std::string name = placed(file);
    Assimp::IOStream* stream = DefaultIOSystem::Open(name.c_str(), mode);
    if (stream && opened_.insert(name).second) bytes_ += stream->FileSize();
    return stream;
}

bool CountingFileSystem::Exists(const char* file) const {
    if (!file) return false;
    const bool there = DefaultIOSystem::Exists(placed(file).c_str());
    // The importer tries each name in several folders: the name is what the model gave.
    if (!there) missing_.insert(std::filesystem::path(file).filename().string());
    return there;
}

std::string CountingFileSystem::placed(const char* file) const {
    if (pipedModel_.empty() || file == pipedModel_) return file;
    const std::filesystem::path path = std::filesystem::path(file).lexically_normal();
    if (path.parent_path() != std::filesystem::path(pipedModel_).parent_path()) return file;
    return path.filename().string();
}

void CountingFileSystem::adoptCounts(unsigned long long bytes,
                                     const std::set<std::string>& missing) {
    bytes_ = bytes;
    missing_ = missing;
}
