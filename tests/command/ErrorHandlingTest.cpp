// Every failure the command reports: a single "plotwerk: ..." line on standard error, exit
// status 2, nothing on standard output, no file left behind and an existing output file
// untouched. Also the messages of the core, shown once each.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "CommandRunner.h"
#include "ScratchDir.h"

namespace {

const char* const kPrecious = "precious earlier drawing\n";

/// A directory holding an earlier output and the inputs the error cases need.
class ErrorScene : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("existing.ps", kPrecious);
        dir.write("bad.tsc", "#Tessara V1.0 ascii\nSeparator {\n  Cube { width }\n");
        dir.write("noheader.tsc", "Separator { Cube { } }\n");
        dir.write("junk.xyz", "this is neither a scene nor a mesh\n");
        dir.write("good.tsc", "#Tessara V1.0 ascii\nSeparator { Cube { } }\n");
        mkdir(dir.file("adir").c_str(), 0755);
        before = dir.entries();
    }

    /// Exit status 2 and one line naming `needle`; the directory is as it was before.
    void expectCleanFailure(const std::vector<std::string>& arguments, const std::string& needle) {
        SCOPED_TRACE(describe(arguments));
        const CommandResult run = CommandRunner::run(arguments, dir.path());
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

    static std::string describe(const std::vector<std::string>& arguments) {
        std::string text = "plotwerk";
        for (const std::string& argument : arguments) text += " " + argument;
        return text;
    }

    ScratchDir dir;
    std::vector<std::string> before;
};

TEST_F(ErrorScene, MissingInput) {
    expectCleanFailure({"missing.tsc", "-o", "existing.ps"}, "missing.tsc");
    expectCleanFailure({"missing.stl", "-o", "existing.ps"}, "missing.stl");
}

TEST_F(ErrorScene, InputThatIsADirectory) {
    expectCleanFailure({"adir", "-o", "existing.ps"}, "adir");
}

TEST_F(ErrorScene, UnreadableInput) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
    chmod(dir.file("good.tsc").c_str(), 0);
    expectCleanFailure({"good.tsc", "-o", "existing.ps"}, "good.tsc");
}

TEST_F(ErrorScene, MalformedSceneFileNamesFileLineAndColumn) {
    expectCleanFailure({"bad.tsc", "-o", "existing.ps"}, "bad.tsc:3:");
    expectCleanFailure({"noheader.tsc", "-o", "existing.ps"}, "noheader.tsc");
}

TEST_F(ErrorScene, FileTheImporterCannotRead) {
    expectCleanFailure({"junk.xyz", "-o", "existing.ps"}, "junk.xyz");
}

TEST_F(ErrorScene, UnknownFormatByNameOrExtension) {
    expectCleanFailure({"good.tsc", "-o", "page.pdf"}, ".pdf");
    expectCleanFailure({"good.tsc", "-f", "svg", "-o", "existing.ps"}, "svg");
}

TEST_F(ErrorScene, UnknownOptionsAndMisusedOnes) {
    expectCleanFailure({"--frobnicate", "-o", "existing.ps"}, "--frobnicate");
    expectCleanFailure({"-x", "-o", "existing.ps"}, "-x");
    expectCleanFailure({"-o", "existing.ps", "--size"}, "--size");
    expectCleanFailure({"--gray=yes", "-o", "existing.ps"}, "--gray");
    expectCleanFailure({"good.tsc", "bad.tsc", "-o", "existing.ps"}, "more than one input");
    expectCleanFailure({"", "-o", "existing.ps"}, "input file name is empty");
    expectCleanFailure({"good.tsc", "-o", ""}, "-o");
    expectCleanFailure({"good.tsc", "-f", "", "-o", "existing.ps"}, "-f");
}

