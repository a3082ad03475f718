// What a scene is read from: the files beside a mesh that hold its data count as input too,
// so that the limit of primitives a drawing takes grows with them; and what is refused before
// the importer reads it.

#include <Tessara/base/SoDB.h>
#include <Tessara/nodes/SoSeparator.h>

#include <cstdint>
#include <cstring>

#include "CommandError.h"
#include "CommandRun.h"
#include "DebugMessages.h"
#include "NodeRef.h"
#include "SceneLoader.h"

namespace {

/// One triangle whose corners lie in a buffer file of their own.
const char* const kTriangleGltf =
    R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],)"
    R"("meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],)"
    R"("buffers":[{"uri":"corners.bin","byteLength":36}],)"
    R"("bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":36}],)"
    R"("accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3",)"
    R"("min":[0,0,0],"max":[1,1,0]}]})";

std::string cornersBuffer() {
    const float corners[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    std::string bytes(sizeof corners, '\0');
    std::memcpy(bytes.data(), corners, sizeof corners);
    return bytes;
}

}  // namespace

TEST(SceneLoader, TheInputIsEveryFileTheSceneWasReadFrom) {
    SoDB::init();
    ScratchDir dir;
    dir.write("corners.bin", cornersBuffer());
    dir.write("triangle.gltf", kTriangleGltf);
    dir.write("cube.tsc", "#Tessara V1.0 ascii\nSeparator { Cube { } }\n");
    const struct {
        const char* input;
        std::vector<const char*> read;
    } cases[] = {{"triangle.gltf", {"triangle.gltf", "corners.bin"}}, {"cube.tsc", {"cube.tsc"}}};
    for (const auto& c : cases) {
        DebugMessages messages(stderr);
        unsigned long long bytes = 0;
        NodeRef<SoSeparator> scene(SceneLoader::load(dir.file(c.input), messages, true, &bytes));
        ASSERT_NE(scene.get(), nullptr) << c.input;
        unsigned long long expected = 0;
        for (const char* name : c.read) expected += dir.read(name).size();
        EXPECT_EQ(bytes, expected) << c.input;
    }
}

// The importer crashes on an embedded image whose media type has no "/": such files are
// refused, by the type they name, wherever it stands; other images do not stop a mesh.
TEST(SceneLoader, AnImageTypeWithoutSubtypeRefusesTheMeshNothingElseDoes) {
    SoDB::init();
    ScratchDir dir;
    dir.write("corners.bin", cornersBuffer());
    const struct {
        const char* images;
        bool binary;              // in a binary glTF's header and JSON chunk
        const char* refusedType;  // null: the mesh loads
    } cases[] = {{R"([{"uri":"data:image/png;base64,AAAA"}])", false, nullptr},
                 {R"([{"uri":"data:;base64,AAAA"}])", false, nullptr},
                 {R"([{"uri":"data:jpeg;base64,AAAA"}])", false, "jpeg"},
                 {R"([{"bufferView":0,"mimeType":"tiff"}])", true, "tiff"},
                 {R"([{"bufferView":0,"mimeType":"image/png","mimeType":"gif"}])", false, "gif"},
                 {R"({"i":{"extensions":{"KHR_binary_glTF":{"mimeType":"bmp"}}}})", false, "bmp"}};
    for (const auto& c : cases) {
        std::string bytes =
            std::string(kTriangleGltf)
                .insert(std::strlen(kTriangleGltf) - 1, R"(,"images":)" + std::string(c.images));
        std::string header = "glTF";
        for (std::uint32_t word :
             {2u, std::uint32_t(20 + bytes.size()), std::uint32_t(bytes.size()), 0x4E4F534Au})
            header.append(reinterpret_cast<const char*>(&word), 4);
        const char* name = c.binary ? "mesh.glb" : "mesh.gltf";
        dir.write(name, c.binary ? header + bytes : bytes);
        DebugMessages messages(stderr);
        std::string refusal;
        try {
            NodeRef<SoSeparator> scene(SceneLoader::load(dir.file(name), messages, true));
        } catch (const CommandError& error) {
            refusal = error.what();
        }
        const std::string quoted = std::string("\"") + (c.refusedType ? c.refusedType : "");
        EXPECT_TRUE(c.refusedType ? refusal.find(quoted + '"') != std::string::npos
                                  : refusal.empty())
            << c.images << ": " << refusal;
    }
}
