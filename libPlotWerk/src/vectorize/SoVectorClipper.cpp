// Clipping of the captured primitives against the view volume, and the output stage that
// puts each surviving piece on the page.
//
// Points arrive in clip coordinates (row vector times model × viewing × projection, not
// divided). Everything in front of the near plane is removed first, on undivided values;
// then the points are divided by w and cut or culled against x, y in [-1, 1] and z <= 1.
// Every inside test includes its limit, and every cut puts the cut coordinate exactly on the
// limit so that pieces meeting at an edge of the view share that edge on paper.

#include "SoVectorClipper.h"

#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/elements/SoAnnoText3CharOrientElement.h>
#include <Tessara/elements/SoAnnoText3FontSizeHintElement.h>
#include <Tessara/elements/SoDrawStyleElement.h>
#include <Tessara/elements/SoPatternElement.h>
#include <Tessara/elements/SoPolygonOffsetElement.h>
#include <Tessara/math/SbViewVolume.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <Tessara/nodes/SoText2.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "hlhsr/SoHLHSRVectorize.h"

namespace {
// A captured triangle, one extra vertex per clipping plane and the closing vertex.
constexpr int POLYGON_WORKING_SIZE = 10;
// The upper limit, in millimetres, of annotation text printed as 2D text.
constexpr const char* MAX_ANNO_SIZE_KEY = "VXN_MAX_ANNO_RENDER2D_SIZE";
constexpr int MAX_ANNO_SIZE_DEFAULT = 1000;

SbColor lerp(const SbColor& a, const SbColor& b, float t) {
    return SbColor(a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]), a[2] + t * (b[2] - a[2]));
}

SbVec4f lerp(const SbVec4f& a, const SbVec4f& b, float t) {
    return a + t * (b - a);
}

// A fixed order of points, to work an edge from the same end whichever way it runs.
bool comesBefore(const SbVec4f& p, const SbVec4f& q) {
    return std::lexicographical_compare(p.getValue(), p.getValue() + 4, q.getValue(),
                                        q.getValue() + 4);
}

float pageDistance(const SbVec4f& a, const SbVec4f& b) {
    return std::hypot(b[0] - a[0], b[1] - a[1]);
}

// A face narrower than this, in the normalised view (2 across), and than a hundredth of its
// longest edge covers no pixel on the screen: its corners lie on one line, up to rounding,
// as where a mesh's triangulation leaves collinear corners, or the face is seen edge on.
// Filled, it would print as a hairline, and black where its normal is undefined; in a line
// drawing its normal would part the faces it joins at a T. A small face of good shape keeps
// its place, however small.
constexpr double NO_WIDTH = 1e-5;
constexpr double NO_WIDTH_SHARE = 0.01;

// The polygons here are convex: triangles, clipped.
bool hasNoWidth(const SbVec4f* points, int n) {
    double twiceArea = 0.0, longest = 0.0;
    for (int k = 0; k < n; ++k) {
        const SbVec4f& a = points[k];
        const SbVec4f& b = points[(k + 1) % n];
        twiceArea += double(a[0]) * b[1] - double(b[0]) * a[1];
        longest = std::max(longest, std::hypot(double(b[0]) - a[0], double(b[1]) - a[1]));
    }
    const double width = std::fabs(twiceArea) / longest;
    return width < NO_WIDTH && width < NO_WIDTH_SHARE * longest;
}

short toShort(int value) {
    return static_cast<short>(std::clamp(value, -32768, 32767));
}
}  // namespace

SoVectorClipper::SoVectorClipper(SoVectorizeAction* owner)
    : action_(owner),
      polygonPoints_(POLYGON_WORKING_SIZE),
      polygonColors_(POLYGON_WORKING_SIZE),
      passPoints_(POLYGON_WORKING_SIZE),
      passColors_(POLYGON_WORKING_SIZE) {}

// ---- Shared pieces ----

