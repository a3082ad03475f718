#include "CountingFileSystem.h"

#include <assimp/IOStream.hpp>

Assimp::IOStream* CountingFileSystem::Open(const char* file, const char* mode) {
    Assimp::IOStream* stream = DefaultIOSystem::Open(file, mode);
    if (stream && file && opened_.insert(file).second) bytes_ += stream->FileSize();
    return stream;
}
