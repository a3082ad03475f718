// The command line as a user meets it. Every failure the command reports: a single
// "plotwerk: ..." line on standard error, exit status 2, nothing on standard output, no file
// left behind and an existing output file untouched. The messages of the core, shown once
// each; --help and --version; the progress display that appears only on a terminal.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "CommandRun.h"

namespace {

const char* const kPrecious = "precious earlier drawing\n";

/// A directory holding an earlier output and the inputs the error cases need.
class ErrorScene : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("existing.ps", kPrecious);
        dir.write("bad.tsc", "#Tessara V1.0 ascii\nSeparator {\n  Cube { width }\n");
        dir.write("junk.xyz", "this is neither a scene nor a mesh\n");
        dir.write("good.tsc", "#Tessara V1.0 ascii\nSeparator { Cube { } }\n");
        mkdir(dir.file("adir").c_str(), 0755);
        before = dir.entries();
    }

    /// Exit status 2 and one line naming `needle`; the directory is as it was before.
    void expectCleanFailure(const std::vector<std::string>& arguments, const std::string& needle,
                            long fileSizeLimit) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        const CommandResult run = runCommand(arguments, dir.path(), fileSizeLimit);
        EXPECT_TRUE(run.exited);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty()) << run.out.substr(0, 200);
        const std::vector<std::string> lines = run.errLines();
        ASSERT_EQ(lines.size(), 1u) << run.err;
        EXPECT_EQ(lines[0].rfind("plotwerk: ", 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find(needle), std::string::npos) << lines[0];
        EXPECT_EQ(dir.read("existing.ps"), kPrecious);
        EXPECT_EQ(dir.entries(), before) << "no new or temporary file";
    }

    ScratchDir dir;
    std::vector<std::string> before;
};

// One case of each kind of bad input, option and output; the message names what was wrong.
TEST_F(ErrorScene, EachKindOfMistakeFailsCleanly) {
    const struct {
        std::vector<std::string> arguments;
        const char* named;
        long fileSizeLimit = 0;  ///< bytes the command may write before the disk is "full"
    } cases[] = {
        {{"missing.stl", "-o", "existing.ps"}, "missing.stl"},
        {{"adir", "-o", "existing.ps"}, "adir"},
        {{"bad.tsc", "-o", "existing.ps"}, "bad.tsc:3:"},
        {{"junk.xyz", "-o", "existing.ps"}, "junk.xyz"},
        {{"good.tsc", "-o", "page.dxf"}, ".dxf"},
        {{"good.tsc", "-f", "dwg", "-o", "existing.ps"}, "dwg"},
        {{"--frobnicate", "-o", "existing.ps"}, "--frobnicate"},
        {{"-o", "existing.ps", "--size"}, "--size"},
        {{"--gray=yes", "-o", "existing.ps"}, "--gray"},
        {{"", "-o", "existing.ps"}, "input"},
        {{"good.tsc", "-o", "adir"}, "adir"},
        {{"good.tsc", "-o", "/dev/full"}, "/dev/full"},
        // A value each option family rejects.
        {{"--size", "0x5", "-o", "existing.ps"}, "--size"},
        {{"--border", "2,mauve", "-o", "existing.ps"}, "--border"},
        {{"--hidden", "fancy", "-o", "existing.ps"}, "--hidden"},
        {{"--line-width", "2pt", "-o", "existing.ps"}, "--line-width"},
        {{"--ps-level", "4", "-o", "existing.ps"}, "--ps-level"},
        {{"--accuracy", "nan", "-o", "existing.ps"}, "--accuracy"},
        {{"--accuracy", "0.001", "-o", "existing.ps"}, "--accuracy"},
        {{"--size", "2000mx1", "-o", "existing.ps"}, "--size"},
        {{"--line-width", "2000m", "-o", "existing.ps"}, "--line-width"},
        {{"--raster-quality", "1.5", "-o", "existing.ps"}, "--raster-quality"},
        {{"--raster-tile", "9", "-o", "existing.ps"}, "--raster-tile"},
        {{"--crease", "200", "-o", "existing.ps"}, "--crease"},
        {{"--pens", "red@0", "-o", "existing.ps"}, "--pens"},
        {{"--view", "sideways", "-o", "existing.ps"}, "--view"},
        {{"--view", "0,0,0", "-o", "existing.ps"}, "--view"},
        {{"--up", "x", "-o", "existing.ps"}, "--up"},
        {{"--views", "top,1", "-o", "existing.ps"}, "--views"},
        {{"--scale", "1:0", "-o", "existing.ps"}, "--scale"},
        {{"--model-unit", "ft", "-o", "existing.ps"}, "--model-unit"},
        {{"--views", "top", "-o", "existing.ps"}, "--views"},
        {{"--views", "top", "-o", "page.u3d"}, "--views"},
        {{"good.tsc", "--password", "secret", "-o", "existing.ps"}, "--password"},
    };
    for (const auto& c : cases) expectCleanFailure(c.arguments, c.named, c.fileSizeLimit);
    // A device is written to, never replaced: the full one failed above, an empty one takes
    // the drawing, and both are still devices.
    EXPECT_EQ(runCommand({"good.tsc", "-o", "/dev/null"}, dir.path()).status, 0);
    struct stat info;
    for (const char* device : {"/dev/full", "/dev/null"})
        EXPECT_TRUE(stat(device, &info) == 0 && S_ISCHR(info.st_mode)) << device;
}