// The near limit: the clip-space image of the near plane's centre. A negative near distance
// (an orthographic camera that sees behind its position) is used as the limit itself.
SbVec4f SoVectorClipper::computeNearReference(SoCallbackAction* cba) const {
    const float nearDist = cba->getViewVolume().getNearDist();
    SbVec4f reference(0.0f, 0.0f, 0.0f, 1.0f);
    if (nearDist >= 0.0f) {
        // Transformed the way every vertex is (p × M): its z is then exactly what a point on
        // the near plane gets, so nothing between the near plane and the far plane is lost.
        reference[2] = -nearDist;
        SbVec4f clip;
        cba->getProjectionMatrix().multVecMatrix(reference, clip);
        reference = clip;
    } else {
        reference[2] = nearDist;
    }
    return reference;
}

SoVectorClipper::Plane SoVectorClipper::linePlane(int which) const {
    const float width = action_->getNormalizedWidth();
    const float height = action_->getNormalizedHeight();
    switch (which) {
        case X_MIN:
            return Plane{0, -width, true};
        case X_MAX:
            return Plane{0, width, false};
        case Y_MIN:
            return Plane{1, -height, true};
        case Y_MAX:
            return Plane{1, height, false};
        default:
            return Plane{2, 1.0f, false};
    }
}

void SoVectorClipper::cut(const Plane& plane, const SbVec4f& a, const SbVec4f& b,
                          const SbColor& colorA, const SbColor& colorB, int interpolate,
                          SbVec4f& point, SbColor& color) const {
    // Two polygons that share an edge run it opposite ways; cut from its other end, the
    // point would differ in its last bits, and hidden-line drawings would take the two
    // pieces for two edges.
    if (comesBefore(b, a)) {
        cut(plane, b, a, colorB, colorA, interpolate, point, color);
        return;
    }
    const float t = (plane.limit - a[plane.axis]) / (b[plane.axis] - a[plane.axis]);
    SbVec4f result = lerp(a, b, t);
    result[plane.axis] = plane.limit;
    if (interpolate) color = lerp(colorA, colorB, t);
    point = result;
}

// The near cut keeps x and y on the undivided line and puts the point on the near reference
// itself, w included, so that its division lands exactly on the near plane.
void SoVectorClipper::cutNear(const SbVec4f& a, const SbVec4f& b, const SbColor& colorA,
                              const SbColor& colorB, int interpolate, SbVec4f& point,
                              SbColor& color) const {
    if (comesBefore(b, a)) {  // as in cut
        cutNear(b, a, colorB, colorA, interpolate, point, color);
        return;
    }
    const float t = (nearReference_[2] - a[2]) / (b[2] - a[2]);
    const SbVec4f result(a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]), nearReference_[2],
                         nearReference_[3]);
    if (interpolate) color = lerp(colorA, colorB, t);
    point = result;
}

// A point with w = 0 has no place in the view; it keeps its coordinates rather than turn
// into infinities that would travel to the output file.
void SoVectorClipper::divideByW(SbVec4f* points, int n) {
    for (int i = 0; i < n; ++i) {
        SbVec4f& p = points[i];
        if (p[3] != 0.0f) p.setValue(p[0] / p[3], p[1] / p[3], p[2] / p[3], 1.0f);
        p[3] = 1.0f;
    }
}

// One policy for every backend, applied here before any backend sees a point: a point with a
// coordinate that is no finite number is left out. Marks lose that point, polylines break
// there, and polygons, texts and images, whose shape or place it decides, are left out
// whole. Written as 0 it would draw a spike to the corner of the page; in relative or
// encoded steps it would shift everything after it.
bool SoVectorClipper::finite(const SbVec4f& point) {
    return std::isfinite(point[0]) && std::isfinite(point[1]) && std::isfinite(point[2]) &&
           std::isfinite(point[3]);
}

bool SoVectorClipper::leavesOut(const char* where, const SbVec4f* points, int n) {
    bool nan = false, infinite = false;
    for (int i = 0; i < n; ++i) {
        for (int c = 0; c < 4; ++c) {
            nan = nan || std::isnan(points[i][c]);
            infinite = infinite || std::isinf(points[i][c]);
        }
    }
    if (!nan && !infinite) return false;
    SoDebugError::post(where, "%s - Point coordinates contain %s", where,
                       nan ? "a NaN" : "an infinity");
    return true;
}

