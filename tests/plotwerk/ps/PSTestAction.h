#pragma once

// The PostScript backend with its protected print operations opened for tests. It writes
// to a temporary stream that the tests read back at any time.

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoVectorizePSAction.h>

#include <string>
#include <vector>

#include "plotwerk/support/StreamReadBack.h"

/// The backend under test, writing to a temporary file that can be read back.
class PSTestAction : public SoVectorizePSAction {
  public:
    PSTestAction();

    using SoVectorizePSAction::printBackground;
    using SoVectorizePSAction::printBorder;
    using SoVectorizePSAction::printImage;
    using SoVectorizePSAction::printPolygon;
    using SoVectorizePSAction::printPolyLine;
    using SoVectorizePSAction::printPolyMark;
    using SoVectorizePSAction::printText2;
    using SoVectorizePSAction::setHardwareClip;
    using SoVectorizePSAction::writeFooter;
    using SoVectorizePSAction::writeHeader;

    /// Everything written to the stream so far.
    std::string text();
    /// Remembers the current end of the text, for sinceMark().
    void mark();
    /// What was written after the last mark().
    std::string sinceMark();
    std::vector<std::string> linesSinceMark();

    // Shorthands for the print operations with the arguments most tests leave alone.
    void line(const std::vector<SbVec4f>& points, const SbColor& color, float width = 1.0f,
              unsigned short pattern = 0xFFFF, int factor = 1);
    void fill(const std::vector<SbVec4f>& points, const SbColor& color,
              const unsigned char* pattern = nullptr);
    /// A polygon with one colour per point.
    void fill(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors);
    void dots(const std::vector<SbVec4f>& points, const SbColor& color, float size = 1.0f);
    void text2(float xMm, float yMm, const SbString& string, int justification = 1,
               const SbColor& color = SbColor(0, 0, 0), float size = 12.0f,
               const SbString& font = "Helvetica", float angle = 0.0f);
    void image(float xMm, float yMm, const std::vector<unsigned char>& pixels, SbVec2s sourceSize,
               SbVec2s requestedSize, int numComponents, SoImage::HorAlignment hor = SoImage::LEFT,
               SoImage::VertAlignment vert = SoImage::BOTTOM);

  private:
    StreamReadBack readBack;
};

/// Splits a text at its line feeds; a final line feed ends the last line.
std::vector<std::string> splitLines(const std::string& text);
