#include "SoGraphicImage.h"

#include <Tessara/base/SoDebugError.h>
#include <Tessara/nodes/SoImage.h>

#include "SoHLHSRGLFunctions.h"
#include "SoHLHSRVectorize.h"

namespace {
// Both alignments have three values, 0 to 2; anything else would not name an alignment.
int checkedAlignment(int value, const char* which) {
    if (value >= 0 && value <= 2) return value;
    SoDebugError::post("SoGraphicImage::set", "Invalid %s alignment %d: 0 used", which, value);
    return 0;
}
}  // namespace

int SoGraphicImage::getType() const {
    return IMAGE;
}

void SoGraphicImage::set(const SbVec4f& newPoint, const unsigned char* newData,
                         const SbVec2s& newSize, const SbVec2s& newSize2, int newNumComponents,
                         int newHorAlignment, int newVertAlignment) {
    setAnchor(newPoint);
    data = newData;
    size = newSize;
    size2 = newSize2;
    numComponents = newNumComponents;
    horAlignment = checkedAlignment(newHorAlignment, "horizontal");
    vertAlignment = checkedAlignment(newVertAlignment, "vertical");
}

void SoGraphicImage::print(SoHLHSRVectorize* engine) {
    engine->projectPoints(&point, 1);
    engine->printImage(point, data, size, size2, numComponents,
                       static_cast<SoImage::HorAlignment>(horAlignment),
                       static_cast<SoImage::VertAlignment>(vertAlignment));
}

void SoGraphicImage::render(std::uint32_t idColor) {
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    if (!gl.isComplete()) return;
    gl.PushAttrib(GL_POINT_BIT);
    gl.PointSize(static_cast<float>(size[0] * size[1]));
    beginIdColor(GL_POINTS, idColor);
    gl.Vertex3fv(point.getValue());
    gl.End();
    gl.PopAttrib();
}
