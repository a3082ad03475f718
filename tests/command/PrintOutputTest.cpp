// What the command writes and where: the demo scene and the example scenes as PostScript that
// Ghostscript renders, standard output, and the format chosen by -f or by the extension.

#include <Tessara/rendering/SoPNGImage.h>
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PrintRun.h"

namespace {

using namespace default_page;

std::vector<std::string> exampleScenes() {
    std::vector<std::string> scenes;
    if (DIR* dir = opendir(TESSARA_EXAMPLES_DIR)) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tsc") == 0)
                scenes.push_back(std::string(TESSARA_EXAMPLES_DIR) + "/" + name);
        }
        closedir(dir);
    }
    std::sort(scenes.begin(), scenes.end());
    // The mesh the README points newcomers to.
    scenes.push_back(std::string(TESSARA_EXAMPLES_DIR) + "/../meshes/torus_knot.obj");
    return scenes;
}

bool isPostScript(const std::string& document) {
    return document.rfind("%!PS-Adobe-", 0) == 0;
}

TEST(DemoScene, RendersWithColouredInkInEveryPartOfThePage) {
    const PrintRun& run = PrintRun::demo();
    ASSERT_TRUE(run.succeeded());
    EXPECT_TRUE(isPostScript(run.document));
    const PageProbe page = run.probe();
    // Solids across the top, the surface in the middle, the chart at the bottom.
    EXPECT_GT(page.coloured(kLeft, 195, kRight, 245), 500);
    EXPECT_GT(page.coloured(kLeft, 110, kRight, 175), 500);
    EXPECT_GT(page.coloured(kLeft, 25, kRight, 85), 100);
    // The title is dark text near the top.
    EXPECT_GT(page.ink(60, 255, 150, 280), 100);
}

TEST(DemoScene, StaysInsideTheDrawingArea) {
    const PrintRun& run = PrintRun::demo();
    ASSERT_TRUE(run.succeeded());
    const PageProbe page = run.probe();
    EXPECT_EQ(page.ink(0, 0, kLeft - 2, page.heightMm()), 0);
    EXPECT_EQ(page.ink(kRight + 2, 0, page.widthMm(), page.heightMm()), 0);
    EXPECT_EQ(page.ink(0, 0, page.widthMm(), kBottom - 2), 0);
    EXPECT_EQ(page.ink(0, kTop + 2, page.widthMm(), page.heightMm()), 0);
}

TEST(ExampleScenes, EachPrintsAndRendersWithInkInsideTheFrame) {
    const std::vector<std::string> scenes = exampleScenes();
    ASSERT_GE(scenes.size(), 6u) << "examples not found in " << TESSARA_EXAMPLES_DIR;
    for (const std::string& scene : scenes) {
        SCOPED_TRACE(scene);
        ScratchDir dir;
        const PrintRun run = PrintRun::of(dir, {scene});
        ASSERT_TRUE(run.succeeded());
        // More than the frame: something of the scene itself is drawn.
        EXPECT_GT(run.probe().ink(kLeft + 3, kBottom + 3, kRight - 3, kTop - 3), 50);
    }
}

TEST(StandardOutput, IsTheDefaultAndCarriesTheSameDocumentAsAFile) {
    ScratchDir dir;
    const CommandResult toStdout = CommandRunner::run({}, dir.path());
    ASSERT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_TRUE(toStdout.err.empty()) << toStdout.err;
    EXPECT_TRUE(isPostScript(toStdout.out));
    EXPECT_TRUE(dir.entries().empty()) << "nothing but the output may be written";
    const CommandResult toFile = CommandRunner::run({"-o", "page.ps"}, dir.path());
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_TRUE(toFile.out.empty());
    EXPECT_EQ(dir.read("page.ps"), toStdout.out);
}

TEST(StandardOutput, DashMeansStandardOutput) {
    ScratchDir dir;
    const CommandResult dash = CommandRunner::run({"-o", "-"}, dir.path());
    const CommandResult none = CommandRunner::run({}, dir.path());
    ASSERT_EQ(dash.status, 0) << dash.err;
    EXPECT_EQ(dash.out, none.out);
    EXPECT_TRUE(dir.entries().empty());
}

TEST(OutputFormat, ExtensionsPsAndEpsAndNoExtensionWritePostScript) {
    ScratchDir dir;
    for (const char* name : {"page.ps", "page.eps", "PAGE.PS", "page"}) {
        SCOPED_TRACE(name);
        const CommandResult run = CommandRunner::run({"-o", name}, dir.path());
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(isPostScript(dir.read(name)));
    }
}

TEST(OutputFormat, DashFOverridesTheExtension) {
    ScratchDir dir;
    const CommandResult run = CommandRunner::run({"-f", "ps", "-o", "page.txt"}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(isPostScript(dir.read("page.txt")));
    const CommandResult attached = CommandRunner::run({"--format=ps", "-opage.dat"}, dir.path());
    ASSERT_EQ(attached.status, 0) << attached.err;
    EXPECT_EQ(dir.read("page.dat"), dir.read("page.txt"));
}

TEST(ScreenPicture, PngIsWhatTheScreenShowsAtTheDrawingSize) {
    ScratchDir dir;
    dir.write("square.tsc",
              "#Tessara V1.0 ascii\nSeparator {\n"
              "  OrthographicCamera { position 0 0 5  height 4 }\n"
              "  LightModel { model BASE_COLOR }\n  BaseColor { rgb 1 0 0 }\n"
              "  Coordinate3 { point [ -1 -1 0, 1 -1 0, 1 1 0, -1 1 0 ] }\n"
              "  FaceSet { numVertices 4 }\n}\n");
    const CommandResult run =
        CommandRunner::run({"square.tsc", "--size", "100x50mm", "-o", "screen.png"}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    SoPNGImage picture;
    ASSERT_TRUE(picture.read(SbString(dir.file("screen.png").c_str())));
    // 100 x 50 mm at 96 pixels per inch.
    EXPECT_EQ(picture.getSize(), SbVec2s(378, 189));
    ASSERT_EQ(picture.getNumComponents(), 3);
    // The square is red in the middle, the paper white in the corners: no colour swapping.
    const unsigned char* centre = picture.getPixel(189, 94);
    EXPECT_GT(centre[0], 200);
    EXPECT_LT(centre[1], 60);
    const unsigned char* corner = picture.getPixel(2, 2);
    EXPECT_GT(corner[0] + corner[1] + corner[2], 3 * 240);

    const CommandResult named = CommandRunner::run({"square.tsc", "-f", "png"}, dir.path());
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(named.out.compare(0, 4, "\x89PNG"), 0);
}

TEST(OutputFile, ReplacesAnExistingFileAndKeepsItsPermissions) {
    ScratchDir dir;
    dir.write("page.ps", "old content\n");
    ASSERT_EQ(chmod(dir.file("page.ps").c_str(), 0640), 0);
    const CommandResult run = CommandRunner::run({"-o", "page.ps"}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(isPostScript(dir.read("page.ps")));
    struct stat info;
    ASSERT_EQ(stat(dir.file("page.ps").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"page.ps"}) << "no temporary left behind";
}

}  // namespace
