#pragma once

// The PostScript backend opened for tests, with the shorthands its tests need beyond the
// ones every backend's tests share.

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoVectorizePSAction.h>

#include <string>
#include <vector>

#include "plotwerk/support/OpenedBackend.h"

/// The backend under test, writing to a temporary file that can be read back.
class PSTestAction : public OpenedBackend<SoVectorizePSAction> {
  public:
    using OpenedBackend::dots;
    using OpenedBackend::fill;

    std::vector<std::string> linesSinceMark();

    /// A polygon with one colour per point.
    void fill(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors);
    void dots(const std::vector<SbVec4f>& points, const SbColor& color, float size = 1.0f);
    void text2(float xMm, float yMm, const SbString& string, int justification = 1,
               const SbColor& color = SbColor(0, 0, 0), float size = 12.0f,
               const SbString& font = "Helvetica", float angle = 0.0f);
    void image(float xMm, float yMm, const std::vector<unsigned char>& pixels, SbVec2s sourceSize,
               SbVec2s requestedSize, int numComponents, SoImage::HorAlignment hor = SoImage::LEFT,
               SoImage::VertAlignment vert = SoImage::BOTTOM);
};

/// Splits a text at its line feeds; a final line feed ends the last line.
std::vector<std::string> splitLines(const std::string& text);
