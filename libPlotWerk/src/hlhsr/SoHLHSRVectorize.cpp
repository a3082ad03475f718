#include "SoHLHSRVectorize.h"

#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/base/SoDebugError.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "SoCoveredCopies.h"
#include "SoFlatFaceJoiner.h"
#include "SoGraphicImage.h"
#include "SoGraphicPrimitiveList.h"
#include "SoGraphicText2D.h"
#include "SoHLHSRPainter.h"
#include "SoPolyLine.h"
#include "SoPolyMark.h"
#include "SoPolygon.h"
#include "lines/SoHiddenLines.h"
#include "raster/SoHLHSRImageVectorizer.h"
#include "vectorize/SoPointMarkers.h"

int SoHLHSRVectorize::sequence = 0;

namespace {
enum EngineMode {
    DEPTH_SORT = 0,
    PAINTER = 1,
    PAINTER_SURFACE_REMOVAL = 2,
    RASTER = 3,
    HIDDEN_LINES = 4
};

bool validPoints(const char* operation, const SbVec4f* points, int numPoints,
                 const SbColor* colors) {
    if (numPoints <= 0) return false;
    if (points && colors) return true;
    SoDebugError::post(operation, "Null point or colour array: primitive dropped");
    return false;
}
}  // namespace

SoHLHSRVectorize::SoHLHSRVectorize(SoVectorizeAction* owner, int engineMode)
    : action_(owner),
      mode_(engineMode),
      pointMarkers_(std::make_unique<SoPointMarkers>()),
      faceJoiner_(std::make_unique<SoFlatFaceJoiner>()) {
    if (mode_ < DEPTH_SORT || mode_ > HIDDEN_LINES) {
        SoDebugError::postWarning("SoHLHSRVectorize::SoHLHSRVectorize",
                                  "Unknown engine mode %d: depth sort (0) used", mode_);
        mode_ = DEPTH_SORT;
    }
}

SoHLHSRVectorize::~SoHLHSRVectorize() {
    delete primitives_;
    delete hiddenLines_;
}

// The action flushes before it begins another viewport; should it not have, the records
// already stored are printed now rather than lost.
void SoHLHSRVectorize::beginViewport() {
    if (primitives_) flush();
    sequence = 0;
    primitives_ = new SoGraphicPrimitiveList;
    copyCheckAt_ = kFirstCopyCheck;
    if (mode_ != HIDDEN_LINES) return;
    hiddenLines_ = new SoHiddenLines;
    if (!action_) return;
    if (action_->getHiddenLineFeatureEdges())
        hiddenLines_->setFeatureAngle(action_->getHiddenLineFeatureAngle());
    hiddenLines_->setHiddenPattern(action_->getHiddenLineHiddenPattern());
    hiddenLines_->setPenTravelOrder(action_->getHiddenLinePenTravelOrder() != 0);
}

SoGraphicPrimitiveList* SoHLHSRVectorize::currentList(const char* operation) {
    if (!primitives_) {
        SoDebugError::postWarning(operation, "No viewport begun: one is begun now");
        beginViewport();
    }
    return primitives_;
}

bool SoHLHSRVectorize::store(SoGraphicPrimitiveList* list, SoGraphicPrimitive* record) {
    record->id = sequence++;
    list->add(record);
    if (list->getLength() < copyCheckAt_) return true;
    SoCoveredCopies::remove(*list);
    faceJoiner_->forget();
    copyCheckAt_ = static_cast<int>(std::min<long long>(
        INT_MAX, std::max<long long>(kFirstCopyCheck, 2LL * list->getLength())));
    return false;
}

