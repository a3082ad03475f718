#include "SoPolygon.h"

#include <Tessara/math/SbPolygonNormal.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "SoHLHSRGLFunctions.h"
#include "SoHLHSRVectorize.h"

namespace {
// Below this |normal . direction| an edge runs along the cutting plane: no usable cut point.
constexpr float PARALLEL_LIMIT = 0.0001f;

SbVec3f xyz(const SbVec4f& p) {
    const float* v = p.getValue();
    return SbVec3f(v[0], v[1], v[2]);
}

// A cut point lands exactly on a vertex when an edge ends on the plane; each side keeps one
// copy of such a point.
void addUnique(std::vector<SbVec4f>& side, const SbVec4f& p) {
    for (const SbVec4f& q : side) {
        if (q[0] == p[0] && q[1] == p[1] && q[2] == p[2]) return;
    }
    side.push_back(p);
}

// The offset render() applied last, shared by every polygon: switching it is a state change
// that most consecutive polygons can skip.
struct OffsetCache {
    bool known = false;
    float factor = 0.0f;
    float units = 0.0f;
};
OffsetCache lastOffset;
}  // namespace

int SoPolygon::getType() const {
    return POLYGON;
}

void SoPolygon::copyAttributes(const SoPrimitiveMultiPoints& other) {
    SoPrimitiveMultiPoints::copyAttributes(other);
    if (other.getType() != POLYGON) return;
    const auto& polygon = static_cast<const SoPolygon&>(other);
    drawStyle = polygon.drawStyle;
    markerSize = polygon.markerSize;
    lineWidth = polygon.lineWidth;
    linePattern = polygon.linePattern;
    linePatternScaleFactor = polygon.linePatternScaleFactor;
    string1 = polygon.string1;
    string2 = polygon.string2;
    pattern = polygon.pattern;
}

void SoPolygon::set(int n, const SbVec4f* newPoints, const SbColor* newColors, int newMulticolor,
                    float newLineWidth, float newMarkerSize, unsigned short newLinePattern,
                    int newLinePatternScaleFactor, int newDrawStyle, const SbString& newString1,
                    const SbString& newString2, const unsigned char* newPattern, float depthOffset,
                    float newOffsetFactor, float newOffsetUnits) {
    setPoints(n, newPoints, newColors, depthOffset);
    // From a quadrilateral on, the last point may close the outline: it takes the first
    // point's colour so that the closing edge does not bring a colour of its own.
    if (numPoints >= 4) colors[numPoints - 1] = colors[0];
    multicolor = newMulticolor;
    lineWidth = newLineWidth;
    markerSize = newMarkerSize;
    linePattern = newLinePattern;
    linePatternScaleFactor = newLinePatternScaleFactor;
    drawStyle = newDrawStyle;
    string1 = newString1;
    string2 = newString2;
    pattern = newPattern;
    offsetFactor = newOffsetFactor;
    offsetUnits = newOffsetUnits;
    normal.setValue(0.0f, 0.0f, 0.0f);
    computeNormal();
}

void SoPolygon::setOutline(int n, const SbVec4f* newPoints) {
    const std::vector<SbColor> sameColor(static_cast<size_t>(n), colors[0]);
    setPoints(n, newPoints, sameColor.data(), 0.0f);
    normal.setValue(0.0f, 0.0f, 0.0f);
    computeNormal();
}

// Newell's method: the normal of the plane that best fits all the points, weighted by the
// area they enclose. A normal from three points is noise when two of them are a rounding
// step apart, as cuts through an earlier cut point leave them, and the painter's plane
// tests would then judge by a random plane.
void SoPolygon::computeNormal() {
    if (numPoints <= 2) return;
    SbPolygonNormal newell;
    for (int i = 0; i < numPoints; ++i) newell.add(points[i][0], points[i][1], points[i][2]);
    normal = newell.getUnit();
    if (!std::isfinite(normal[0])) {
        normal.setValue(0.0f, 0.0f, 0.0f);
        return;
    }
    if (normal[2] > 0.0f) {
        reverseOrder();
        normal.negate();
    }
}

// Vertex 0 stays first, so the colour rule of set() and the first point of the plane keep
// their meaning; a closing duplicate of vertex 0 stays last.
void SoPolygon::reverseOrder() {
    int last = numPoints - 1;
    if (numPoints > 3 && points[last] == points[0]) --last;
    for (int i = 1; i < last; ++i, --last) {
        std::swap(points[i], points[last]);
        std::swap(colors[i], colors[last]);
    }
}

