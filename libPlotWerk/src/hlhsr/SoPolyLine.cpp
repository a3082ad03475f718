#include "SoPolyLine.h"

#include <algorithm>

#include "SoHLHSRGLFunctions.h"
#include "SoHLHSRVectorize.h"
#include "SoPolygon.h"

namespace {
SbVec3f xyz(const SbVec4f& p) {
    const float* v = p.getValue();
    return SbVec3f(v[0], v[1], v[2]);
}
}  // namespace

int SoPolyLine::getType() const {
    return POLYLINE;
}

void SoPolyLine::copyAttributes(const SoPrimitiveMultiPoints& other) {
    SoPrimitiveMultiPoints::copyAttributes(other);
    if (other.getType() != POLYLINE) return;
    const auto& line = static_cast<const SoPolyLine&>(other);
    lineWidth = line.lineWidth;
    linePattern = line.linePattern;
    linePatternScaleFactor = line.linePatternScaleFactor;
}

void SoPolyLine::set(int n, const SbVec4f* newPoints, const SbColor* newColors, int newMulticolor,
                     float newLineWidth, unsigned short newLinePattern,
                     int newLinePatternScaleFactor, float depthOffset) {
    setPoints(n, newPoints, newColors, depthOffset);
    multicolor = newMulticolor;
    lineWidth = newLineWidth;
    linePattern = newLinePattern;
    linePatternScaleFactor = newLinePatternScaleFactor;
}

void SoPolyLine::print(SoHLHSRVectorize* engine) {
    engine->projectPoints(points.get(), numPoints);
    engine->printPolyLine(points.get(), numPoints, colors.get(), multicolor, lineWidth, linePattern,
                          linePatternScaleFactor, patternPhase);
}

void SoPolyLine::render(std::uint32_t idColor) {
    if (!beginIdColor(GL_LINE_LOOP, idColor)) return;
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    for (int i = 0; i < numPoints; ++i) gl.Vertex3fv(points[i].getValue());
    gl.End();
}

bool SoPolyLine::cutBy(const SoPolygon& cutter, SoGraphicPrimitive*& front,
                       SoGraphicPrimitive*& back) const {
    return cutWith(*this, cutter, front, back);
}

// The cut point is found along p0 - p1; which end lies on the viewer's side decides which
// piece is the front one. Both pieces keep the segment's two colours in index order.
int SoPolyLine::split(const SoPolygon& cutter, SoPolyLine*& front, SoPolyLine*& back) const {
    front = back = nullptr;
    if (numPoints != 2 || cutter.numPoints < 1) return 0;
    const SbVec3f& n = cutter.normal;
    const SbVec3f c = xyz(cutter.points[0]);
    const SbVec3f p0 = xyz(points[0]);
    const SbVec3f p1 = xyz(points[1]);
    const SbVec3f dir = p0 - p1;
    const float nd = n.dot(dir);
    if (nd == 0.0f) return 0;
    const float t = -(n.dot(p0) - n.dot(c)) / nd;
    const SbVec3f cut = p0 + t * dir;
    const SbVec4f x(cut[0], cut[1], cut[2], 1.0f);
    const SbVec4f firstPoints[2] = {points[0], x};
    const SbVec4f secondPoints[2] = {x, points[1]};
    auto* first = new SoPolyLine;
    auto* second = new SoPolyLine;
    first->set(2, firstPoints, colors.get(), multicolor, lineWidth, linePattern,
               linePatternScaleFactor, 0.0f);
    second->set(2, secondPoints, colors.get(), multicolor, lineWidth, linePattern,
                linePatternScaleFactor, 0.0f);
    // The cut lies the fraction -t of the way from p0 to p1, on the drawing as in depth.
    const float along = std::min(std::max(-t, 0.0f), 1.0f) * patternLength;
    first->patternPhase = patternPhase;
    first->patternLength = along;
    second->patternPhase = patternPhase + along;
    second->patternLength = patternLength - along;
    first->id = second->id = id;
    const bool firstInFront = n.dot(p0 - c) >= 0.0f;
    front = firstInFront ? first : second;
    back = firstInFront ? second : first;
    return 1;
}