int SoVectorClipper::differsFromFirst(const SbColor* colors, int n) {
    for (int i = 1; i < n; ++i) {
        if (colors[i] != colors[0]) return 1;
    }
    return 0;
}

// With a hidden-line mode the pieces go, still normalised, to the engine, which prints
// them later in its own order; without one they go straight to the page.
SoHLHSRVectorize* SoVectorClipper::engine() const {
    return action_->getHLHSRVectorize();
}

// ---- Polygons ----

void SoVectorClipper::clipPolygon(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors,
                                  const SbVec3f* normals) {
    if (n <= 0) return;
    if (!cba || !points || !colors) {
        SoDebugError::post("SoVectorizeAction::clipPolygon", "Null argument: nothing drawn");
        return;
    }
    if (leavesOut("SoVectorizeAction::clipPolygon", points, n)) return;
    polygonMulticolor_ =
        action_->shadeModel_ != SoVectorizeAction::FLAT ? differsFromFirst(colors, n) : 0;
    nearReference_ = computeNearReference(cba);

    if (static_cast<int>(polygonPoints_.size()) < n + 1) {
        polygonPoints_.resize(n + 1);
        polygonColors_.resize(n + 1);
    }
    std::copy(points, points + n, polygonPoints_.begin());
    std::copy(colors, colors + n, polygonColors_.begin());
    polygonCount_ = n;
    withNormals_ = normals != nullptr;
    if (withNormals_) polygonNormals_.assign(normals, normals + n);

    if (clipPolygonPass(nearPlane(), true) == 0) return;
    divideByW(polygonPoints_.data(), polygonCount_);
    for (int which : {X_MIN, Y_MIN, X_MAX, Y_MAX, FAR_PLANE}) {
        if (clipPolygonPass(linePlane(which), false) == 0) return;
    }
    emitPolygon(cba, colors[0]);
}

// One Sutherland-Hodgman pass over the closed polygon; the result replaces the polygon.
int SoVectorClipper::clipPolygonPass(const Plane& plane, bool isNear) {
    const int n = polygonCount_;
    // Most polygons lie wholly inside; the pass would hand them back unchanged.
    bool allInside = true;
    for (int k = 0; k < n && allInside; ++k) allInside = plane.inside(polygonPoints_[k]);
    if (allInside) return n;
    // A convex polygon gains at most one vertex per pass; 2n covers any input at all.
    if (static_cast<int>(passPoints_.size()) < 2 * n + 1) {
        passPoints_.resize(2 * n + 1);
        passColors_.resize(2 * n + 1);
    }
    if (withNormals_) passNormals_.resize(static_cast<size_t>(2 * n + 1));
    polygonPoints_[n] = polygonPoints_[0];
    polygonColors_[n] = polygonColors_[0];
    int out = 0;
    for (int k = 0; k < n; ++k) {
        const SbVec4f& a = polygonPoints_[k];
        const SbVec4f& b = polygonPoints_[k + 1];
        const bool aInside = plane.inside(a);
        if (aInside) {
            if (withNormals_) passNormals_[out] = polygonNormals_[k];
            passPoints_[out] = a;
            passColors_[out++] = polygonColors_[k];
        }
        if (aInside != plane.inside(b)) {
            // A cut point has no normal of its own; the edge's other end speaks for it.
            if (withNormals_) passNormals_[out] = SbVec3f(0, 0, 0);
            passColors_[out] = polygonColors_[k];
            if (isNear)
                cutNear(a, b, polygonColors_[k], polygonColors_[k + 1], polygonMulticolor_,
                        passPoints_[out], passColors_[out]);
            else
                cut(plane, a, b, polygonColors_[k], polygonColors_[k + 1], polygonMulticolor_,
                    passPoints_[out], passColors_[out]);
            ++out;
        }
    }
    std::swap(polygonPoints_, passPoints_);
    std::swap(polygonColors_, passColors_);
    std::swap(polygonNormals_, passNormals_);
    // Keep room for the next pass's closing vertex (and an outline's repeated first point).
    if (static_cast<int>(polygonPoints_.size()) < out + 1) {
        polygonPoints_.resize(out + 1);
        polygonColors_.resize(out + 1);
    }
    polygonCount_ = out;
    return out;
}

