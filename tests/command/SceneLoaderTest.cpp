// What a scene is read from: the files beside a mesh that hold its data count as input too,
// so that the limit of primitives a drawing takes grows with them; and what is refused before
// the importer reads it.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/actions/SoSearchAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbViewVolume.h>
#include <Tessara/math/SbViewportRegion.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShape.h>

#include <algorithm>
#include <assimp/DefaultLogger.hpp>
#include <assimp/IOStream.hpp>
#include <cstdint>
#include <cstring>
#include <new>

#include "CommandError.h"
#include "CommandRun.h"
#include "DebugMessages.h"
#include "NodeRef.h"
#include "SceneLoader.h"
#include "reading/CountingFileSystem.h"
#include "reading/GltfSafetyCheck.h"
#include "reading/ReaderMemoryLimit.h"
#include "reading/ReaderReportLimit.h"

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
    dir.write("triangle.off", "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n");
    const struct {
        const char* input;
        std::vector<const char*> read;
    } cases[] = {{"triangle.gltf", {"triangle.gltf", "corners.bin"}},
                 {"cube.tsc", {"cube.tsc"}},
                 {"triangle.off", {"triangle.off"}}};
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

// What would crash the importer is refused, by what it is: an embedded image whose media type
// has no "/", wherever it stands, JSON nested too deep, or a binary header giving the JSON a
// gigabyte (the importer would take it). Other images do not stop a mesh.
TEST(SceneLoader, WhatWouldCrashTheImporterRefusesTheMeshNothingElseDoes) {
    SoDB::init();
    ScratchDir dir;
    dir.write("corners.bin", cornersBuffer());
    const auto nested = [](int depth) {
        return R"("extras":)" + std::string(depth, '[') + std::string(depth, ']');
    };
    const std::string tooDeep = std::to_string(GltfSafetyCheck::kMaxDepth);
    const struct {
        std::string member;                  // added to the document
        bool binary;                         // in a binary glTF's header and JSON chunk
        std::string refusal;                 // what the refusal names; empty: the mesh loads
        std::uint32_t jsonBytesClaimed = 0;  // more than the JSON's, refused, naming the sum
    } cases[] = {{R"("images":[{"uri":"data:image/png;base64,AAAA"}])", false, ""},
                 {R"("extras":1)", true, "", 1u << 30},
                 {R"("images":[{"uri":"data:;base64,AAAA"}])", false, ""},
                 {R"("images":[{"uri":"data:jpeg;base64,AAAA"}])", false, "\"jpeg\""},
                 {R"("images":[{"bufferView":0,"mimeType":"tiff"}])", true, "\"tiff\""},
                 {R"("images":[{"mimeType":"image/png","mimeType":"gif"}])", false, "\"gif\""},
                 {R"("images":{"i":{"extensions":{"K":{"mimeType":"bmp"}}}})", false, "\"bmp\""},
                 {nested(GltfSafetyCheck::kMaxDepth - 1), false, ""},
                 {nested(GltfSafetyCheck::kMaxDepth), true, tooDeep}};
    for (const auto& c : cases) {
        std::string bytes =
            std::string(kTriangleGltf).insert(std::strlen(kTriangleGltf) - 1, "," + c.member);
        std::string header = "glTF";
        for (std::uint32_t word : {2u, std::uint32_t(20 + bytes.size()),
                                   std::uint32_t(bytes.size()) + c.jsonBytesClaimed, 0x4E4F534Au})
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
        const std::string named =
            c.jsonBytesClaimed ? std::to_string(bytes.size() + c.jsonBytesClaimed) : c.refusal;
        EXPECT_TRUE(named.empty() ? refusal.empty() : refusal.find(named) != std::string::npos)
            << c.member.substr(0, 80) << ": " << refusal;
    }
}

