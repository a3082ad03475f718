#include "plotwerk/hpgl/HPGLTestAction.h"

#include <cstdio>

HPGLTestAction::HPGLTestAction() {
    getHPGLVectorOutput()->setFilePointer(std::tmpfile());
}

std::string HPGLTestAction::text() {
    return StreamReadBack::all(getHPGLVectorOutput()->getFilePointer());
}

void HPGLTestAction::startPlot() {
    writeHeader();
    mark();
}

void HPGLTestAction::mark() {
    readBack.mark(getHPGLVectorOutput()->getFilePointer());
}

std::string HPGLTestAction::sinceMark() {
    return readBack.sinceMark(getHPGLVectorOutput()->getFilePointer());
}

void HPGLTestAction::line(const std::vector<SbVec4f>& points, const SbColor& color, float width,
                          unsigned short pattern, int factor) {
    printPolyLine(points.data(), static_cast<int>(points.size()), &color, 0, width, pattern,
                  factor);
}

void HPGLTestAction::fill(const std::vector<SbVec4f>& points, const SbColor& color) {
    printPolygon(points.data(), static_cast<int>(points.size()), &color, 0, SbString(), SbString(),
                 nullptr);
}

void HPGLTestAction::dots(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors) {
    printPolyMark(points.data(), static_cast<int>(points.size()), colors.data(),
                  colors.size() > 1 ? 1 : 0, 1.0f);
}

void HPGLTestAction::label(float xMm, float yMm, const SbString& string, int justification,
                           float angle, float size, const SbColor& color) {
    printText2(SbVec4f(xMm, yMm, 0, 1), color, "Helvetica", size, string, justification, angle);
}
