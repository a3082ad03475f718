#include "SoPolyMark.h"

#include "SoHLHSRGLFunctions.h"
#include "SoHLHSRVectorize.h"

int SoPolyMark::getType() const {
    return POLYMARK;
}

void SoPolyMark::set(int n, const SbVec4f* newPoints, const SbColor* newColors, int newMulticolor,
                     float newMarkerSize, const std::int32_t* newMarkers, float depthOffset) {
    setPoints(n, newPoints, newColors, depthOffset);
    multicolor = newMulticolor;
    markerSize = newMarkerSize;
    if (newMarkers && n > 0)
        markers.assign(newMarkers, newMarkers + n);
    else
        markers.clear();
}

void SoPolyMark::print(SoHLHSRVectorize* engine) {
    engine->projectPoints(points.get(), numPoints);
    if (!markers.empty())
        engine->printMarkers(points.get(), numPoints, colors.get(), multicolor, markers.data());
    else
        engine->printPolyMark(points.get(), numPoints, colors.get(), multicolor, markerSize);
}

void SoPolyMark::render(std::uint32_t idColor) {
    if (!beginIdColor(GL_POINTS, idColor)) return;
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    for (int i = 0; i < numPoints; ++i) gl.Vertex3fv(points[i].getValue());
    gl.End();
}
