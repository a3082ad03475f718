#pragma once

// Renders PostScript with Ghostscript so that tests can check what a real reader makes of a
// document: whether it ran without error and which pixels it inked.
//
//     GhostscriptResult r = renderPostScript(text);            // A4, 36 dpi
//     EXPECT_TRUE(r.ok()) << r.messages;
//     GhostscriptResult::Rgb c = r.image.atMillimetres(10, 20);
//
// Ghostscript runs with -dSAFER and writes raw PPM pages into a temporary folder; its
// messages (stdout and stderr together) are kept, since it reports PostScript errors there.

#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
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
        /// The pixel under a point in millimetres from the bottom left of the page.
        Rgb atMillimetres(double xMm, double yMm) const {
            return pixel(static_cast<int>(xMm * dpi / 25.4),
                         height - 1 - static_cast<int>(yMm * dpi / 25.4));
        }
    };

    int exitStatus = -1;  ///< the process's exit status; -1 when it did not run
    std::string messages;
    int pageCount = 0;  ///< pages found in the output
    Image image;

    /// Exit status 0 and no error reported in the messages.
    bool ok() const {
        return exitStatus == 0 && messages.find("Error") == std::string::npos &&
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

/// A new empty temporary folder, removed again with everything in it.
struct TempDir {
    std::string path;
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "gs_XXXXXX").string();
        if (mkdtemp(&pattern[0])) path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    std::string file(const char* name) const { return path + "/" + name; }
};

inline std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Runs a shell command line; its exit status, or -1 when it did not end normally.
inline int run(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string quoted(const std::string& path) {
    std::string out = "'";
    for (char c : path) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

/// Counts the P6 pages of the output, each with a comment line in its header, and keeps the
/// first one.
inline void parsePpm(const std::string& data, int dpi, GhostscriptResult& result) {
    std::istringstream in(data);
    std::string magic, comment;
    int width = 0, height = 0, maxValue = 0;
    while (in >> magic >> std::ws && magic == "P6") {
        if (in.peek() == '#') std::getline(in, comment);
        if (!(in >> width >> height >> maxValue) || maxValue != 255 || in.get() == EOF) return;
        std::string pixels(static_cast<std::size_t>(width) * height * 3, '\0');
        if (!in.read(&pixels[0], static_cast<std::streamsize>(pixels.size()))) return;
        if (result.pageCount++ == 0) {
            result.image = {width, height, static_cast<double>(dpi), {}};
            result.image.rgb.assign(pixels.begin(), pixels.end());
        }
    }
}

}  // namespace ghostscript_detail

/// True when a Ghostscript executable can be run.
inline bool ghostscriptAvailable() {
    return ghostscript_detail::run("gs --version >/dev/null 2>&1") == 0;
}

/// Renders a PostScript file; the file is left in place.
inline GhostscriptResult renderPostScriptFile(const std::string& path,
                                              const GhostscriptOptions& options = {}) {
    using namespace ghostscript_detail;
    GhostscriptResult result;
    const TempDir dir;
    if (dir.path.empty()) {
        result.messages = "could not create a temporary folder";
        return result;
    }
    result.exitStatus =
        run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r" + std::to_string(options.dpi) +
            " -dDEVICEWIDTHPOINTS=" + std::to_string(options.widthPoints) +
            " -dDEVICEHEIGHTPOINTS=" + std::to_string(options.heightPoints) +
            " -dFIXEDMEDIA -sOutputFile=" + quoted(dir.file("page.ppm")) + " " + quoted(path) +
            " </dev/null >" + quoted(dir.file("log")) + " 2>&1");
    result.messages = read(dir.file("log"));
    parsePpm(read(dir.file("page.ppm")), options.dpi, result);
    return result;
}

/// Renders PostScript text, through a temporary file.
inline GhostscriptResult renderPostScript(const std::string& text,
                                          const GhostscriptOptions& options = {}) {
    const ghostscript_detail::TempDir dir;  // without it, Ghostscript reports the missing file
    if (!dir.path.empty()) std::ofstream(dir.file("document.ps"), std::ios::binary) << text;
    return renderPostScriptFile(dir.file("document.ps"), options);
}