// The hidden-line mode hands polygons, whatever their style, to its eliminator. The raster
// mode traces lines and dots from their own pixels, so an outline or a point polygon becomes
// its edges or its vertices.
void SoHLHSRVectorize::addPolygon(const SbVec4f* points, int numPoints, const SbColor* colors,
                                  int multicolor, float lineWidth, float markerSize,
                                  unsigned short linePattern, int linePatternScaleFactor, int style,
                                  const SbString& string1, const SbString& string2,
                                  const unsigned char* pattern, float offsetFactor,
                                  float offsetUnits, const SbVec3f* normals) {
    if (!validPoints("SoHLHSRVectorize::addPolygon", points, numPoints, colors)) return;
    SoGraphicPrimitiveList* list = currentList("SoHLHSRVectorize::addPolygon");
    if (mode_ == HIDDEN_LINES) {
        const std::vector<float> lengths = patternLengths(points, numPoints, true, linePattern);
        hiddenLines_->addPolygon(points, numPoints, colors, lineWidth, linePattern,
                                 linePatternScaleFactor, lengths.empty() ? nullptr : lengths.data(),
                                 normals);
        return;
    }
    if (mode_ == RASTER && style == 1) {
        storeSegments(list, points, numPoints, true, colors, multicolor, lineWidth, linePattern,
                      linePatternScaleFactor);
        return;
    }
    if (mode_ == RASTER && style == 2) {
        storeDots(list, points, numPoints, colors, multicolor, markerSize);
        return;
    }
    auto* polygon = new SoPolygon;
    const float depthOffset = style != 0 ? lineOffset_ : polygonOffset_;
    polygon->set(numPoints, points, colors, multicolor, lineWidth, markerSize, linePattern,
                 linePatternScaleFactor, style, string1, string2, pattern, depthOffset,
                 offsetFactor, offsetUnits);
    // A plain depth sort would sort joined polygons by their farthest corners, and the hidden
    // lines go by the edges.
    const bool joins = mode_ == PAINTER || mode_ == PAINTER_SURFACE_REMOVAL || mode_ == RASTER;
    if (joins && faceJoiner_->join(*list, *polygon, depthOffset)) {
        delete polygon;
        return;
    }
    if (store(list, polygon) && joins) faceJoiner_->remember(*list, polygon, depthOffset);
}

// An outline's edge prints in the colour of its first corner, as the whole outline would.
void SoHLHSRVectorize::storeSegments(SoGraphicPrimitiveList* list, const SbVec4f* points,
                                     int numPoints, bool closed, const SbColor* colors,
                                     int multicolor, float lineWidth, unsigned short linePattern,
                                     int linePatternScaleFactor) {
    const int count = closed ? numPoints : numPoints - 1;
    std::vector<float> lengths;
    if (linePattern != 0xFFFF) lengths = printedLengths(points, numPoints, closed);
    float phase = 0.0f;
    for (int i = 0; i < count; ++i) {
        const int next = (i + 1) % numPoints;
        const SbVec4f ends[2] = {points[i], points[next]};
        const SbColor segmentColors[2] = {colors[i], colors[closed ? i : next]};
        auto* segment = new SoPolyLine;
        segment->set(2, ends, segmentColors, multicolor, lineWidth, linePattern,
                     linePatternScaleFactor, closed ? 0.0f : lineOffset_);
        if (!lengths.empty()) {
            segment->patternPhase = phase;
            segment->patternLength = lengths[static_cast<std::size_t>(i)];
            phase += segment->patternLength;
        }
        store(list, segment);
    }
}

// Hidden pieces print in a pattern of their own when the action asks for them.
std::vector<float> SoHLHSRVectorize::patternLengths(const SbVec4f* points, int n, bool closed,
                                                    unsigned short linePattern) const {
    const bool hiddenDashed = action_ && action_->getHiddenLineHiddenPattern() != 0;
    if (linePattern == 0xFFFF && !hiddenDashed) return {};
    return printedLengths(points, n, closed);
}

std::vector<float> SoHLHSRVectorize::printedLengths(const SbVec4f* points, int n,
                                                    bool closed) const {
    std::vector<SbVec4f> printed(points, points + n);
    projectPoints(printed.data(), n);
    std::vector<float> lengths;
    const int count = closed ? n : n - 1;
    for (int i = 0; i < count; ++i) {
        const SbVec4f& a = printed[static_cast<std::size_t>(i)];
        const SbVec4f& b = printed[static_cast<std::size_t>((i + 1) % n)];
        lengths.push_back(std::hypot(b[0] - a[0], b[1] - a[1]));
    }
    return lengths;
}

void SoHLHSRVectorize::storeDots(SoGraphicPrimitiveList* list, const SbVec4f* points, int numPoints,
                                 const SbColor* colors, int multicolor, float markerSize) {
    for (int i = 0; i < numPoints; ++i) {
        auto* dot = new SoPolyMark;
        dot->set(1, points + i, colors + i, multicolor, markerSize, nullptr, 0.0f);
        store(list, dot);
    }
}

