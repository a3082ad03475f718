#pragma once

// The HP-GL/2 backend with its protected operations opened for tests, writing to a
// temporary stream that the tests read back at any time.

#include <PlotWerk/SoHPGLVectorOutput.h>
#include <PlotWerk/SoVectorizeHPGLAction.h>

#include <string>
#include <vector>

#include "plotwerk/support/StreamReadBack.h"

/// The backend under test.
class HPGLTestAction : public SoVectorizeHPGLAction {
  public:
    HPGLTestAction();

    using SoVectorizeHPGLAction::getClippingLimits;
    using SoVectorizeHPGLAction::printBackground;
    using SoVectorizeHPGLAction::printBorder;
    using SoVectorizeHPGLAction::printImage;
    using SoVectorizeHPGLAction::printPolygon;
    using SoVectorizeHPGLAction::printPolyLine;
    using SoVectorizeHPGLAction::printPolyMark;
    using SoVectorizeHPGLAction::printText2;
    using SoVectorizeHPGLAction::setHardwareClip;
    using SoVectorizeHPGLAction::writeFooter;
    using SoVectorizeHPGLAction::writeHeader;

    /// Everything written so far.
    std::string text();
    /// Writes a plot header and remembers where it ends, for sinceMark().
    void startPlot();
    void mark();
    std::string sinceMark();

    // The print operations with the arguments most tests leave alone.
    void line(const std::vector<SbVec4f>& points, const SbColor& color, float width = 1.0f,
              unsigned short pattern = 0xFFFF, int factor = 1);
    void fill(const std::vector<SbVec4f>& points, const SbColor& color);
    void dots(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors);
    void label(float xMm, float yMm, const SbString& string, int justification = 1,
               float angle = 0.0f, float size = 12.0f, const SbColor& color = SbColor(0, 0, 0));

  private:
    StreamReadBack readBack;
};

/// A page point in millimetres.
inline SbVec4f mm(float x, float y) {
    return SbVec4f(x, y, 0.0f, 1.0f);
}
