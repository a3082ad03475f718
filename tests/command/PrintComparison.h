#pragma once

// A page the command wrote in another format, as its reader renders it, against the
// PostScript print of the same drawing as Ghostscript renders it: the ink of each lies
// within a pixel of the other's, with no large region of ink that the other lacks.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandRun.h"
#include "support/PdfPicture.h"

namespace print_comparison {

constexpr int kDpi = 50;
// The renderers find different fonts: a stroke of the title's glyphs (up to 60 pixels here)
// may part; a face or a line out of place parts by thousands.
constexpr int kLargestWrong = 80;

using Image = GhostscriptResult::Image;

/// The print turned a quarter clockwise: upright, a drawing it laid across an upright sheet.
inline Image turnedClockwise(const Image& print) {
    Image turned = print;
    std::swap(turned.width, turned.height);
    for (size_t i = 0, w = turned.width; i < turned.rgb.size(); ++i)
        turned.rgb[i] =
            print.rgb[((print.height - 1 - i / 3 % w) * print.width + i / 3 / w) * 3 + i % 3];
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