// Options the output or mode has no use for are named in one warning, and it prints.
TEST_F(ErrorScene, UnusedOptionsAreNamedOnce) {
    const struct {
        const char *output, *first, *second;
    } cases[] = {{"page.pdf", "--dashed", "--cgm-indexed"}, {"page.plt", "--smooth", "--gray"}};
    for (const auto& c : cases) {
        const CommandResult run =
            runCommand({"good.tsc", "-o", c.output, c.first, c.second}, dir.path());
        EXPECT_TRUE(run.status == 0 && dir.exists(c.output) && run.errLines().size() == 1 &&
                    run.err.find(c.first) != run.err.npos && run.err.find(c.second) != run.err.npos)
            << run.err;
    }
}

// A binary STL of `triangles` facets: long enough to print that a signal lands midway.
std::string binaryStl(int triangles) {
    std::string data(80, ' ');
    data.append(reinterpret_cast<const char*>(&triangles), 4);
    for (int i = 0; i < triangles; ++i) {
        const float x = static_cast<float>(i % 1000), y = static_cast<float>(i / 1000);
        const float facet[12] = {0, 0, 1, x, y, 0, x + 1, y, 0, x, y + 1, 0};
        data.append(reinterpret_cast<const char*>(facet), sizeof facet);
        data.append(2, '\0');
    }
    return data;
}

TEST_F(ErrorScene, InterruptedPrintRemovesItsTemporary) {
    dir.write("big.stl", binaryStl(300000));
    before = dir.entries();
    const int null = open("/dev/null", O_WRONLY);
    const pid_t child = startCommand({"big.stl", "-o", "existing.ps"}, dir.path(), null, null);
    close(null);
    ASSERT_GT(child, 0);
    // Waits for the temporary to appear, then interrupts the print (a print that ends first
    // shows up as a normal exit below).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (dir.entries() == before && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_NE(dir.entries(), before) << "no temporary seen";
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(dir.entries(), before);
    EXPECT_EQ(dir.read("existing.ps"), kPrecious);
}

TEST(CoreMessages, EachDistinctMessageIsShownOnceAndThePrintGoesOn) {
    ScratchDir dir;
    // The switch is traversed to fit the camera and again to print: its complaint comes
    // every time, the command shows it once.
    dir.write("switch.tsc",
              "#Tessara V1.0 ascii\nSeparator {\n"
              "  Switch { whichChild 5  Cube { } }\n"
              "  Switch { whichChild 5  Sphere { } }\n"
              "  Cone { }\n}\n");
    const CommandResult run = runCommand({"switch.tsc", "-o", "page.ps"}, dir.path());
    EXPECT_EQ(run.status, 0);
    const std::vector<std::string> lines = run.errLines();
    ASSERT_EQ(lines.size(), 1u) << run.err;
    EXPECT_EQ(lines[0].rfind("plotwerk: warning: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("whichChild 5"), std::string::npos) << lines[0];
    EXPECT_TRUE(dir.exists("page.ps"));
    dir.write("leaf.obj", "mtllib leaves.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    const CommandResult mesh = runCommand({"leaf.obj", "-o", "leaf.ps"}, dir.path());
    EXPECT_EQ(mesh.status, 0);
    ASSERT_EQ(mesh.errLines().size(), 1u) << mesh.err;
    EXPECT_NE(mesh.err.find("\"leaves.mtl\""), std::string::npos) << mesh.err;
}

// Help and version win over everything else on the line but a parse error.
TEST(Help, HelpAndVersionGoToStandardOutput) {
    ScratchDir dir;
    for (const char* option : {"--help", "-h", "--version"}) {
        const CommandResult run = runCommand({"missing.tsc", option}, dir.path());
        EXPECT_EQ(run.status, 0) << option;
        EXPECT_TRUE(run.err.empty()) << run.err;
        EXPECT_TRUE(dir.entries().empty()) << option;
    }
    const CommandResult version = runCommand({"--version"});
    EXPECT_NE(version.out.find(PLOTWERK_VERSION), std::string::npos) << version.out;
    EXPECT_EQ(version.out.find('\n'), version.out.size() - 1) << "one line";
    EXPECT_EQ(runCommand({"--help"}).out.rfind("usage: plotwerk", 0), 0u);
}

/// The exit status and the terminal's text of a run in `dir` with every stream on a terminal.
std::pair<int, std::string> onTerminal(const std::vector<std::string>& arguments,
                                       const ScratchDir& dir) {
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        std::vector<char*> argv = commandLine(arguments);
        if (chdir(dir.path().c_str()) != 0) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    std::string shown;
    char buffer[4096];
    ssize_t n;
    // EIO once the child has gone; a child waiting for typing that never comes is stopped.
    pollfd ready{master, POLLIN, 0};
    while (poll(&ready, 1, 60000) > 0 && (n = read(master, buffer, sizeof buffer)) > 0)
        shown.append(buffer, static_cast<size_t>(n));
    kill(child, SIGKILL);
    close(master);
    int status = -1;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, shown};
}

// Unnamed, the drawing goes to a file named after the input; no model is read from a terminal.
TEST(Progress, ShownOnATerminalFromZeroToOneHundredPercent) {
    ScratchDir dir;
    const auto [status, shown] = onTerminal({}, dir);
    EXPECT_EQ(status, 0) << shown;
    EXPECT_NE(shown.find(" 0%"), std::string::npos) << shown;
    // Redrawn in place: carriage returns, and 100% once, as the last figure.
    EXPECT_NE(shown.find('\r'), std::string::npos);
    EXPECT_EQ(shown.find("100%") + 3, shown.rfind('%')) << shown;
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"demo.ps"});
    EXPECT_NE(shown.find(" demo.ps\r\n"), std::string::npos) << shown;
    EXPECT_EQ(onTerminal({"-"}, dir).first, 2);
}

}  // namespace
