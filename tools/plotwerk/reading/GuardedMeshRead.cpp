#include "reading/GuardedMeshRead.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

#include "CommandError.h"
#include "meshes/MeshIndices.h"
#include "meshes/MeshTextures.h"
#include "reading/ChildProcessRun.h"
#include "reading/CountingFileSystem.h"
#include "reading/GltfSafetyCheck.h"
#include "reading/LargeStackRun.h"
#include "reading/PlySafetyCheck.h"
#include "reading/ReaderMemoryLimit.h"
#include "reading/ReaderReportLimit.h"
#include "reading/SceneParcel.h"

namespace {

// Each reader says something else of an empty file, and one (glTF's) reads memory it never
// filled.
bool isEmpty(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) &&
           std::filesystem::file_size(path, error) == 0;
}

bool indicesAreSound(const aiScene& scene) {
    for (unsigned int m = 0; m < scene.mNumMeshes; ++m)
        if (!scene.mMeshes[m] || !indicesAreSound(*scene.mMeshes[m])) return false;
    return true;
}

unsigned int primitiveTypeOf(unsigned int corners) {
    switch (corners) {
        case 0:
        case 1:
            return aiPrimitiveType_POINT;
        case 2:
            return aiPrimitiveType_LINE;
        case 3:
            return aiPrimitiveType_TRIANGLE;
        default:
            return aiPrimitiveType_POLYGON;
    }
}

// Flags each mesh by its faces, so that the importer's triangulation passes over a mesh
// without a face of more than three corners. It aborts the program on such a mesh flagged
// otherwise (the NFF reader flags a face of no corner, which it makes of some malformed files,
// as a polygon), or not flagged at all but holding a face of no corner: that counts as a point.
void flagPrimitivesByFaces(const aiScene& scene) {
    for (unsigned int m = 0; m < scene.mNumMeshes; ++m) {
        aiMesh& mesh = *scene.mMeshes[m];
        mesh.mPrimitiveTypes = 0;
        for (unsigned int f = 0; f < mesh.mNumFaces; ++f)
            mesh.mPrimitiveTypes |= primitiveTypeOf(mesh.mFaces[f].mNumIndices);
    }
}

// The readers take up to about 3 KB of stack for each level a file nests (COLLADA's, at
// depth), and a level takes at least a dozen bytes of the file. Files beyond 16 MB get the
// most, which still holds a million levels.
std::size_t readerStack(const std::string& path) {
    constexpr std::uintmax_t kLeast = 64u << 20, kMost = 4ull << 30;
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    return static_cast<std::size_t>(error ? kLeast : std::clamp(256 * bytes, kLeast, kMost));
}

std::string oneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// The importer reads STEP files of the building models' schema only. A CAD part saved as
// STEP holds exact surfaces in another schema, and the importer's answer names no more than
// the schema, which leaves a user guessing what to do.
std::string explained(const std::string& failure) {
    static const std::string kOtherSchema = "IFC: Unrecognized file schema: ";
    if (failure.rfind(kOtherSchema, 0) != 0) return failure;
    return "it is a STEP file of schema " + failure.substr(kOtherSchema.size()) +
           ": a CAD model of exact surfaces, not a mesh; save it from the CAD program as STL, "
           "OBJ or glTF";
}

// No post-processing but the one: the core triangulates and generates normals itself, and
// big meshes should not pay for steps whose result the printer does not need. Textured faces
// are cut into smaller triangles, so their polygons must become triangles first.
const aiScene& readHere(Assimp::Importer& importer, const CountingFileSystem& files,
                        const std::string& path, bool triangulateTextured) {
    const ReaderReportLimit reportLimit(path);
    const ReaderMemoryLimit memoryLimit(files);
    const aiScene* scene = nullptr;
    // The reader's own failures end in its error text; its steps after let them through.
    std::string failure;
    try {
        scene = importer.ReadFile(path, 0);
        if (scene && triangulateTextured && MeshTextures::anyIn(*scene) &&
            indicesAreSound(*scene)) {
            flagPrimitivesByFaces(*scene);
            scene = importer.ApplyPostProcessing(aiProcess_Triangulate);
        }
    } catch (const std::exception& error) {
        failure = error.what();
        scene = nullptr;
    }
    if (!scene || !scene->mRootNode) {
        if (failure.empty()) failure = oneLine(importer.GetErrorString());
        if (failure.empty()) failure = "its reader gave up without a reason";
        throw CommandError("cannot import '" + path + "': " + explained(failure));
    }
    return *scene;
}

std::string readAndPack(Assimp::Importer& importer, const CountingFileSystem& files,
                        const std::string& path, bool triangulateTextured) {
    try {
        return SceneParcel::pack(readHere(importer, files, path, triangulateTextured), files);
    } catch (const CommandError& error) {
        return SceneParcel::refusal(error.what());
    } catch (const std::exception& error) {
        return SceneParcel::refusal("cannot import '" + path + "': " + error.what());
    }
}

// A reader that loses its way in a file may loop for ever (the OpenGEX reader on a file of
// 2 KB), and one that reads a file it names (a pipe, say) may wait for ever. Reading takes
// well under a second for each megabyte; the limit leaves room for slow disks and machines,
// and for instrumented builds.
unsigned long readerSeconds(const std::string& path) {
    constexpr unsigned long kLeast = 5, kPerMegabyte = 10;
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    return kLeast + (error ? 0 : static_cast<unsigned long>(bytes >> 20) * kPerMegabyte);
}

}  // namespace

// The importer's own checks abort the program where they fail, and some readers fail them on
// malformed files (the 3MF reader on a package whose model part is missing or damaged). Its
// library calls this through its symbol table, so the program's definition is the one taken:
// the failed check becomes an exception, which ends the reading with the file's error.
namespace Assimp {
void aiAssertViolation(const char* failedExpression, const char*, int) {
    throw std::runtime_error(std::string("the importer failed a check of its own (") +
                             failedExpression + ")");
}
}  // namespace Assimp

void GuardedMeshRead::refuseUnsafe(const std::string& path) {
    std::string refused = isEmpty(path) ? "the file is empty" : GltfSafetyCheck::problemIn(path);
    if (refused.empty()) refused = PlySafetyCheck::problemIn(path);
    if (!refused.empty()) throw CommandError("cannot import '" + path + "': " + refused);
}

// Readers of rarely used formats crash on malformed files, reading or writing past their
// arrays. A reader runs in a process of its own, so that such a file costs the file, not the
// command; the scene comes back packed (see SceneParcel), its nodes in one level.
std::unique_ptr<aiScene> GuardedMeshRead::read(Assimp::Importer& importer,
                                               CountingFileSystem& files, const std::string& path,
                                               bool triangulateTextured) {
    std::string ending;
    const std::optional<std::string> parcel = ChildProcessRun::run(
        [&] {
            std::string packed;
            LargeStackRun::run(
                [&] { packed = readAndPack(importer, files, path, triangulateTextured); },
                readerStack(path));
            return packed;
        },
        readerSeconds(path), ending);
    if (!parcel) throw CommandError("cannot import '" + path + "': its reader " + ending);
    return SceneParcel::unpack(*parcel, files, path);
}
