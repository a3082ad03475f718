#pragma once

// One print: the command run with "-o page.ps" in a scratch directory, then the page
// rendered by Ghostscript, read by rectangles in page millimetres from the bottom-left corner.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandRunner.h"
#include "ScratchDir.h"
#include "support/GhostscriptRender.h"

/// Where the default drawing (190 x 277 mm at 10, 10) lies on the page, in millimetres.
namespace default_page {
constexpr double kLeft = 10, kBottom = 10, kRight = 200, kTop = 287;
constexpr double kCentreX = 105, kCentreY = 148.5;
}  // namespace default_page

using Rgb = GhostscriptResult::Rgb;

/// A rendered first page, read by rectangles.
class PageProbe {
  public:
    explicit PageProbe(const GhostscriptResult::Image& image) : image(image) {}

    /// Pixels for which `test` holds within [x0, x1] x [y0, y1] millimetres.
    template <class Test>
    int count(double x0, double y0, double x1, double y1, Test test) const {
        const double perMm = image.dpi / 25.4;
        int total = 0;
        for (int x = static_cast<int>(x0 * perMm); x <= static_cast<int>(x1 * perMm); ++x)
            for (int y = static_cast<int>(y0 * perMm); y <= static_cast<int>(y1 * perMm); ++y)
                total += test(image.pixel(x, image.height - 1 - y)) ? 1 : 0;
        return total;
    }
    /// Pixels that are not white.
    int ink(double x0, double y0, double x1, double y1) const {
        return count(x0, y0, x1, y1, [](const Rgb& p) { return !p.isWhite(); });
    }
    double widthMm() const { return image.width * 25.4 / image.dpi; }
    double heightMm() const { return image.height * 25.4 / image.dpi; }

  private:
    const GhostscriptResult::Image& image;
};

/// The command's result, the document it wrote and the rendered page.
struct PrintRun {
    CommandResult command;
    std::string document;
    GhostscriptResult page;

    PageProbe probe() const { return PageProbe(page.image); }

    /// Runs `arguments` plus "-o <name>" in `dir` and renders the file when one was written.
    static PrintRun of(const ScratchDir& dir, const std::vector<std::string>& arguments,
                       const std::string& name = "page.ps", int dpi = 72) {
        PrintRun run = unrendered(dir, arguments, name);
        GhostscriptOptions rendering;
        rendering.dpi = dpi;
        if (dir.exists(name)) run.page = renderPostScriptFile(dir.file(name), rendering);
        return run;
    }
    /// The same without Ghostscript, for comparing documents.
    static PrintRun unrendered(const ScratchDir& dir, std::vector<std::string> arguments,
                               const std::string& name = "page.ps") {
        PrintRun run;
        arguments.push_back("-o");
        arguments.push_back(dir.file(name));
        run.command = CommandRunner::run(arguments, dir.path());
        if (dir.exists(name)) run.document = dir.read(name);
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
