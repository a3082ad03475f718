#pragma once

// Renders PostScript with Ghostscript so that tests can check what a real reader makes of a
// document: whether it ran without error and which pixels it inked.
//
//     GhostscriptResult r = renderPostScript(text);            // A4, 36 dpi
//     EXPECT_TRUE(r.ok()) << r.messages;
//     GhostscriptResult::Rgb c = r.image.atPoint(100, 200);    // PostScript points
//
// Ghostscript runs with -dSAFER, started directly (no shell), and writes a raw PPM into a
// temporary file; its messages (stdout and stderr together) are kept, since it reports
// PostScript errors there.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

/// What one Ghostscript run gave: exit status, messages and the first page as RGB pixels.
struct GhostscriptResult {
    struct Rgb {
        int r = 0, g = 0, b = 0;
        bool isWhite() const { return r > 250 && g > 250 && b > 250; }
        /// Clearly not grey: one channel stands apart from the others.
        bool isColoured(int tolerance = 8) const {
            return std::max({r, g, b}) - std::min({r, g, b}) > tolerance;
        }
    };

    /// The first page; row 0 is the top of the page.
    struct Image {
        int width = 0, height = 0;
        double dpi = 0;
        std::vector<unsigned char> rgb;  ///< width x height x 3 bytes, rows from the top

        bool empty() const { return width <= 0 || height <= 0; }
        /// A pixel by column and row from the top-left corner; white outside the image.
        Rgb pixel(int x, int y) const {
            if (x < 0 || y < 0 || x >= width || y >= height) return Rgb{255, 255, 255};
            const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
            return Rgb{rgb[at], rgb[at + 1], rgb[at + 2]};
        }
        /// The pixel under a point of the default user space (points from the bottom left).
        Rgb atPoint(double xPt, double yPt) const {
            return pixel(static_cast<int>(xPt * dpi / 72.0),
                         height - 1 - static_cast<int>(yPt * dpi / 72.0));
        }
        /// The same in millimetres from the bottom left of the page.
        Rgb atMillimetres(double xMm, double yMm) const {
            return atPoint(xMm * 72.0 / 25.4, yMm * 72.0 / 25.4);
        }
    };

    bool ran = false;     ///< false when Ghostscript could not be started at all
    int exitStatus = -1;  ///< the process's exit status
    std::string messages;
    int pageCount = 0;  ///< pages found in the output
    Image image;

    /// Exit status 0 and no error reported in the messages.
    bool ok() const {
        return ran && exitStatus == 0 && messages.find("Error") == std::string::npos &&
               messages.find("error") == std::string::npos;
    }
};

/// How to render: resolution and the page (media) size in points; A4 by default.
struct GhostscriptOptions {
    int dpi = 36;
    int widthPoints = 595;
    int heightPoints = 842;
};

namespace ghostscript_detail {

/// A new empty temporary file, removed again with this object; path() is "" on failure.
class TempFile {
  public:
    explicit TempFile(const char* stem) {
        const char* dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/" + stem + "XXXXXX";
        const int fd = mkstemp(&pattern[0]);
        if (fd >= 0) {
            close(fd);
            path_ = pattern;
        }
    }
    ~TempFile() {
        if (!path_.empty()) std::remove(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }
    std::string read() const {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    std::string path_;
};

/// Reads one number of a PPM header, skipping blanks and comments.
inline bool ppmNumber(const std::string& data, std::size_t& at, long& value) {
    while (at < data.size() &&
           (std::isspace(static_cast<unsigned char>(data[at])) || data[at] == '#')) {
        if (data[at] == '#')
            at = std::min(data.find('\n', at), data.size());
        else
            ++at;
    }
    const std::size_t start = at;
    while (at < data.size() && std::isdigit(static_cast<unsigned char>(data[at]))) ++at;
    if (at == start) return false;
    value = std::strtol(data.c_str() + start, nullptr, 10);
    return true;
}

/// Counts the P6 pages of the output and keeps the first one.
inline void parsePpm(const std::string& data, int dpi, GhostscriptResult& result) {
    std::size_t at = 0;
    long w = 0, h = 0, maxValue = 0;
    while (data.compare(at, 2, "P6") == 0 && ppmNumber(data, at += 2, w) &&
           ppmNumber(data, at, h) && ppmNumber(data, at, maxValue) && maxValue == 255) {
        const std::size_t bytes = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3;
        if (++at + bytes > data.size()) return;  // one blank after the maximum value
        if (result.pageCount++ == 0) {
            result.image.width = static_cast<int>(w);
            result.image.height = static_cast<int>(h);
            result.image.dpi = dpi;
            result.image.rgb.assign(data.begin() + at, data.begin() + at + bytes);
        }
        at += bytes;
    }
}

/// Runs gs with the arguments, stdout and stderr into `log`; the wait status, or -1.
inline int runGhostscript(const std::vector<std::string>& args, const std::string& log) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, "gs", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = -1;
    if (failed != 0 || waitpid(pid, &status, 0) != pid) return -1;
    return status;
}

}  // namespace ghostscript_detail

/// True when a Ghostscript executable can be run.
inline bool ghostscriptAvailable() {
    const int status = ghostscript_detail::runGhostscript({"gs", "--version"}, "/dev/null");
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

/// Renders a PostScript file; the file is left in place.
inline GhostscriptResult renderPostScriptFile(const std::string& path,
                                              const GhostscriptOptions& options = {}) {
    GhostscriptResult result;
    const ghostscript_detail::TempFile page("gs_page_"), log("gs_log_");
    if (page.path().empty() || log.path().empty()) {
        result.messages = "could not create temporary files";
        return result;
    }
    const int status = ghostscript_detail::runGhostscript(
        {"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=ppmraw",
         "-r" + std::to_string(options.dpi),
         "-dDEVICEWIDTHPOINTS=" + std::to_string(options.widthPoints),
         "-dDEVICEHEIGHTPOINTS=" + std::to_string(options.heightPoints), "-dFIXEDMEDIA",
         "-sOutputFile=" + page.path(), path},
        log.path());
    result.ran = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) != 127;
    result.exitStatus = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.messages = log.read();
    ghostscript_detail::parsePpm(page.read(), options.dpi, result);
    return result;
}

/// Renders PostScript text, through a temporary file.
inline GhostscriptResult renderPostScript(const std::string& text,
                                          const GhostscriptOptions& options = {}) {
    const ghostscript_detail::TempFile document("gs_doc_");
    if (document.path().empty()) {
        GhostscriptResult failed;
        failed.messages = "could not create a temporary file";
        return failed;
    }
    std::ofstream(document.path(), std::ios::binary) << text;
    return renderPostScriptFile(document.path(), options);
}