void SoVectorClipper::emitPolygon(SoCallbackAction* cba, const SbColor& firstColor) {
    const int style = cba->getDrawStyle();
    if (style == SoDrawStyleElement::INVISIBLE) return;
    if (style == SoDrawStyleElement::LINES && cba->getLinePattern() == 0) return;
    if (style != SoDrawStyleElement::FILLED && style != SoDrawStyleElement::LINES &&
        style != SoDrawStyleElement::POINTS)
        return;

    int n = polygonCount_;
    SbVec4f* points = polygonPoints_.data();
    SbColor* colors = polygonColors_.data();
    // One colour stands for the whole polygon: the one its first captured vertex had.
    if (!polygonMulticolor_) colors[0] = firstColor;
    SbString category, name;
    const unsigned char* mask = nullptr;
    float offsetFactor = 0.0f, offsetUnits = 0.0f;
    if (style == SoDrawStyleElement::FILLED) {
        if (hasNoWidth(points, n)) return;
        SoPatternElement::get(cba->getState(), category, name, mask);
        polygonOffsetOf(cba, offsetFactor, offsetUnits);
    } else if (style == SoDrawStyleElement::LINES) {
        // The outline closes on its first point; the working arrays keep a slot for it.
        points[n] = points[0];
        colors[n] = colors[0];
        ++n;
    }
    if (SoHLHSRVectorize* hlhsr = engine()) {
        hlhsr->addPolygon(
            points, n, colors, polygonMulticolor_, cba->getLineWidth(), cba->getPointSize(),
            cba->getLinePattern(), cba->getLinePatternScaleFactor(), engineStyleOf(style), category,
            name, mask, offsetFactor, offsetUnits,
            withNormals_ && style == SoDrawStyleElement::FILLED ? polygonNormals_.data() : nullptr);
        return;
    }
    action_->projectPoints(points, n);
    if (style == SoDrawStyleElement::FILLED)
        action_->printPolygon(points, n, colors, polygonMulticolor_, category, name, mask);
    else if (style == SoDrawStyleElement::LINES)
        action_->printPolyLine(points, n, colors, polygonMulticolor_, cba->getLineWidth(),
                               cba->getLinePattern(), cba->getLinePatternScaleFactor());
    else
        action_->printPolyMark(points, n, colors, polygonMulticolor_, cba->getPointSize());
}

// The engine's polygon styles: 0 filled, 1 outline, 2 vertices as dots.
int SoVectorClipper::engineStyleOf(int drawStyle) {
    if (drawStyle == SoDrawStyleElement::LINES) return 1;
    if (drawStyle == SoDrawStyleElement::POINTS) return 2;
    return 0;
}

// The offscreen visibility pass draws filled polygons with the offset the scene asked for;
// only an offset that is on and applies to filled faces counts.
void SoVectorClipper::polygonOffsetOf(SoCallbackAction* cba, float& factor, float& units) {
    int styles = 0;
    bool on = false;
    SoPolygonOffsetElement::get(cba->getState(), factor, units, styles, on);
    if (!on || !(styles & SoPolygonOffsetElement::FILLED)) factor = units = 0.0f;
}

// ---- Polylines ----

