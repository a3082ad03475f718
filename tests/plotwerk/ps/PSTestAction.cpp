#include "plotwerk/ps/PSTestAction.h"

#include <cstdio>

std::vector<std::string> PSTestAction::linesSinceMark() {
    return splitLines(sinceMark());
}

void PSTestAction::fill(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors) {
    printPolygon(points.data(), static_cast<int>(points.size()), colors.data(), 1, SbString(),
                 SbString(), nullptr);
}

void PSTestAction::dots(const std::vector<SbVec4f>& points, const SbColor& color, float size) {
    printPolyMark(points.data(), static_cast<int>(points.size()), &color, 0, size);
}

void PSTestAction::text2(float xMm, float yMm, const SbString& string, int justification,
                         const SbColor& color, float size, const SbString& font, float angle) {
    printText2(SbVec4f(xMm, yMm, 0, 1), color, font, size, string, justification, angle);
}

void PSTestAction::image(float xMm, float yMm, const std::vector<unsigned char>& pixels,
                         SbVec2s sourceSize, SbVec2s requestedSize, int numComponents,
                         SoImage::HorAlignment hor, SoImage::VertAlignment vert) {
    printImage(SbVec4f(xMm, yMm, 0, 1), pixels.empty() ? nullptr : pixels.data(), sourceSize,
               requestedSize, numComponents, hor, vert);
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
