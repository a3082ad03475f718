#pragma once

// Runs the built plotwerk command as a child process in a scratch directory and collects what
// it did: the exit status, standard output and error, the files it left and, for a print, the
// page Ghostscript renders, read by rectangles in page millimetres from the bottom-left corner.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "support/GhostscriptRender.h"

/// A fresh temporary directory with small file helpers, removed with its contents afterwards.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = std::filesystem::temp_directory_path() / "plotwerk_cmd_XXXXXX";
        if (mkdtemp(pattern.data())) root = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        if (!root.empty()) std::filesystem::remove_all(root, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return root; }
    std::string file(const std::string& name) const { return root + "/" + name; }

    void write(const std::string& name, const std::string& content) const {
        std::ofstream(file(name), std::ios::binary) << content;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(file(name)); }
    /// Every entry, hidden ones included, sorted.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(root))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::string root;
};

/// What one run of the command gave.
struct CommandResult {
    bool exited = false;  ///< false when the child died by a signal
    int status = -1;      ///< the exit status when it exited
    std::string out;
    std::string err;

    /// The lines of standard error (a final line without newline counts too).
    std::vector<std::string> errLines() const {
        std::vector<std::string> lines;
        for (size_t start = 0, end; start < err.size(); start = end + 1) {
            end = std::min(err.find('\n', start), err.size());
            lines.push_back(err.substr(start, end - start));
        }
        return lines;
    }
};

/// The full argument list for execv: the command itself first.
inline std::vector<char*> commandLine(const std::vector<std::string>& arguments) {
    static std::string command = PLOTWERK_COMMAND;
    std::vector<char*> list{command.data()};
    for (const std::string& argument : arguments)
        list.push_back(const_cast<char*>(argument.c_str()));
    list.push_back(nullptr);
    return list;
}

/// Starts the command in a working directory with standard input from /dev/null and its
/// output and error to the given descriptors. A file size limit (bytes, 0 for none) makes
/// writes beyond it fail as on a full disk.
inline pid_t startCommand(const std::vector<std::string>& arguments, const std::string& directory,
                          int out, int err, long fileSizeLimit = 0) {
    const pid_t child = fork();
    if (child != 0) return child;
    // Ignored, the signal lets the write fail with EFBIG instead of killing the writer.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
    if (fileSizeLimit > 0) setrlimit(RLIMIT_FSIZE, &limit);
    const rlimit tenMinutes{600, 600};  // a runaway command fails its test, not the whole run
    setrlimit(RLIMIT_CPU, &tenMinutes);
    // The user's black-and-white preference would change every colour the tests expect.
    unsetenv("VXN_PW_BLACK_AND_WHITE");
    if (!directory.empty() && chdir(directory.c_str()) != 0) _exit(126);
    if (!std::freopen("/dev/null", "r", stdin)) _exit(126);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> list = commandLine(arguments);
    execv(list[0], list.data());
    _exit(127);
}

/// Everything written to a temporary file.
inline std::string contentsOf(std::FILE* file) {
    std::string text;
    char chunk[65536];
    std::rewind(file);
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
    return text;
}

/// Runs the command to its end, standard output and error collected through temporary files.
inline CommandResult runCommand(const std::vector<std::string>& arguments,
                                const std::string& directory = std::string(),
                                long fileSizeLimit = 0) {
    CommandResult result;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const pid_t child =
        out && err ? startCommand(arguments, directory, fileno(out), fileno(err), fileSizeLimit)
                   : -1;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child) {
        result.exited = WIFEXITED(status);
        result.status = result.exited ? WEXITSTATUS(status) : -1;
        result.out = contentsOf(out);
        result.err = contentsOf(err);
    }
    for (std::FILE* file : {out, err})
        if (file) std::fclose(file);
    return result;
}

/// Where the default drawing (190 x 277 mm at 10, 10) lies on the A4 sheet, in millimetres.
namespace default_page {
constexpr double kSheetWidth = 210, kSheetHeight = 297;
constexpr double kLeft = 10, kBottom = 10, kRight = 200, kTop = 287;
constexpr double kCentreX = 105, kCentreY = 148.5;
}  // namespace default_page

using Rgb = GhostscriptResult::Rgb;

/// The command's result, the document it wrote and the rendered page.
struct PrintRun {
    CommandResult command;
    std::string document;
    GhostscriptResult page;

    /// Pixels of the rendered page for which `test` holds within [x0, x1] x [y0, y1] mm.
    template <class Test>
    int count(double x0, double y0, double x1, double y1, Test test) const {
        const double perMm = page.image.dpi / 25.4;
        int total = 0;
        for (int x = static_cast<int>(x0 * perMm); x <= static_cast<int>(x1 * perMm); ++x)
            for (int y = static_cast<int>(y0 * perMm); y <= static_cast<int>(y1 * perMm); ++y)
                total += test(page.image.pixel(x, page.image.height - 1 - y)) ? 1 : 0;
        return total;
    }
    /// Pixels that are not white.
    int ink(double x0, double y0, double x1, double y1) const {
        return count(x0, y0, x1, y1, [](const Rgb& p) { return !p.isWhite(); });
    }

    /// Runs `arguments` plus "-o <name>" in `dir`; renders the file at `dpi` unless it is 0.
    static PrintRun of(const ScratchDir& dir, std::vector<std::string> arguments,
                       const std::string& name = "page.ps", int dpi = 72) {
        PrintRun run;
        arguments.insert(arguments.end(), {"-o", dir.file(name)});
        run.command = runCommand(arguments, dir.path());
        if (!dir.exists(name)) return run;
        run.document = dir.read(name);
        GhostscriptOptions rendering;
        rendering.dpi = dpi;
        if (dpi > 0) run.page = renderPostScriptFile(dir.file(name), rendering);
        return run;
    }

    /// Exit status 0, nothing on standard error, and a page Ghostscript rendered cleanly.
    ::testing::AssertionResult succeeded() const {
        if (!command.exited || command.status != 0)
            return ::testing::AssertionFailure()
                   << "status " << command.status << ", stderr: " << command.err;
        if (!command.err.empty())
            return ::testing::AssertionFailure() << "unexpected stderr: " << command.err;
        if (!page.ok() || page.image.empty())
            return ::testing::AssertionFailure() << "Ghostscript: " << page.messages;
        return ::testing::AssertionSuccess();
    }
};
