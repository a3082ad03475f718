#pragma once

// One print: the command run with "-o page.ps" in a scratch directory, then the page
// rendered by Ghostscript at low resolution.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandRunner.h"
#include "PageProbe.h"
#include "ScratchDir.h"

/// Where the default drawing (190 x 277 mm at 10, 10) lies on the page, in millimetres.
namespace default_page {
constexpr double kLeft = 10, kBottom = 10, kRight = 200, kTop = 287;
constexpr double kCentreX = 105, kCentreY = 148.5;
}  // namespace default_page

/// The command's result, the document it wrote and the rendered page.
struct PrintRun {
    CommandResult command;
    std::string document;
    GhostscriptResult page;

    PageProbe probe() const { return PageProbe(page.image); }
    /// The mean ink around the centre of the default drawing.
    GhostscriptResult::Rgb centreColour() const {
        using namespace default_page;
        return probe().meanInk(kCentreX - 10, kCentreY - 10, kCentreX + 10, kCentreY + 10);
    }

    /// Runs `arguments` plus "-o <name>" in `dir` and renders the file when one was written.
    static PrintRun of(const ScratchDir& dir, const std::vector<std::string>& arguments,
                       const std::string& name = "page.ps",
                       const GhostscriptOptions& rendering = GhostscriptOptions()) {
        PrintRun run = unrendered(dir, arguments, name);
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
    /// The built-in demo with default options, printed and rendered once for all tests.
    static const PrintRun& demo() {
        static const ScratchDir dir;
        static const PrintRun run = of(dir, {});
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