// The near plane splits the polyline into runs; each run is divided by w and goes down the
// chain of planes. The exit cut of a run overwrites the first point behind it, so that point
// is saved and put back before the walk goes on from it.
void SoVectorClipper::clipPolyLine(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors) {
    if (n <= 0) return;
    if (!cba || !points || !colors) {
        SoDebugError::post("SoVectorizeAction::clipPolyLine", "Null argument: nothing drawn");
        return;
    }
    if (leavesOut("SoVectorizeAction::clipPolyLine", points, n)) {
        for (int start = 0; start < n;) {
            int end = start;
            while (end < n && finite(points[end])) ++end;
            if (end - start > 1) clipPolyLine(cba, points + start, end - start, colors + start);
            start = end + 1;
        }
        return;
    }
    const int multicolor = differsFromFirst(colors, n);
    nearReference_ = computeNearReference(cba);

    int i = 0;
    while (i < n) {
        while (i < n && inFront(points[i])) ++i;
        if (i == n) return;
        int start = i;
        if (i > 0) {
            cutNear(points[i - 1], points[i], colors[i - 1], colors[i], multicolor, points[i - 1],
                    colors[i - 1]);
            start = i - 1;
        }
        int k = i;
        while (k < n && !inFront(points[k])) ++k;
        if (k == n) {
            divideByW(points + start, n - start);
            clipPolyLineFar(cba, points + start, n - start, colors + start, multicolor);
            return;
        }
        const SbVec4f savedPoint = points[k];
        const SbColor savedColor = colors[k];
        cutNear(points[k - 1], points[k], colors[k - 1], colors[k], multicolor, points[k],
                colors[k]);
        divideByW(points + start, k - start + 1);
        clipPolyLineFar(cba, points + start, k - start + 1, colors + start, multicolor);
        points[k] = savedPoint;
        colors[k] = savedColor;
        i = k;
    }
}

void SoVectorClipper::clipPolyLineFar(SoCallbackAction* cba, SbVec4f* points, int n,
                                      SbColor* colors, int multicolor) {
    splitRuns(cba, FAR_PLANE, points, n, colors, multicolor);
}

void SoVectorClipper::clipPolyLineXMin(SoCallbackAction* cba, SbVec4f* points, int n,
                                       SbColor* colors, int multicolor) {
    splitRuns(cba, X_MIN, points, n, colors, multicolor);
}

void SoVectorClipper::clipPolyLineXMax(SoCallbackAction* cba, SbVec4f* points, int n,
                                       SbColor* colors, int multicolor) {
    splitRuns(cba, X_MAX, points, n, colors, multicolor);
}

void SoVectorClipper::clipPolyLineYMin(SoCallbackAction* cba, SbVec4f* points, int n,
                                       SbColor* colors, int multicolor) {
    splitRuns(cba, Y_MIN, points, n, colors, multicolor);
}

void SoVectorClipper::clipPolyLineYMax(SoCallbackAction* cba, SbVec4f* points, int n,
                                       SbColor* colors, int multicolor) {
    splitRuns(cba, Y_MAX, points, n, colors, multicolor);
}

// The run splitting of the near plane, for one plane of the divided volume. A run is the
// entry cut (or the first point), the inside points and the exit cut (or the last point).
void SoVectorClipper::splitRuns(SoCallbackAction* cba, int which, SbVec4f* points, int n,
                                SbColor* colors, int multicolor) {
    const Plane plane = linePlane(which);
    int i = 0;
    while (i < n) {
        while (i < n && !plane.inside(points[i])) ++i;
        if (i == n) return;
        int start = i;
        if (i > 0) {
            cut(plane, points[i - 1], points[i], colors[i - 1], colors[i], multicolor,
                points[i - 1], colors[i - 1]);
            start = i - 1;
        }
        int k = i;
        while (k < n && plane.inside(points[k])) ++k;
        if (k == n) {
            passRunOn(cba, which, points + start, n - start, colors + start, multicolor);
            return;
        }
        const SbVec4f savedPoint = points[k];
        const SbColor savedColor = colors[k];
        cut(plane, points[k - 1], points[k], colors[k - 1], colors[k], multicolor, points[k],
            colors[k]);
        passRunOn(cba, which, points + start, k - start + 1, colors + start, multicolor);
        points[k] = savedPoint;
        colors[k] = savedColor;
        i = k;
    }
}

