#pragma once

// Renders an SVG document as a browser shows it: headless Chromium (Debian: chromium) takes a
// screenshot of a page that holds the document as an image of a given size in pixels.

#include <Tessara/rendering/SoPNGImage.h>

#include <fstream>
#include <string>

#include "GhostscriptRender.h"

/// The document drawn into width x height pixels, row 0 at the top; empty when it did not
/// render.
inline GhostscriptResult::Image renderSvgInBrowser(const std::string& svg, int width, int height) {
    using namespace ghostscript_detail;
    const TempDir dir;
    std::ofstream(dir.file("drawing.svg"), std::ios::binary) << svg;
    std::ofstream(dir.file("page.html"))
        << "<html><body style='margin:0;background:white'><img src='drawing.svg' "
        << "style='display:block;width:" << width << "px;height:" << height << "px'></body></html>";
    // Root may run Chromium only without its sandbox; a profile of its own per run lets
    // tests render side by side.
    const std::string command =
        "chromium --headless --no-sandbox --disable-gpu --hide-scrollbars "
        "--force-device-scale-factor=1 --user-data-dir=" +
        quoted(dir.file("profile")) + " --window-size=" + std::to_string(width) + "," +
        std::to_string(height) + " --screenshot=" + quoted(dir.file("shot.png")) + " " +
        quoted("file://" + dir.file("page.html")) + " >/dev/null 2>&1";
    GhostscriptResult::Image image;
    SoPNGImage png;
    if (run(command) != 0 || !png.read(dir.file("shot.png").c_str(), 3)) return image;
    const SbVec2s size = png.getSize();
    image.width = size[0], image.height = size[1], image.dpi = 0;
    image.rgb.resize(std::size_t(size[0]) * size[1] * 3);
    // The PNG's rows come bottom up; the picture's go from the top.
    for (int y = 0; y < size[1]; ++y)
        for (int x = 0; x < size[0]; ++x)
            for (int c = 0; c < 3; ++c)
                image.rgb[(std::size_t(y) * size[0] + x) * 3 + c] =
                    png.getPixel(x, size[1] - 1 - y)[c];
    return image;
}
