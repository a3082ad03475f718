// Mesh files through the importer, and the camera and headlight the command adds to scenes
// that lack them.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PrintRun.h"
#include "TestMeshes.h"

namespace {

using namespace default_page;

bool dominates(int channel, int other1, int other2) {
    return channel > other1 + 80 && channel > other2 + 80;
}

TEST(MeshInput, ObjTakesTheDiffuseColourOfItsMaterialFile) {
    ScratchDir dir;
    dir.write("square.obj", test_meshes::kObjSquare);
    dir.write("square.mtl", test_meshes::kObjMaterial);
    const PrintRun run = PrintRun::of(dir, {"square.obj"});
    ASSERT_TRUE(run.succeeded());
    const GhostscriptResult::Rgb c = run.centreColour();
    EXPECT_TRUE(dominates(c.g, c.r, c.b)) << c.r << " " << c.g << " " << c.b;
}

TEST(MeshInput, AsciiStlWithoutColourPrintsLightGreyNotBlankPaper) {
    ScratchDir dir;
    dir.write("square.stl", test_meshes::kAsciiStl);
    const PrintRun run = PrintRun::of(dir, {"square.stl"});
    ASSERT_TRUE(run.succeeded());
    const GhostscriptResult::Rgb c = run.centreColour();
    EXPECT_FALSE(c.isWhite());
    EXPECT_FALSE(c.isColoured(10)) << c.r << " " << c.g << " " << c.b;
    EXPECT_GT(c.r, 150) << "lit by the headlight, not left dark";
    EXPECT_GT(run.probe().ink(kCentreX - 10, kCentreY - 10, kCentreX + 10, kCentreY + 10), 300);
}

TEST(MeshInput, PlyVertexColoursAreBoundPerVertex) {
    ScratchDir dir;
    dir.write("square.ply", test_meshes::kColouredPly);
    const PrintRun run = PrintRun::of(dir, {"square.ply"});
    ASSERT_TRUE(run.succeeded());
    const GhostscriptResult::Rgb c = run.centreColour();
    EXPECT_TRUE(dominates(c.b, c.r, c.g)) << c.r << " " << c.g << " " << c.b;
}

TEST(MeshInput, OffVertexColoursGivenInBytesComeOutAsThatColour) {
    ScratchDir dir;
    dir.write("square.off", test_meshes::kColouredOff);
    const PrintRun run = PrintRun::of(dir, {"square.off"});
    ASSERT_TRUE(run.succeeded());
    const GhostscriptResult::Rgb c = run.centreColour();
    EXPECT_TRUE(dominates(c.r, c.g, c.b)) << c.r << " " << c.g << " " << c.b;
    EXPECT_LT(c.g, 120) << "bytes taken as fractions would saturate to white-ish";
}

TEST(MeshInput, PlainOffPrintsInItsDefaultGrey) {
    ScratchDir dir;
    dir.write("square.off", test_meshes::kPlainOff);
    const PrintRun run = PrintRun::of(dir, {"square.off"});
    ASSERT_TRUE(run.succeeded());
    const GhostscriptResult::Rgb c = run.centreColour();
    EXPECT_FALSE(c.isWhite());
    EXPECT_FALSE(c.isColoured(10));
}

// Two nodes place one mesh at x = -3 and x = +3; the material has a base colour only.
const char* const kTwoPlacedSquares =
    "{\"asset\": {\"version\": \"2.0\"},\n"
    " \"buffers\": [{\"byteLength\": 60, \"uri\": \"data:application/octet-stream;base64,"
    "AACAvwAAgL8AAAAAAACAPwAAgL8AAAAAAACAPwAAgD8AAAAAAACAvwAAgD8AAAAAAAABAAIAAAACAAMA\"}],\n"
    " \"bufferViews\": [{\"buffer\": 0, \"byteOffset\": 0, \"byteLength\": 48},\n"
    "                 {\"buffer\": 0, \"byteOffset\": 48, \"byteLength\": 12}],\n"
    " \"accessors\": [\n"
    "   {\"bufferView\": 0, \"componentType\": 5126, \"count\": 4, \"type\": \"VEC3\",\n"
    "    \"min\": [-1, -1, 0], \"max\": [1, 1, 0]},\n"
    "   {\"bufferView\": 1, \"componentType\": 5123, \"count\": 6, \"type\": \"SCALAR\"}],\n"
    " \"materials\": [{\"pbrMetallicRoughness\": {\"baseColorFactor\": [0.9, 0.5, 0.1, 1]}}],\n"
    " \"meshes\": [{\"primitives\": [{\"attributes\": {\"POSITION\": 0}, \"indices\": 1,"
    " \"material\": 0}]}],\n"
    " \"nodes\": [{\"mesh\": 0, \"translation\": [-3, 0, 0]},"
    " {\"mesh\": 0, \"translation\": [3, 0, 0]}],\n"
    " \"scenes\": [{\"nodes\": [0, 1]}],\n"
    " \"scene\": 0}\n";

TEST(MeshInput, GltfNodeTransformsPlaceEachInstanceOfAMesh) {
    ScratchDir dir;
    dir.write("two.gltf", kTwoPlacedSquares);
    const PrintRun run = PrintRun::of(dir, {"two.gltf"});
    ASSERT_TRUE(run.succeeded());
    const PageProbe page = run.probe();
    EXPECT_GT(page.coloured(kLeft + 5, kCentreY - 5, kCentreX - 15, kCentreY + 5), 30);
    EXPECT_GT(page.coloured(kCentreX + 15, kCentreY - 5, kRight - 5, kCentreY + 5), 30);
    EXPECT_EQ(page.ink(kCentreX - 5, kCentreY - 5, kCentreX + 5, kCentreY + 5), 0)
        << "the gap between the two instances";
    const GhostscriptResult::Rgb c =
        page.meanInk(kLeft + 5, kCentreY - 5, kCentreX - 15, kCentreY + 5);
    EXPECT_TRUE(c.r > c.g + 40 && c.g > c.b + 40) << c.r << " " << c.g << " " << c.b;
}

TEST(InputKind, TheHeaderMakesAnyFileASceneFile) {
    ScratchDir dir;
    dir.write("scene.txt",
              "#Tessara V1.0 ascii\nSeparator { BaseColor { rgb 0.9 0.1 0.1 }"
              " LightModel { model BASE_COLOR } Cube { } }\n");
    const PrintRun run = PrintRun::of(dir, {"scene.txt"});
    ASSERT_TRUE(run.succeeded());
    const GhostscriptResult::Rgb c = run.centreColour();
    EXPECT_TRUE(dominates(c.r, c.g, c.b));
}

TEST(InputKind, TheTscExtensionMakesAFileASceneFileWhateverItHolds) {
    ScratchDir dir;
    dir.write("square.tsc", test_meshes::kPlainOff);
    const CommandResult run = CommandRunner::run({"square.tsc", "-o", "page.ps"}, dir.path());
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("square.tsc"), std::string::npos) << run.err;
}

