#include "plotwerk/support/RecordingAction.h"

#include <Tessara/elements/SoPatternElement.h>
#include <Tessara/nodes/SoMarkerSet.h>

#include <algorithm>

RecordingAction::~RecordingAction() {
    if (isInPage()) endPage();
}

std::size_t RecordingAction::count(RecordedCall::Kind kind) const {
    return static_cast<std::size_t>(std::count_if(
        calls_.begin(), calls_.end(), [kind](const RecordedCall& c) { return c.kind == kind; }));
}

std::vector<RecordedCall> RecordingAction::ofKind(RecordedCall::Kind kind) const {
    std::vector<RecordedCall> result;
    for (const RecordedCall& call : calls_) {
        if (call.kind == kind) result.push_back(call);
    }
    return result;
}

std::vector<RecordedCall::Kind> RecordingAction::kinds() const {
    std::vector<RecordedCall::Kind> result;
    result.reserve(calls_.size());
    for (const RecordedCall& call : calls_) result.push_back(call.kind);
    return result;
}

RecordedCall& RecordingAction::record(RecordedCall::Kind kind) {
    calls_.emplace_back();
    calls_.back().kind = kind;
    return calls_.back();
}

void RecordingAction::copyPoints(RecordedCall& call, const SbVec4f* points, int n,
                                 const SbColor* colors, int multicolor) {
    call.multicolor = multicolor;
    if (points == nullptr || n <= 0) return;
    call.points.assign(points, points + n);
    if (colors != nullptr) call.colors.assign(colors, colors + (multicolor ? n : 1));
}

void RecordingAction::writeHeader() {
    record(RecordedCall::HEADER);
}

void RecordingAction::writeFooter() {
    record(RecordedCall::FOOTER);
}

void RecordingAction::setHardwareClip() {
    RecordedCall& call = record(RecordedCall::HARDWARE_CLIP);
    call.clippingLimits = getClippingLimits();
    call.viewport = getViewportRegion();
}

void RecordingAction::printBorder() {
    record(RecordedCall::BORDER);
}

void RecordingAction::printBackground() {
    record(RecordedCall::BACKGROUND);
}

void RecordingAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                    int multicolor, SoMarkerSet* markerSet) {
    RecordedCall& call = record(RecordedCall::POLYMARK_MARKERS);
    copyPoints(call, points, n, colors, multicolor);
    const int listed = markerSet ? markerSet->markerIndex.getNum() : 0;
    for (int i = 0; listed > 0 && i < n; ++i)
        call.markers.push_back(markerSet->markerIndex[i % listed]);
}

void RecordingAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                    int multicolor, float pointSize) {
    RecordedCall& call = record(RecordedCall::POLYMARK_DOTS);
    copyPoints(call, points, n, colors, multicolor);
    call.pointSize = pointSize;
}

void RecordingAction::printImage(const SbVec4f& origin, const unsigned char* pixels,
                                 SbVec2s& sourceSize, SbVec2s& requestedSize, int numComponents,
                                 SoImage::HorAlignment horAlignment,
                                 SoImage::VertAlignment vertAlignment) {
    RecordedCall& call = record(RecordedCall::IMAGE);
    call.origin = origin;
    const int width = sourceSize[0];
    const int height = sourceSize[1];
    if (pixels != nullptr && width > 0 && height > 0 && numComponents > 0) {
        call.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height *
                                                static_cast<std::size_t>(numComponents));
    }
    call.sourceSize = sourceSize;
    call.requestedSize = requestedSize;
    call.numComponents = numComponents;
    call.horAlignment = horAlignment;
    call.vertAlignment = vertAlignment;
}

void RecordingAction::printPolyLine(const SbVec4f* points, int n, const SbColor* colors,
                                    int multicolor, float lineWidth, unsigned short linePattern,
                                    int linePatternScaleFactor) {
    RecordedCall& call = record(RecordedCall::POLYLINE);
    copyPoints(call, points, n, colors, multicolor);
    call.lineWidth = lineWidth;
    call.linePattern = linePattern;
    call.linePatternScaleFactor = linePatternScaleFactor;
}

void RecordingAction::printPolygon(const SbVec4f* points, int n, const SbColor* colors,
                                   int multicolor, const SbString& patternString1,
                                   const SbString& patternString2, const unsigned char* pattern) {
    RecordedCall& call = record(RecordedCall::POLYGON);
    copyPoints(call, points, n, colors, multicolor);
    call.patternString1 = patternString1.getStdString();
    call.patternString2 = patternString2.getStdString();
    if (pattern != nullptr) {
        call.pattern.assign(pattern, pattern + SoPatternElement::MASK_BYTES);
    }
}

void RecordingAction::printText2(SbVec4f origin, SbColor color, const SbString& fontName,
                                 float fontSize, const SbString& string, int justification,
                                 float angle) {
    RecordedCall& call = record(RecordedCall::TEXT2);
    call.origin = origin;
    call.color = color;
    call.fontName = fontName.getStdString();
    call.fontSize = fontSize;
    call.string = string.getStdString();
    call.justification = justification;
    call.angle = angle;
}