// Mesh files on which the importer's readers would hang, crash or run out of memory (on an
// element declared twice, its PLY reader writes past its arrays; an element named with digits
// first makes it room for billions of records; on an empty file, its glTF reader reads memory
// it never filled) are refused, saying where they go wrong, or read by the
// command itself; a sound file of each loads.
TEST(SceneLoader, MeshFilesTheImporterWouldMisreadAreRefusedOrReadWell) {
    SoDB::init();
    ScratchDir dir;
    const std::string ply =
        "format ascii 1.0\nelement vertex 3\nproperty float x\n"
        "property float y\nproperty float z\n";
    const struct {
        std::string name, text;
        const char* refusal;  // what the refusal names; empty: the mesh loads
    } cases[] = {
        {"a.ply", "ply\n" + ply + "end_header\n0 0 0\n1 0 0\n0 1 0\n", ""},
        {"b.ply", "ply\n" + ply + "end_headers\n0 0 0\n1 0 0\n0 1 0\n", "end_header"},
        {"c.txt", "PLY\n" + ply, "end_header"},
        {"d.ply", "ply\n" + ply + "end_header\n0 0 0\n1 0 \xe5\n0 1 0\n", "\"vertex\""},
        {"e.ply", "ply\n" + ply + "end_header\n0 0 0\n1 0 0\n", "\"vertex\""},
        {"e2.ply", "ply\n" + ply + "element vertex 1\nend_header\n0 0 0\n1 0 0\n0 1 0\n0\n",
         "\"vertex\""},
        {"e3.ply",
         "ply\n" + ply +
             "element 777777777777777 1\nproperty uchar k\nend_header\n0 0 0\n"
             "1 0 0\n0 1 0\n5\n",
         "\"777777777777777\""},
        {"empty.gltf", "", "empty.gltf"},
        {"empty.stl", "solid x\nendsolid x\n", "empty.stl"},
        {"f.off",
         "STCNOFF\n3 1 0\n0 0 0 0 0 1 1 0 0 1 0 0\n1 0 0 0 0 1 1 0 0 1 1 0\n"
         "0 1 0 0 0 1 1 0 0 1 0 1\n12 0 1 2 0 1 2 0 1 2 0 1 2\n",
         ""},
        {"g.off", "OFF3\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n", "OFF3"},
        {"h.off", "OFF\n# counts next\n", "line 2"},
        {"i.off", "OFF\n900 1 0\n0 0 0\n", "900"},
        {"part.stp",
         "ISO-10303-21;\nHEADER;\nFILE_SCHEMA(('AUTOMOTIVE_DESIGN'));\nENDSEC;\nDATA;\nENDSEC;\n"
         "END-ISO-10303-21;\n",
         "STL"},
    };
    for (const auto& c : cases) {
        dir.write(c.name, c.text);
        DebugMessages messages(stderr);
        std::string refusal;
        try {
            NodeRef<SoSeparator> scene(SceneLoader::load(dir.file(c.name), messages, true));
        } catch (const CommandError& error) {
            refusal = error.what();
        }
        EXPECT_TRUE(*c.refusal ? refusal.find(c.refusal) != std::string::npos : refusal.empty())
            << c.name << ": " << refusal;
    }
}

// A reader's allocation is refused only while the limit lives and only far beyond the files
// opened so far, alone or with what the reader holds, saying how much was asked for; a big
// file opened makes room for more.
TEST(SceneLoader, TheReadersMemoryLimitRefusesOnlyAbsurdAllocations) {
    ScratchDir dir;
    dir.write("small", std::string(100, 'x'));
    dir.write("big", "");
    std::filesystem::resize_file(dir.file("big"), std::uintmax_t(64) << 20);  // sparse
    const std::size_t huge = std::size_t(1) << 40, large = std::size_t(3) << 30;
    CountingFileSystem files;
    const auto open = [&](const char* name) { files.Close(files.Open(dir.file(name).c_str())); };
    open("small");
    EXPECT_TRUE(ReaderMemoryLimit::allows(huge));
    {
        const ReaderMemoryLimit limit(files);
        EXPECT_TRUE(ReaderMemoryLimit::allows(std::size_t(1) << 20));
        EXPECT_FALSE(ReaderMemoryLimit::allows(large));
        try {
            ::operator delete(::operator new(huge));
            ADD_FAILURE() << "allowed";
        } catch (const std::bad_alloc& refusal) {
            EXPECT_NE(std::string(refusal.what()).find(std::to_string(huge)), std::string::npos);
        }
        const std::size_t part = std::size_t(600) << 20;  // two make too much
        void* held = ::operator new(part);
        EXPECT_FALSE(ReaderMemoryLimit::allows(part));
        ::operator delete(held);
        EXPECT_TRUE(ReaderMemoryLimit::allows(part));
        open("big");
        EXPECT_TRUE(ReaderMemoryLimit::allows(large));
        EXPECT_FALSE(ReaderMemoryLimit::allows(huge));
    }
    EXPECT_TRUE(ReaderMemoryLimit::allows(huge));
}