TEST_F(ErrorScene, BadOptionValues) {
    const std::vector<std::vector<std::string>> cases = {
        {"--size", "10"},
        {"--size", "0x5"},
        {"--size", "10x10cm"},
        {"--size", "axb"},
        {"--position", "-1x2"},
        {"--border", "-1"},
        {"--border", "2,mauve"},
        {"--border", "x"},
        {"--background", "#12345"},
        {"--background", "1:2:0"},
        {"--background", "0.5,0.5,0.5"},
        {"--hidden", "fancy"},
        {"--projection", "fisheye"},
        {"--colors", "all"},
        {"--line-width", "0"},
        {"--line-width", "2pt"},
        {"--ps-level", "0"},
        {"--ps-level", "4"},
        {"--ps-level", "2.5"},
        {"--accuracy", "0"},
        {"--accuracy", "abc"},
        {"--accuracy", "nan"},
        {"--pens", ""},
        {"--pens", "black,,red"},
        {"--pens", "black@0"},
        {"--pens", "mauve"},
        {"--pens", "red@2pt"},
        {"--cgm-version", "2"},
        {"--cgm-version", "4"},
        {"--cgm-version", "one"},
    };
    for (std::vector<std::string> arguments : cases) {
        const std::string option = arguments[0];
        arguments.insert(arguments.end(), {"good.tsc", "-o", "existing.ps"});
        expectCleanFailure(arguments, option);
    }
}

TEST_F(ErrorScene, OutputThatCannotBeCreated) {
    expectCleanFailure({"good.tsc", "-o", "nowhere/page.ps"}, "nowhere/page.ps");
    expectCleanFailure({"good.tsc", "-o", "adir"}, "adir");
}

TEST_F(ErrorScene, WriteFailureMidwayKeepsTheEarlierFileAndLeavesNoTemporary) {
    SCOPED_TRACE("file size limited to 4 KB");
    const CommandResult run = CommandRunner::run({"-o", "existing.ps"}, dir.path(), 4096);
    EXPECT_EQ(run.status, 2);
    ASSERT_EQ(run.errLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("cannot write output 'existing.ps'"), std::string::npos) << run.err;
    EXPECT_EQ(dir.read("existing.ps"), kPrecious);
    EXPECT_EQ(dir.entries(), before);
}

TEST_F(ErrorScene, WriteFailureOnADeviceIsReported) {
    struct stat info;
    if (stat("/dev/full", &info) != 0) GTEST_SKIP() << "no /dev/full";
    const CommandResult run = CommandRunner::run({"-o", "/dev/full"}, dir.path());
    EXPECT_EQ(run.status, 2);
    ASSERT_EQ(run.errLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("/dev/full"), std::string::npos);
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)) << "a device is written to, never replaced";
}

TEST_F(ErrorScene, DevicesAreWrittenToNotReplaced) {
    const CommandResult run = CommandRunner::run({"good.tsc", "-o", "/dev/null"}, dir.path());
    EXPECT_EQ(run.status, 0) << run.err;
    struct stat info;
    ASSERT_EQ(stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
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
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        if (chdir(dir.path().c_str()) != 0) _exit(126);
        execl(PLOTWERK_COMMAND, PLOTWERK_COMMAND, "big.stl", "-o", "existing.ps", nullptr);
        _exit(127);
    }
    ASSERT_GT(child, 0);
    // Waits for the temporary to appear, then interrupts the print.
    bool seen = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!seen && std::chrono::steady_clock::now() < deadline) {
        seen = dir.entries().size() > before.size();
        if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        int status = 0;
        if (!seen && waitpid(child, &status, WNOHANG) == child) FAIL() << "finished unseen";
    }
    ASSERT_TRUE(seen);
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
    const CommandResult run = CommandRunner::run({"switch.tsc", "-o", "page.ps"}, dir.path());
    EXPECT_EQ(run.status, 0);
    const std::vector<std::string> lines = run.errLines();
    ASSERT_EQ(lines.size(), 1u) << run.err;
    EXPECT_EQ(lines[0].rfind("plotwerk: warning: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("whichChild 5"), std::string::npos) << lines[0];
    EXPECT_TRUE(dir.exists("page.ps"));
}

}  // namespace
