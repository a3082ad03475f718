// The command's mesh import on arbitrary bytes: the importer reads a file, so the input is
// written to one. Its first byte picks the file's extension, which decides the reader the
// importer tries first; an extension it does not know makes it guess from the contents.

#include <Tessara/base/SoDB.h>
#include <Tessara/nodes/SoSeparator.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "CommandError.h"
#include "FuzzTarget.h"
#include "meshes/MeshImporter.h"

namespace {

// Saved inputs start with the index of their extension here: new extensions go at the end.
const char* const kExtensions[] = {
    ".obj",  ".stl",     ".ply",  ".off", ".3ds",    ".dae", ".gltf",    ".glb", ".x",   ".ac",
    ".nff",  ".smd",     ".mesh", ".ase", ".dxf",    ".bvh", ".x3d",     ".3mf", ".md2", ".md3",
    ".ms3d", ".lwo",     ".b3d",  ".cob", ".q3o",    ".fbx", ".blend",   ".ifc", ".stp", ".amf",
    ".ogex", ".irrmesh", ".xgl",  ".lws", ".assbin", ".mdl", ".md5mesh", ".iqm", ".pmx", ".hmp",
    ".mdc",  ".3d",      ".raw",  ".csm", ".ter",    ".ndo", ".sib",     ".zgl", ".irr"};

std::string writeInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t choice = size ? data[0] % std::size(kExtensions) : 0;
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("plotwerk-fuzz-" + std::to_string(getpid()) + kExtensions[choice]))
                                 .string();
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        if (size > 1) std::fwrite(data + 1, 1, size - 1, file);
        std::fclose(file);
    }
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (SoDB::init(), silenceDebugMessages(), true);
    (void)ready;
    const std::string path = writeInput(data, size);
    try {
        SoSeparator* scene = MeshImporter::import(path);
        scene->ref();
        scene->unref();
    } catch (const CommandError&) {
        // A file the importer refuses is the expected answer to most inputs.
    }
    std::remove(path.c_str());
    return 0;
}
