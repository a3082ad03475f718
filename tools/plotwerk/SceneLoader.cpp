#include "SceneLoader.h"

#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>
#include <strings.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "CommandError.h"
#include "DebugMessages.h"
#include "demo/DemoScene.h"
#include "meshes/MeshImporter.h"

namespace {

constexpr char kSceneHeader[] = "#Tessara";

bool hasSceneExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    return strcasecmp(path.c_str() + dot, ".tsc") == 0;
}

bool startsWithSceneHeader(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char start[sizeof kSceneHeader - 1] = {};
    const size_t read = std::fread(start, 1, sizeof start, file);
    std::fclose(file);
    return read == sizeof start && std::memcmp(start, kSceneHeader, sizeof start) == 0;
}

// Reports a missing, unreadable or unsuitable input before any reader sees it, so that the
// message is the same whatever the format.
void checkReadable(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        throw CommandError("cannot open input '" + path + "': " + std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        throw CommandError("cannot open input '" + path + "': it is a directory");
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw CommandError("cannot open input '" + path + "': " + std::strerror(errno));
    std::fclose(file);
}

SoSeparator* readSceneText(SoInput& input, const std::string& label, DebugMessages& messages) {
    messages.hold();
    SoSeparator* scene = SoDB::readAll(&input);
    if (!scene) {
        std::string reason = messages.firstHeldError();
        messages.discard();
        if (reason.empty()) reason = "malformed scene file";
        throw CommandError("cannot read " + label + ": " + reason);
    }
    messages.release();
    return scene;
}

SoSeparator* readSceneFile(const std::string& path, DebugMessages& messages) {
    SoInput input;
    messages.hold();
    if (!input.openFile(path.c_str())) {
        std::string reason = messages.firstHeldError();
        messages.discard();
        throw CommandError("cannot open input '" + path + "': " + reason);
    }
    return readSceneText(input, "scene file '" + path + "'", messages);
}

SoSeparator* readDemoScene(DebugMessages& messages, const SbVec2f& drawing) {
    SoInput input;
    const std::string text = demoSceneText(drawing[0], drawing[1]);
    input.setBuffer(text.c_str(), text.size());
    return readSceneText(input, "the built-in demo scene", messages);
}

}  // namespace

bool SceneLoader::isSceneFile(const std::string& path) {
    return hasSceneExtension(path) || startsWithSceneHeader(path);
}

SoSeparator* SceneLoader::load(const std::string& path, DebugMessages& messages,
                               bool cutTexturedFaces, unsigned long long* inputBytes,
                               const SbVec2f& demoDrawing) {
    if (inputBytes) *inputBytes = 0;
    if (path.empty()) return readDemoScene(messages, demoDrawing);
    checkReadable(path);
    if (isSceneFile(path)) {
        std::error_code error;
        const std::uintmax_t bytes = std::filesystem::file_size(path, error);
        if (inputBytes && !error) *inputBytes = bytes;
        return readSceneFile(path, messages);
    }
    messages.hold();
    try {
        SoSeparator* scene = MeshImporter::import(path, cutTexturedFaces, inputBytes);
        messages.release();
        return scene;
    } catch (...) {
        messages.discard();
        throw;
    }
}