// In the ordering modes every segment is a record of its own, so that the painter can put
// each one where it belongs.
void SoHLHSRVectorize::addPolyLine(const SbVec4f* points, int numPoints, const SbColor* colors,
                                   int multicolor, float lineWidth, unsigned short linePattern,
                                   int linePatternScaleFactor) {
    if (!validPoints("SoHLHSRVectorize::addPolyLine", points, numPoints, colors)) return;
    SoGraphicPrimitiveList* list = currentList("SoHLHSRVectorize::addPolyLine");
    if (mode_ == HIDDEN_LINES) {
        const std::vector<float> lengths = patternLengths(points, numPoints, false, linePattern);
        hiddenLines_->addPolyLine(points, numPoints, colors, lineWidth, linePattern,
                                  linePatternScaleFactor,
                                  lengths.empty() ? nullptr : lengths.data());
        return;
    }
    if (mode_ == DEPTH_SORT) {
        auto* line = new SoPolyLine;
        line->set(numPoints, points, colors, multicolor, lineWidth, linePattern,
                  linePatternScaleFactor, lineOffset_);
        store(list, line);
        return;
    }
    storeSegments(list, points, numPoints, false, colors, multicolor, lineWidth, linePattern,
                  linePatternScaleFactor);
}

void SoHLHSRVectorize::addPolyMark(const SbVec4f* points, int numPoints, const SbColor* colors,
                                   int multicolor, float markerSize, SoMarkerSet* markerSet) {
    if (!validPoints("SoHLHSRVectorize::addPolyMark", points, numPoints, colors)) return;
    SoGraphicPrimitiveList* list = currentList("SoHLHSRVectorize::addPolyMark");
    // Marks printed one by one keep the markers they have as a set.
    std::vector<std::int32_t> markers;
    if (markerSet) {
        markers = SoPointMarkers::of(*markerSet, nullptr, numPoints);
        if (markers.empty()) return;
    }
    const std::int32_t* marker = markerSet ? markers.data() : nullptr;
    if (mode_ == DEPTH_SORT || mode_ == HIDDEN_LINES) {
        auto* marks = new SoPolyMark;
        marks->set(numPoints, points, colors, multicolor, markerSize, marker, markerOffset_);
        store(list, marks);
        return;
    }
    for (int i = 0; i < numPoints; ++i) {
        auto* mark = new SoPolyMark;
        mark->set(1, points + i, colors + i, multicolor, markerSize, marker ? marker + i : nullptr,
                  markerOffset_);
        store(list, mark);
    }
}

void SoHLHSRVectorize::addText(const SbVec4f& point, const SbColor& color, const SbString& fontName,
                               float size, int numStrings, const SbString* strings, float spacing,
                               int justification, float angle) {
    SoGraphicPrimitiveList* list = currentList("SoHLHSRVectorize::addText");
    auto* text = new SoGraphicText2D;
    text->set(point, color, fontName, size, numStrings, strings, spacing, justification, angle);
    store(list, text);
}

void SoHLHSRVectorize::addImage(const SbVec4f& point, const unsigned char* data,
                                const SbVec2s& size, const SbVec2s& size2, int numComponents,
                                int horAlignment, int vertAlignment) {
    SoGraphicPrimitiveList* list = currentList("SoHLHSRVectorize::addImage");
    auto* image = new SoGraphicImage;
    image->set(point, data, size, size2, numComponents, horAlignment, vertAlignment);
    store(list, image);
}

// Records print in list order, each projecting its own points: far things first, so that
// nearer ones paint over them.
void SoHLHSRVectorize::flush() {
    if (!primitives_) return;
    faceJoiner_->forget();
    SoCoveredCopies::remove(*primitives_);
    if (mode_ == RASTER) {
        SoHLHSRImageVectorizer(primitives_, this).run();
    } else {
        if (hiddenLines_ && action_ && action_->getHiddenLineFeatureEdges()) leaveOutHiddenMarks();
        SoHLHSRPainter(*primitives_, *this).run();
        for (int i = 0; i < primitives_->getLength(); ++i)
            primitives_->getPrimitive(i)->print(this);
    }
    if (hiddenLines_) printVisibleLines();
    delete primitives_;
    primitives_ = nullptr;
    sequence = 0;
}