void SoVectorClipper::passRunOn(SoCallbackAction* cba, int which, SbVec4f* points, int n,
                                SbColor* colors, int multicolor) {
    switch (which) {
        case FAR_PLANE:
            clipPolyLineXMin(cba, points, n, colors, multicolor);
            break;
        case X_MIN:
            clipPolyLineXMax(cba, points, n, colors, multicolor);
            break;
        case X_MAX:
            clipPolyLineYMin(cba, points, n, colors, multicolor);
            break;
        case Y_MIN:
            clipPolyLineYMax(cba, points, n, colors, multicolor);
            break;
        default:
            emitPolyLine(cba, points, n, colors, multicolor);
            break;
    }
}

void SoVectorClipper::emitPolyLine(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors,
                                   int multicolor) {
    const int style = cba->getDrawStyle();
    if (style == SoDrawStyleElement::INVISIBLE) return;
    if (style == SoDrawStyleElement::LINES && cba->getLinePattern() == 0) return;
    const bool asLine = style == SoDrawStyleElement::FILLED || style == SoDrawStyleElement::LINES;
    if (!asLine && style != SoDrawStyleElement::POINTS) return;

    if (SoHLHSRVectorize* hlhsr = engine()) {
        if (asLine)
            hlhsr->addPolyLine(points, n, colors, multicolor, cba->getLineWidth(),
                               cba->getLinePattern(), cba->getLinePatternScaleFactor());
        else
            hlhsr->addPolyMark(points, n, colors, multicolor, cba->getPointSize(), nullptr);
        return;
    }
    action_->projectPoints(points, n);
    if (asLine)
        action_->printPolyLine(points, n, colors, multicolor, cba->getLineWidth(),
                               cba->getLinePattern(), cba->getLinePatternScaleFactor());
    else
        action_->printPolyMark(points, n, colors, multicolor, cba->getPointSize());
}

// ---- Marks ----

void SoVectorClipper::clipPolyMark(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors,
                                   SoMarkerSet* markerSet, const int* ordinals) {
    if (n <= 0) return;
    if (!cba || !points || !colors) {
        SoDebugError::post("SoVectorizeAction::clipPolyMark", "Null argument: nothing drawn");
        return;
    }
    // Each point's marker is fixed before any point is dropped.
    markers_.clear();
    if (markerSet) {
        markers_ = SoPointMarkers::of(*markerSet, ordinals, n);
        if (markers_.empty()) return;
    }
    if (leavesOut("SoVectorizeAction::clipPolyMark", points, n)) {
        n = keepMarks(points, colors, n, [&](int i) { return finite(points[i]); });
        if (n == 0) return;
    }
    if (cba->getDrawStyle() == SoDrawStyleElement::INVISIBLE) return;
    const int multicolor = differsFromFirst(colors, n);
    nearReference_ = computeNearReference(cba);
    const int kept = keepMarks(points, colors, n, [&](int i) { return !inFront(points[i]); });
    divideByW(points, kept);
    const float width = action_->getNormalizedWidth();
    const float height = action_->getNormalizedHeight();
    const int visible = keepMarks(points, colors, kept, [&](int i) {
        const SbVec4f& p = points[i];
        return p[2] <= 1.0f && p[0] >= -width && p[0] <= width && p[1] >= -height && p[1] <= height;
    });
    if (visible == 0) return;
    SoMarkerSet* printed = markerSet ? pointMarkers_.holding(markers_.data(), visible) : nullptr;
    if (SoHLHSRVectorize* hlhsr = engine()) {
        hlhsr->addPolyMark(points, visible, colors, multicolor, cba->getPointSize(), printed);
        return;
    }
    action_->projectPoints(points, visible);
    if (printed)
        action_->printPolyMark(points, visible, colors, multicolor, printed);
    else
        action_->printPolyMark(points, visible, colors, multicolor, cba->getPointSize());
}

template <class Keep>
int SoVectorClipper::keepMarks(SbVec4f* points, SbColor* colors, int n, Keep keep) {
    const bool withMarkers = !markers_.empty();
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        if (!keep(i)) continue;
        points[kept] = points[i];
        colors[kept] = colors[i];
        if (withMarkers)
            markers_[static_cast<std::size_t>(kept)] = markers_[static_cast<std::size_t>(i)];
        ++kept;
    }
    return kept;
}

