#include "plotwerk/cgm/CGMTestAction.h"

#include <cstdio>

CGMTestAction::CGMTestAction() {
    getCGMVectorOutput()->setFilePointer(std::tmpfile());
}

std::string CGMTestAction::text() {
    return StreamReadBack::all(getCGMVectorOutput()->getFilePointer());
}

void CGMTestAction::startMetafile() {
    writeHeader();
    mark();
}

void CGMTestAction::mark() {
    readBack.mark(getCGMVectorOutput()->getFilePointer());
}

std::string CGMTestAction::sinceMark() {
    return readBack.sinceMark(getCGMVectorOutput()->getFilePointer());
}

void CGMTestAction::line(const std::vector<SbVec4f>& points, const SbColor& color, float width,
                         unsigned short pattern, int factor) {
    printPolyLine(points.data(), static_cast<int>(points.size()), &color, 0, width, pattern,
                  factor);
}

void CGMTestAction::fill(const std::vector<SbVec4f>& points, const SbColor& color,
                         const unsigned char* pattern, const SbString& name1,
                         const SbString& name2) {
    printPolygon(points.data(), static_cast<int>(points.size()), &color, 0, name1, name2, pattern);
}

void CGMTestAction::dots(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors,
                         float size) {
    printPolyMark(points.data(), static_cast<int>(points.size()), colors.data(),
                  colors.size() > 1 ? 1 : 0, size);
}

void CGMTestAction::label(float xMm, float yMm, const SbString& string, int justification,
                          float angle, float size, const SbColor& color, const SbString& font) {
    printText2(SbVec4f(xMm, yMm, 0, 1), color, font, size, string, justification, angle);
}
