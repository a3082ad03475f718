#include "SoGraphicText2D.h"

#include <Tessara/base/SoDebugError.h>

#include <algorithm>
#include <utility>

#include "SoHLHSRGLFunctions.h"
#include "SoHLHSRVectorize.h"

int SoGraphicText2D::getType() const {
    return TEXT2D;
}

void SoGraphicText2D::set(const SbVec4f& newPoint, const SbColor& newColor,
                          const SbString& newFontName, float newSize, int newNumStrings,
                          const SbString* newStrings, float newSpacing, int newJustification,
                          float newAngle) {
    if (newNumStrings < 0 || (newNumStrings > 0 && !newStrings)) {
        SoDebugError::post("SoGraphicText2D::set", "%d strings with a null array: no text stored",
                           newNumStrings);
        newNumStrings = 0;
    }
    setAnchor(newPoint);
    color = newColor;
    fontName = newFontName;
    size = newSize;
    // Copied before the old array goes, so that a record can be set from its own strings.
    std::unique_ptr<SbString[]> copies(newNumStrings > 0 ? new SbString[newNumStrings] : nullptr);
    std::copy(newStrings, newStrings + newNumStrings, copies.get());
    strings = std::move(copies);
    numStrings = newNumStrings;
    spacing = newSpacing;
    justification = newJustification;
    angle = newAngle;
}

// The printers take Latin-1 text: characters beyond it print as '?'. Each line goes one line
// step lower, the step measured in page units of the nominal width.
void SoGraphicText2D::print(SoHLHSRVectorize* engine) {
    engine->projectPoints(&point, 1);
    const float lineStep = size * engine->getNominalWidth() * spacing;
    for (int i = 0; i < numStrings; ++i) {
        engine->printText2(point, color, fontName, size,
                           SbString::fromLatin1(strings[i].toLatin1()), justification, angle);
        point[1] -= lineStep;
    }
}

void SoGraphicText2D::render(std::uint32_t idColor) {
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    if (!gl.isComplete()) return;
    gl.PushAttrib(GL_POINT_BIT);
    gl.PointSize(size);
    beginIdColor(GL_POINTS, idColor);
    gl.Vertex3fv(point.getValue());
    gl.End();
    gl.PopAttrib();
}