TEST(ViewSetup, AddedCameraFramesAMeshFarFromTheOrigin) {
    ScratchDir dir;
    dir.write("far.obj",
              "v 1000 500 -300\nv 1002 500 -300\nv 1002 502 -300\nv 1000 502 -300\n"
              "f 1 2 3 4\n");
    const PrintRun run = PrintRun::of(dir, {"far.obj"});
    ASSERT_TRUE(run.succeeded());
    const PageProbe page = run.probe();
    // The square fills the width of the drawing around its centre.
    EXPECT_GT(page.ink(kLeft + 20, kCentreY - 20, kRight - 20, kCentreY + 20), 2000);
}

TEST(ViewSetup, AddedCameraFillsTheDrawingUpToAMarginInEveryLayout) {
    ScratchDir dir;
    // A box twice as wide as high whose near face, in perspective, looks larger than its far.
    dir.write("box.obj",
              "v -2 -1 -0.5\nv 2 -1 -0.5\nv 2 1 -0.5\nv -2 1 -0.5\nv -2 -1 0.5\nv 2 -1 0.5\n"
              "v 2 1 0.5\nv -2 1 0.5\nf 5 6 7 8\nf 1 4 3 2\nf 1 2 6 5\nf 3 4 8 7\nf 2 3 7 6\n");
    for (std::vector<std::string> arguments :
         {std::vector<std::string>{}, {"--landscape"}, {"--projection", "orthographic"}}) {
        const std::string layout = arguments.empty() ? "portrait" : arguments[0];
        arguments.insert(arguments.end(), {"--border", "0", "box.obj"});
        const PrintRun run = PrintRun::of(dir, arguments);
        ASSERT_TRUE(run.succeeded()) << layout;
        // The inked extent, in pixels; portrait or landscape, the drawing covers one area.
        const GhostscriptResult::Image& page = run.page.image;
        int x0 = page.width, y0 = page.height, x1 = 0, y1 = 0;
        for (int y = 0; y < page.height; ++y)
            for (int x = 0; x < page.width; ++x)
                if (!page.pixel(x, y).isWhite())
                    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y),
                    y1 = std::max(y1, y);
        const double mm = 25.4 / page.dpi;
        EXPECT_NEAR(
            std::max((x1 - x0 + 1) * mm / (kRight - kLeft), (y1 - y0 + 1) * mm / (kTop - kBottom)),
            0.9, 0.02)
            << layout;
        EXPECT_NEAR((x0 + x1 + 1) * mm / 2, kCentreX, 2.0) << layout;
    }
}