void SoPolygon::print(SoHLHSRVectorize* engine) {
    engine->projectPoints(points.get(), numPoints);
    switch (drawStyle) {
        case 0:
            engine->printPolygon(points.get(), numPoints, colors.get(), multicolor, string1,
                                 string2, pattern);
            break;
        case 1:
            engine->printPolyLine(points.get(), numPoints, colors.get(), multicolor, lineWidth,
                                  linePattern, linePatternScaleFactor);
            break;
        case 2:
            engine->printPolyMark(points.get(), numPoints, colors.get(), multicolor, markerSize);
            break;
        default:
            break;
    }
}

void SoPolygon::resetRenderState() {
    lastOffset = OffsetCache();
}

void SoPolygon::render(std::uint32_t idColor) {
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    if (!gl.isComplete()) return;
    if (!lastOffset.known || lastOffset.factor != offsetFactor || lastOffset.units != offsetUnits) {
        if (offsetFactor == 0.0f && offsetUnits == 0.0f)
            gl.Disable(GL_POLYGON_OFFSET_FILL);
        else
            gl.Enable(GL_POLYGON_OFFSET_FILL);
        lastOffset.known = true;
        lastOffset.factor = offsetFactor;
        lastOffset.units = offsetUnits;
        gl.PolygonOffset(offsetFactor, offsetUnits);
    }
    beginIdColor(GL_POLYGON, idColor);
    for (int i = 0; i < numPoints; ++i) gl.Vertex3fv(points[i].getValue());
    gl.End();
}

bool SoPolygon::cutBy(const SoPolygon& cutter, SoGraphicPrimitive*& front,
                      SoGraphicPrimitive*& back) const {
    return cutWith(*this, cutter, front, back);
}

// Walks the closed outline once. Vertices strictly on one side go to that side; an edge that
// reaches or crosses the plane adds its start and the crossing point to the start's side and
// the crossing point to the other side. A convex polygon crosses twice; anything else (no
// crossing, or a third one) is left whole.
int SoPolygon::split(const SoPolygon& cutter, SoPolygon*& front, SoPolygon*& back) const {
    front = back = nullptr;
    if (numPoints < 1 || cutter.numPoints < 1) return 0;
    const SbVec3f& n = cutter.normal;
    const SbVec3f c = xyz(cutter.points[0]);
    std::vector<SbVec4f> frontPoints, backPoints;
    frontPoints.reserve(2 * numPoints);
    backPoints.reserve(2 * numPoints);
    int crossings = 0;
    for (int k = 0; k < numPoints && crossings < 3; ++k) {
        const SbVec4f& a = points[k];
        const SbVec4f& b = points[(k + 1) % numPoints];
        const float sa = (xyz(a) - c).dot(n);
        const float sb = (xyz(b) - c).dot(n);
        if (sa * sb > 0.0f) {
            (sa > 0.0f ? frontPoints : backPoints).push_back(a);
            continue;
        }
        ++crossings;
        SbVec4f x;
        if (sa * sb != 0.0f) {
            SbVec3f dir = xyz(b) - xyz(a);
            dir.normalize();
            const float nd = n.dot(dir);
            if (std::fabs(nd) < PARALLEL_LIMIT) return 0;
            const float t = -(n.dot(xyz(a)) - n.dot(c)) / nd;
            const SbVec3f cut = xyz(a) + t * dir;
            x.setValue(cut[0], cut[1], cut[2], 1.0f);
        } else {
            x = std::fabs(sb) > std::fabs(sa) ? a : b;
            x[3] = 1.0f;
        }
        std::vector<SbVec4f>& own = sa <= 0.0f ? backPoints : frontPoints;
        std::vector<SbVec4f>& other = sa <= 0.0f ? frontPoints : backPoints;
        addUnique(own, a);
        addUnique(own, x);
        addUnique(other, x);
    }
    if (crossings != 2 || frontPoints.size() < 3 || backPoints.size() < 3) return 0;

    // The pieces read this polygon's colours index by index. A piece can have one point more
    // than the polygon; that point is its last and takes the first colour anyway, so reading
    // stops at the last colour there is.
    const int pieceMax = static_cast<int>(std::max(frontPoints.size(), backPoints.size()));
    std::vector<SbColor> pieceColors(pieceMax);
    for (int k = 0; k < pieceMax; ++k) pieceColors[k] = colors[std::min(k, numPoints - 1)];
    SoPolygon* pieces[2] = {new SoPolygon, new SoPolygon};
    const std::vector<SbVec4f>* sides[2] = {&frontPoints, &backPoints};
    for (int s = 0; s < 2; ++s) {
        pieces[s]->set(static_cast<int>(sides[s]->size()), sides[s]->data(), pieceColors.data(),
                       multicolor, lineWidth, markerSize, linePattern, linePatternScaleFactor,
                       drawStyle, string1, string2, pattern, 0.0f, 0.0f, 0.0f);
        pieces[s]->id = id;
    }
    front = pieces[0];
    back = pieces[1];
    return 1;
}