// ---- Text ----

// The anchor decides for the whole text: glyphs that would reach into the view from an
// anchor outside it are not drawn. The anchor is left divided by w.
bool SoVectorClipper::keepsAnchor(SbVec4f& origin) const {
    if (inFront(origin)) return false;
    divideByW(&origin, 1);
    const float width = action_->getNormalizedWidth();
    const float height = action_->getNormalizedHeight();
    return origin[2] <= 1.0f && origin[0] >= -width && origin[0] <= width && origin[1] >= -height &&
           origin[1] <= height;
}

void SoVectorClipper::clipText(SoCallbackAction* cba, const SbVec4f& origin, const SbColor& color,
                               SoNode* textNode, int isAnnotation) {
    if (!cba || !textNode) {
        SoDebugError::post("SoVectorizeAction::clipText", "Null argument: nothing drawn");
        return;
    }
    if (!textNode->isOfType(SoText2::getClassTypeId()) &&
        !textNode->isOfType(SoAnnoText3::getClassTypeId())) {
        SoDebugError::post("SoVectorizeAction::clipText",
                           "Node of type %s is not a 2D or annotation text: nothing drawn",
                           textNode->getTypeId().getName().getString());
        return;
    }
    if (leavesOut("SoVectorizeAction::clipText", &origin, 1)) return;
    nearReference_ = computeNearReference(cba);
    SbVec4f anchor = origin;
    if (!keepsAnchor(anchor)) return;
    emitText(cba, anchor, color, textNode, isAnnotation);
}

namespace {
// The fields that lay out the lines, common to both kinds of text node.
struct TextLayout {
    const SoMFString* strings;
    float spacing;
    int justification;
};

TextLayout layoutOf(SoNode* textNode) {
    if (textNode->isOfType(SoText2::getClassTypeId())) {
        auto* text = static_cast<SoText2*>(textNode);
        return {&text->string, text->spacing.getValue(), text->justification.getValue()};
    }
    auto* text = static_cast<SoAnnoText3*>(textNode);
    return {&text->string, text->spacing.getValue(), text->justification.getValue()};
}
}  // namespace

void SoVectorClipper::emitText(SoCallbackAction* cba, SbVec4f origin, const SbColor& color,
                               SoNode* textNode, int isAnnotation) {
    float angle = 0.0f;
    float fontSize = cba->getFontSize();
    // As on the screen: a size that is no size draws no text, and would reach the files as
    // "nan" or a negative height. Annotation text measures its size on the page instead.
    if (!isAnnotation && (!(fontSize > 0.0f) || std::isinf(fontSize))) {
        SoDebugError::postWarning("SoVectorizeAction::clipText",
                                  "Font size %g is not positive; no text drawn", double(fontSize));
        return;
    }
    if (isAnnotation) fontSize = computeFontSizeAngleViewing(cba, fontSize, angle);
    const float nominal = action_->getNominalWidth(SoVectorizeAction::MILLIMETER);
    if (fontSize * nominal > SoVectorizeAction::kLongestLength) {
        SoDebugError::postWarning(
            "SoVectorizeAction::clipText", "Text of %g mm is beyond any sheet: %g mm printed",
            double(fontSize * nominal), double(SoVectorizeAction::kLongestLength));
        fontSize = SoVectorizeAction::kLongestLength / nominal;
    }

    const TextLayout layout = layoutOf(textNode);
    const SbString fontName(cba->getFontName().getString());
    if (SoHLHSRVectorize* hlhsr = engine()) {
        hlhsr->addText(origin, color, fontName, fontSize, layout.strings->getNum(),
                       layout.strings->getValues(0), layout.spacing, layout.justification, angle);
        return;
    }
    const float lineStep = fontSize * nominal * layout.spacing;
    action_->projectPoints(&origin, 1);
    for (int i = 0; i < layout.strings->getNum(); ++i) {
        action_->printText2(origin, color, fontName, fontSize, (*layout.strings)[i],
                            layout.justification, angle);
        origin[1] -= lineStep;
    }
}

