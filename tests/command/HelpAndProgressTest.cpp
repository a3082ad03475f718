// --help and --version, and the progress display that appears only on a terminal.

#include <gtest/gtest.h>
#include <pty.h>

#include <string>
#include <vector>

#include "CommandRun.h"

namespace {

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

// Runs the command with all three standard streams on a terminal; the drawing goes to a file.
std::string terminalOutput(const std::vector<std::string>& arguments, int& status) {
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        std::vector<char*> argv = commandLine(arguments);
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

}  // namespace
