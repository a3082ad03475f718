#pragma once

// A backend with its protected operations opened for tests, writing to a temporary stream
// that the tests read back at any time, with shorthands for the print operations.

#include <PlotWerk/SoVectorOutput.h>
#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/nodes/SoNode.h>

#include <cstdio>
#include <string>
#include <vector>

#include "plotwerk/support/StreamReadBack.h"

/// `Backend` under test: any of the library's backend actions.
template <class Backend>
class OpenedBackend : public Backend {
  public:
    OpenedBackend() { this->getVectorOutput()->setFilePointer(std::tmpfile()); }

    using Backend::getClippingLimits;
    using Backend::printBackground;
    using Backend::printBorder;
    using Backend::printImage;
    using Backend::printPolygon;
    using Backend::printPolyLine;
    using Backend::printPolyMark;
    using Backend::printText2;
    using Backend::setHardwareClip;
    using Backend::writeFooter;
    using Backend::writeHeader;

    /// Everything written so far.
    std::string text() { return StreamReadBack::all(stream()); }
    /// Writes a header and remembers where it ends, for sinceMark().
    void startDocument() {
        this->writeHeader();
        mark();
    }
    void mark() { readBack.mark(stream()); }
    std::string sinceMark() { return readBack.sinceMark(stream()); }

    // The print operations with the arguments most tests leave alone.
    void line(const std::vector<SbVec4f>& points, const SbColor& color, float width = 1.0f,
              unsigned short pattern = 0xFFFF, int factor = 1) {
        this->printPolyLine(points.data(), static_cast<int>(points.size()), &color, 0, width,
                            pattern, factor);
    }
    void fill(const std::vector<SbVec4f>& points, const SbColor& color,
              const unsigned char* pattern = nullptr, const SbString& name1 = SbString(),
              const SbString& name2 = SbString()) {
        this->printPolygon(points.data(), static_cast<int>(points.size()), &color, 0, name1, name2,
                           pattern);
    }
    /// Dots in one colour, or one colour each when there are several.
    void dots(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors,
              float size = 1.0f) {
        this->printPolyMark(points.data(), static_cast<int>(points.size()), colors.data(),
                            colors.size() > 1 ? 1 : 0, size);
    }
    void label(float xMm, float yMm, const SbString& string, int justification = 1,
               float angle = 0.0f, float size = 12.0f, const SbColor& color = SbColor(0, 0, 0),
               const SbString& font = "Helvetica") {
        this->printText2(SbVec4f(xMm, yMm, 0, 1), color, font, size, string, justification, angle);
    }

  private:
    FILE* stream() { return this->getVectorOutput()->getFilePointer(); }

    StreamReadBack readBack;
};

/// A page point in millimetres.
inline SbVec4f mm(float x, float y) {
    return SbVec4f(x, y, 0.0f, 1.0f);
}

/// Prints root twice on one 420 x 297 mm page without a border: views of 190 x 277 mm at
/// (10, 10) mm and 200 mm to the right of it.
template <class Action>
void printTwoViewsSideBySide(Action& action, SoNode* root) {
    action.setBorder(0.0f);
    action.beginPage(SbVec2f(0, 0), SbVec2f(420, 297));
    action.setDrawingDimensions(190, 277);
    action.setStartPosition(10, 10);
    action.apply(root);
    action.setStartPosition(210, 10);
    action.apply(root);
    action.endPage();
}