// The printed size of annotation text follows what a font-size long step along the text's
// axes measures on the page, so that it matches the size the text has on screen.
float SoVectorClipper::computeFontSizeAngleViewing(SoCallbackAction* cba, float fontSize,
                                                   float& angle) {
    if (!cba) {
        SoDebugError::post("SoVectorizeAction::computeFontSizeAngleViewing",
                           "Null callback action: size 1 used");
        angle = 0.0f;
        return 1.0f / action_->getNominalWidth(SoVectorizeAction::MILLIMETER);
    }
    SoState* state = cba->getState();
    const bool fitHint =
        SoAnnoText3FontSizeHintElement::get(state) != SoAnnoText3FontSizeHintElement::ANNOTATION;
    SbVec4f p[4] = {SbVec4f(0, 0, 0, 1), SbVec4f(fontSize, 0, 0, 1), SbVec4f(0, fontSize, 0, 1),
                    SbVec4f(0, 0, fontSize, 1)};
    const int count = fitHint ? 3 : 4;
    const SbMatrix toClip =
        cba->getModelMatrix() * cba->getViewingMatrix() * cba->getProjectionMatrix();
    for (int i = 0; i < count; ++i) toClip.multVecMatrix(p[i], p[i]);
    divideByW(p, count);

    angle = SoAnnoText3CharOrientElement::get(state)
                ? std::atan2(p[1][1] - p[0][1], p[1][0] - p[0][0])
                : 0.0f;

    action_->projectPoints(p, count);
    const float l1 = pageDistance(p[0], p[1]);
    const float l2 = pageDistance(p[0], p[2]);
    float size = fitHint ? std::min(l1, l2) : std::max({l1, l2, pageDistance(p[0], p[3])});
    if (!(size > 0.0f)) size = 1.0f;
    const int cap = SoPreferences::getInt(MAX_ANNO_SIZE_KEY, MAX_ANNO_SIZE_DEFAULT);
    if (size > static_cast<float>(cap)) size = static_cast<float>(cap);
    return size / action_->getNominalWidth(SoVectorizeAction::MILLIMETER);
}

// ---- Images ----

void SoVectorClipper::clipImage(SoCallbackAction* cba, const SbVec4f& origin, SoImage* imageNode) {
    if (!cba || !imageNode) {
        SoDebugError::post("SoVectorizeAction::clipImage", "Null argument: nothing drawn");
        return;
    }
    if (leavesOut("SoVectorizeAction::clipImage", &origin, 1)) return;
    nearReference_ = computeNearReference(cba);
    if (nearReference_[2] > origin[2]) return;
    SbVec4f anchor = origin;
    divideByW(&anchor, 1);
    if (anchor[2] > 1.0f) return;
    emitImage(imageNode, anchor);
}

void SoVectorClipper::emitImage(SoImage* imageNode, SbVec4f origin) {
    SbVec2s sourceSize;
    int numComponents = 0;
    const unsigned char* pixels = imageNode->image.getValue(sourceSize, numComponents);
    const int width = imageNode->width.getValue();
    const int height = imageNode->height.getValue();
    SbVec2s requestedSize(width < 0 ? sourceSize[0] : toShort(width),
                          height < 0 ? sourceSize[1] : toShort(height));
    const int horAlignment = imageNode->horAlignment.getValue();
    const int vertAlignment = imageNode->vertAlignment.getValue();
    if (SoHLHSRVectorize* hlhsr = engine()) {
        hlhsr->addImage(origin, pixels, sourceSize, requestedSize, numComponents, horAlignment,
                        vertAlignment);
        return;
    }
    action_->projectPoints(&origin, 1);
    action_->printImage(origin, pixels, sourceSize, requestedSize, numComponents,
                        static_cast<SoImage::HorAlignment>(horAlignment),
                        static_cast<SoImage::VertAlignment>(vertAlignment));
}