// A reader that reports more problems than the file has bytes, and then thousands more, is
// stopped once: the importer logs the error it caught, which must pass. Afterwards the
// importer's messages go nowhere again.
TEST(SceneLoader, TheReadersReportLimitStopsAReaderOnce) {
    ScratchDir dir;
    dir.write("mesh", std::string(100, 'x'));
    // Whether the report stopped the reader.
    const auto stopped = [](const char* problem) {
        try {
            Assimp::DefaultLogger::get()->warn(problem);
            return false;
        } catch (const std::exception&) {
            return true;
        }
    };
    long reports = 0;
    {
        const ReaderReportLimit limit(dir.file("mesh"));
        while (reports < 1000000 && !stopped("the same problem")) ++reports;
        EXPECT_FALSE(stopped("the reader was stopped"));
    }
    EXPECT_TRUE(Assimp::DefaultLogger::isNullLogger());
    EXPECT_GT(reports, 1000);
    EXPECT_LT(reports, 1000000);
}

// Readers recurse once per level of nesting: a file nested deeper than the main thread's stack
// could hold still imports, its mesh in place.
TEST(SceneLoader, AMeshNestedFiftyThousandLevelsDeepImports) {
    SoDB::init();
    ScratchDir dir;
    std::string frames = "xof 0303txt 0032\n";
    for (int i = 0; i < 50000; ++i) frames += "Frame f {\n";
    frames += "Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n" + std::string(50000, '}');
    dir.write("deep.x", frames);
    DebugMessages messages(stderr);
    NodeRef<SoSeparator> scene(SceneLoader::load(dir.file("deep.x"), messages, true));
    EXPECT_EQ(scene->getNumChildren(), 1);
}

// The demo's page, 190 x 277 mm about the origin, shows whole on a drawing of any shape, as
// large as it fits (scale: drawing millimetres a page millimetre), its 2D text sized with it.
TEST(SceneLoader, TheDemoPageFitsEveryDrawing) {
    SoDB::init();
    DebugMessages messages(stderr);
    float a4Text = 0.0f;
    int a4Marker = 0;
    for (const SbVec2f size : {SbVec2f(190, 277), SbVec2f(100, 100), SbVec2f(400, 100)}) {
        NodeRef<SoSeparator> scene(SceneLoader::load("", messages, true, nullptr, size));
        // What the first shape, the title, sees: the camera has fitted its volume to the
        // viewport.
        std::pair<SbViewVolume, float> seen;
        SoCallbackAction action{SbViewportRegion(short(size[0]), short(size[1]))};
        action.addPreCallback(
            SoShape::getClassTypeId(),
            [](void* seen, SoCallbackAction* a, const SoNode*) {
                *static_cast<std::pair<SbViewVolume, float>*>(seen) = {a->getViewVolume(),
                                                                       a->getFontSize()};
                return SoCallbackAction::ABORT;
            },
            &seen);
        action.apply(scene.get());
        const float scale = std::min(size[0] / 190.0f, size[1] / 277.0f);
        if (a4Text == 0.0f) a4Text = seen.second;
        SbVec3f corner;
        seen.first.projectToScreen(SbVec3f(95.0f, 138.5f, 0.0f), corner);
        EXPECT_NEAR(std::max(corner[0], corner[1]), 1.0f, 1e-4f) << size[0] << " x " << size[1];
        EXPECT_LE(std::min(corner[0], corner[1]), 1.0f + 1e-4f) << size[0] << " x " << size[1];
        EXPECT_NEAR(seen.first.getWidth() * scale, size[0], 1e-3f);
        EXPECT_NEAR(seen.second, a4Text * scale, 1e-3f) << size[0] << " x " << size[1];
        // Markers come in three sizes: the largest on A4, the smallest at a third of it.
        SoSearchAction search;
        search.setType(SoMarkerSet::getClassTypeId());
        search.apply(scene.get());
        const int marker = static_cast<SoMarkerSet*>(search.getPath()->getTail())->markerIndex[0];
        if (a4Marker == 0) a4Marker = marker;
        EXPECT_EQ(marker, a4Marker - (scale < 0.5f ? 2 : 0)) << size[0] << " x " << size[1];
    }
}
