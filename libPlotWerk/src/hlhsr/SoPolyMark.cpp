#include "SoPolyMark.h"

#include <utility>
#include <vector>

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

// One colour serves all points unless multicolor: it stays the first.
void SoPolyMark::keepOnly(const char* keep) {
    std::vector<SbVec4f> keptPoints;
    std::vector<SbColor> keptColors;
    std::vector<std::int32_t> keptMarkers;
    for (int i = 0; i < numPoints; ++i) {
        if (!keep[i]) continue;
        keptPoints.push_back(points[i]);
        keptColors.push_back(multicolor ? colors[i] : colors[0]);
        if (!markers.empty()) keptMarkers.push_back(markers[static_cast<size_t>(i)]);
    }
    if (static_cast<int>(keptPoints.size()) == numPoints) return;
    setPoints(static_cast<int>(keptPoints.size()), keptPoints.data(), keptColors.data(), 0.0f);
    markers = std::move(keptMarkers);
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