// A camera on +x looking down -x at a red square facing it (counter-clockwise seen from
// the camera, so its generated normal points there); no light.
const char* const kCameraWithoutLight =
    "#Tessara V1.0 ascii\n"
    "Separator {\n"
    "  PerspectiveCamera { position 6 0 0  orientation 0 1 0 1.5708 }\n"
    "  %LIGHT%\n"
    "  Material { diffuseColor 0.9 0.1 0.1 }\n"
    "  Coordinate3 { point [ 0 -1 -1, 0 1 -1, 0 1 1, 0 -1 1 ] }\n"
    "  FaceSet { numVertices 4 }\n"
    "}\n";

std::string withLight(const std::string& light) {
    std::string scene = kCameraWithoutLight;
    scene.replace(scene.find("%LIGHT%"), 7, light);
    return scene;
}

TEST(ViewSetup, HeadlightShinesAlongTheViewOfTheScenesOwnCamera) {
    ScratchDir dir;
    dir.write("unlit.tsc", withLight(""));
    const PrintRun run = PrintRun::of(dir, {"unlit.tsc"});
    ASSERT_TRUE(run.succeeded());
    const GhostscriptResult::Rgb c = run.centreColour();
    // Ambient light alone would leave it nearly black; a light along -z would graze it.
    EXPECT_GT(c.r, 180) << c.r << " " << c.g << " " << c.b;
    EXPECT_LT(c.g, 80);
}

TEST(ViewSetup, AScenesOwnLightIsKeptAndNoHeadlightAdded) {
    ScratchDir dir;
    // Shining along +x: onto the back of the square, away from the camera.
    dir.write("backlit.tsc", withLight("DirectionalLight { direction 1 0 0 }"));
    const PrintRun run = PrintRun::of(dir, {"backlit.tsc"});
    ASSERT_TRUE(run.succeeded());
    const GhostscriptResult::Rgb c = run.centreColour();
    EXPECT_LT(c.r, 100) << "a headlight would have lit the front";
}

TEST(ViewSetup, AScenesOwnCameraIsUsedAsItIs) {
    ScratchDir dir;
    // The camera looks at x = 0 while the square sits to the left of the view.
    dir.write("offset.tsc",
              "#Tessara V1.0 ascii\nSeparator {\n"
              "  OrthographicCamera { position 0 0 5  height 20 }\n"
              "  LightModel { model BASE_COLOR }  BaseColor { rgb 0.1 0.1 0.8 }\n"
              "  Coordinate3 { point [ -8 -1 0, -6 -1 0, -6 1 0, -8 1 0 ] }\n"
              "  FaceSet { numVertices 4 }\n}\n");
    const PrintRun run = PrintRun::of(dir, {"offset.tsc"});
    ASSERT_TRUE(run.succeeded());
    const PageProbe page = run.probe();
    EXPECT_GT(page.coloured(kLeft, kCentreY - 10, kLeft + 40, kCentreY + 10), 50);
    EXPECT_EQ(page.ink(kCentreX - 20, kCentreY - 20, kCentreX + 20, kCentreY + 20), 0)
        << "a camera fitted anew would have centred the square";
}

}  // namespace