// A drafter's drawing leaves out the marks that faces hide, as it leaves out hidden lines: a
// point cloud around a part showed its far side through the part.
void SoHLHSRVectorize::leaveOutHiddenMarks() {
    std::vector<SoPolyMark*> marks;
    std::vector<SbVec4f> points;
    for (int i = 0; i < primitives_->getLength(); ++i) {
        SoGraphicPrimitive* record = primitives_->getPrimitive(i);
        if (record->getType() != SoGraphicPrimitive::POLYMARK) continue;
        marks.push_back(static_cast<SoPolyMark*>(record));
        points.insert(points.end(), marks.back()->points.get(),
                      marks.back()->points.get() + marks.back()->numPoints);
    }
    if (points.empty()) return;
    const std::vector<char> seen = hiddenLines_->findSeenPoints(points);
    size_t first = 0;
    for (SoPolyMark* mark : marks) {
        const int n = mark->numPoints;
        mark->keepOnly(seen.data() + first);
        first += static_cast<size_t>(n);
    }
}

// Over everything else the viewport printed: the lines are the drawing.
void SoHLHSRVectorize::printVisibleLines() {
    std::vector<SoVisibleLine> lines = hiddenLines_->computeVisibleLines();
    delete hiddenLines_;
    hiddenLines_ = nullptr;
    for (SoVisibleLine& line : lines) {
        const int n = static_cast<int>(line.points.size());
        projectPoints(line.points.data(), n);
        const SoLineAttributes& a = line.attributes;
        printPolyLine(line.points.data(), n, &a.color, 0, a.lineWidth, a.linePattern,
                      a.linePatternScaleFactor, line.patternPhase);
    }
}

// ---- The action's services, for the records ----

void SoHLHSRVectorize::projectPoints(SbVec4f* points, int n) const {
    if (action_ && points && n > 0) action_->projectPoints(points, n);
}

void SoHLHSRVectorize::setViewportRegion(const SbViewportRegion& region) {
    if (action_) action_->setViewportRegion(region);
}

const SbViewportRegion& SoHLHSRVectorize::getViewportRegion() const {
    static const SbViewportRegion none;
    return action_ ? action_->getViewportRegion() : none;
}

void SoHLHSRVectorize::setProjectionSource(const SbBox2f& source) {
    if (action_) action_->setProjectionSource(source);
}

void SoHLHSRVectorize::setDefaultProjectionSource() {
    if (action_) action_->setDefaultProjectionSource();
}

float SoHLHSRVectorize::getNominalWidth() const {
    return action_ ? action_->getNominalWidth(SoVectorizeAction::MILLIMETER) : 1.0f;
}

void SoHLHSRVectorize::printPolygon(const SbVec4f* points, int n, const SbColor* colors,
                                    int multicolor, const SbString& string1,
                                    const SbString& string2, const unsigned char* pattern) {
    if (action_) action_->printPolygon(points, n, colors, multicolor, string1, string2, pattern);
}

void SoHLHSRVectorize::printPolyLine(const SbVec4f* points, int n, const SbColor* colors,
                                     int multicolor, float lineWidth, unsigned short linePattern,
                                     int linePatternScaleFactor, float patternPhase) {
    if (!action_) return;
    action_->linePatternPhase_ = patternPhase;
    action_->printPolyLine(points, n, colors, multicolor, lineWidth, linePattern,
                           linePatternScaleFactor);
    action_->linePatternPhase_ = 0.0f;
}

void SoHLHSRVectorize::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                     int multicolor, SoMarkerSet* markerSet) {
    if (action_) action_->printPolyMark(points, n, colors, multicolor, markerSet);
}

void SoHLHSRVectorize::printMarkers(const SbVec4f* points, int n, const SbColor* colors,
                                    int multicolor, const std::int32_t* markers) {
    if (action_)
        action_->printPolyMark(points, n, colors, multicolor, pointMarkers_->holding(markers, n));
}

void SoHLHSRVectorize::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                     int multicolor, float markerSize) {
    if (action_) action_->printPolyMark(points, n, colors, multicolor, markerSize);
}

void SoHLHSRVectorize::printText2(const SbVec4f& origin, const SbColor& color,
                                  const SbString& fontName, float size, const SbString& string,
                                  int justification, float angle) {
    if (action_) action_->printText2(origin, color, fontName, size, string, justification, angle);
}

void SoHLHSRVectorize::printImage(const SbVec4f& origin, const unsigned char* data, SbVec2s& size,
                                  SbVec2s& size2, int numComponents,
                                  SoImage::HorAlignment horAlignment,
                                  SoImage::VertAlignment vertAlignment) {
    if (action_) {
        action_->printImage(origin, data, size, size2, numComponents, horAlignment, vertAlignment);
    }
}
