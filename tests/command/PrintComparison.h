#pragma once

// A page the command wrote in another format, as its reader renders it, against the
// PostScript print of the same drawing as Ghostscript renders it: the ink of each lies
// within a pixel of the other's, with no large region of ink that the other lacks.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CommandRun.h"
#include "support/PdfPicture.h"

namespace print_comparison {

constexpr int kDpi = 50;
// The renderers find different fonts: a stroke of the title's glyphs (up to 60 pixels here)
// may part; a face or a line out of place parts by thousands.
constexpr int kLargestWrong = 80;

using Image = GhostscriptResult::Image;

/// The print turned a quarter clockwise: upright again, a drawing that it turned to lay across
/// an upright sheet.
inline Image turnedClockwise(const Image& print) {
    Image turned = print;
    std::swap(turned.width, turned.height);
    auto out = turned.rgb.begin();
    for (int y = 0; y < turned.height; ++y)
        for (int x = 0; x < turned.width; ++x) {
            const auto p = print.pixel(y, print.height - 1 - x);
            *out++ = p.r;
            *out++ = p.g;
            *out++ = p.b;
        }
    return turned;
}

/// The page agrees with the PostScript print that the command makes with `arguments`, its
/// ink within `reach` pixels of the print's.
inline void expectLikeThePrint(const Image& page, std::vector<std::string> arguments,
                               const char* what, int reach = 1) {
    ScratchDir dir;
    arguments.insert(arguments.end(), {"-o", "print.ps"});
    const CommandResult print = runCommand(arguments, dir.path());
    ASSERT_EQ(print.status, 0) << print.err;
    GhostscriptOptions options;
    options.dpi = kDpi;
    const GhostscriptResult reference = renderPostScript(dir.read("print.ps"), options);
    ASSERT_TRUE(reference.ok()) << reference.messages;
    const bool across = page.width > page.height && reference.image.width < reference.image.height;
    expectSameInk(page, across ? turnedClockwise(reference.image) : reference.image, what,
                  kLargestWrong, reach);
}

}  // namespace print_comparison
