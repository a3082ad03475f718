// --help and --version, and the progress display that appears only on a terminal.

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "CommandRunner.h"
#include "ScratchDir.h"

namespace {

TEST(Help, ListsEveryOptionWithItsDefault) {
    const CommandResult run = CommandRunner::run({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_EQ(run.out.rfind("usage: plotwerk [options] [INPUT]", 0), 0u);
    const std::vector<std::string> options = {"-o FILE",
                                              "-f FORMAT",
                                              "--size WxH[unit]",
                                              "--position XxY[unit]",
                                              "--landscape",
                                              "--border WIDTH[,COLOR]",
                                              "--background COLOR",
                                              "--hidden MODE",
                                              "--projection perspective|orthographic",
                                              "--lighting",
                                              "--smooth",
                                              "--colors swap|keep|invert",
                                              "--bw",
                                              "--line-width W[unit]",
                                              "--ps-level 1|2|3",
                                              "--gray",
                                              "--accuracy F",
                                              "--help",
                                              "--version"};
    // Each option starts a line, followed by its description on the same line or the next.
    for (const std::string& option : options) {
        const size_t at = run.out.find("\n  " + option);
        ASSERT_NE(at, std::string::npos) << option;
        const char after = run.out[at + 3 + option.size()];
        EXPECT_TRUE(after == ' ' || after == '\n') << option;
    }
    // The defaults of a fresh backend, as the library sets them, and the command's own.
    for (const char* shown :
         {"(default: 190x277mm)", "(default: 10x10mm)", "(default: portrait)", "(default: 2,white)",
          "(default: none)", "(default: painter)", "(default: perspective)", "(default: off)",
          "(default: flat)", "(default: swap)", "(default: 0.3528mm)", "(default: 2)",
          "(default: colour)", "(default: 0.1)", "(default: standard output)",
          "(default: by extension)"})
        EXPECT_NE(run.out.find(shown), std::string::npos) << shown;
    for (const char* mode : {"sort", "painter", "visible", "raster", "lines"})
        EXPECT_NE(run.out.find(mode), std::string::npos) << mode;
}

TEST(Help, LinesFitOneHundredColumns) {
    const CommandResult run = CommandRunner::run({"-h"});
    EXPECT_EQ(run.status, 0);
    size_t start = 0;
    while (start < run.out.size()) {
        const size_t end = run.out.find('\n', start);
        EXPECT_LE(end - start, 100u) << run.out.substr(start, end - start);
        start = end + 1;
    }
}

TEST(Help, WinsOverEverythingElseButParseErrors) {
    ScratchDir dir;
    const CommandResult run = CommandRunner::run({"missing.tsc", "--help"}, dir.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("usage:"), std::string::npos);
    EXPECT_TRUE(dir.entries().empty());
}

TEST(Version, NamesTheProductAndItsVersion) {
    const CommandResult run = CommandRunner::run({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty());
    EXPECT_EQ(run.out.rfind(std::string("plotwerk (PlotWerk) ") + PLOTWERK_VERSION, 0), 0u)
        << run.out;
    EXPECT_EQ(run.out.back(), '\n');
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one line";
}

// Runs the command with all three standard streams on a terminal; the drawing goes to a file.
std::string terminalOutput(const std::vector<std::string>& arguments, int& status) {
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        std::vector<char*> argv = CommandRunner::argv(arguments);
        execv(argv[0], argv.data());
        _exit(127);
    }
    std::string text;
    char buffer[4096];
    ssize_t n;
    // Reading fails with EIO once the child has gone and the terminal is closed.
    while ((n = read(master, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    close(master);
    waitpid(child, &status, 0);
    return text;
}

TEST(Progress, ShownOnATerminalFromZeroToOneHundredPercent) {
    ScratchDir dir;
    int status = -1;
    const std::string shown = terminalOutput({"-o", dir.file("page.ps")}, status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << shown;
    EXPECT_NE(shown.find("printing   0%"), std::string::npos) << shown;
    EXPECT_NE(shown.find("printing 100%"), std::string::npos) << shown;
    // Redrawn in place: carriage returns, and one line in the end.
    EXPECT_NE(shown.find('\r'), std::string::npos);
    EXPECT_EQ(shown.find("printing 100%"), shown.rfind("printing"));
    EXPECT_TRUE(dir.exists("page.ps"));
}

TEST(Progress, SilentWhenStandardErrorIsNotATerminal) {
    ScratchDir dir;
    const CommandResult run = CommandRunner::run({"-o", "page.ps"}, dir.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty()) << run.err;
}

}  // namespace
