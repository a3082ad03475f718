// The cairo backends' drawing: the sheet and its transform, the viewport clips and every
// print operation. Fills go through SoCairoFills, which batches them; anything else drawn
// flushes the batch first, so that the drawing keeps the order of the print operations.

#include <PlotWerk/SoVectorizeCairoAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/nodes/SoMarkerSet.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <vector>

#include "SoCairoColor.h"
#include "SoCairoImage.h"
#include "SoCairoOutline.h"
#include "SoCairoPage.h"
#include "SoCairoText.h"
#include "frame/SoBackendActionSource.h"
#include "frame/SoImagePlacement.h"
#include "frame/SoLinePatternRuns.h"

namespace {

constexpr double pointsPerMillimetre = 72.0 / 25.4;
/// A sheet of 1 point to 2.5 km a side: within the range of cairo's fixed-point numbers.
constexpr float minSheet = 0.36f;
constexpr float maxSheet = 2.5e6f;

float sheetSide(float millimetres) {
    return std::isfinite(millimetres) ? std::clamp(millimetres, minSheet, maxSheet) : minSheet;
}

/// A width or a run no longer than the largest sheet: cairo writes a longer one as a number
/// that readers refuse.
double withinSheet(double millimetres) {
    return std::min(millimetres, double(maxSheet));
}

/// Past this ratio a miter limit cuts only joins sharper than a hundredth of a degree; a
/// larger one is written as a number that readers refuse.
constexpr double maxMiterLimit = 1.0e4;

// PostScript's readings of the styles, which the other formats share: no triangular ends or
// joins, no unjoined lines.
cairo_line_cap_t capOf(int endStyle) {
    static const cairo_line_cap_t caps[] = {CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_SQUARE,
                                            CAIRO_LINE_CAP_ROUND, CAIRO_LINE_CAP_ROUND};
    return endStyle >= 0 && endStyle < 4 ? caps[endStyle] : CAIRO_LINE_CAP_BUTT;
}

cairo_line_join_t joinOf(int joinStyle) {
    static const cairo_line_join_t joins[] = {CAIRO_LINE_JOIN_BEVEL, CAIRO_LINE_JOIN_MITER,
                                              CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_BEVEL,
                                              CAIRO_LINE_JOIN_ROUND, CAIRO_LINE_JOIN_ROUND};
    return joinStyle >= 0 && joinStyle < 6 ? joins[joinStyle] : CAIRO_LINE_JOIN_BEVEL;
}

void addPath(cairo_t* cr, const SbVec4f* points, int n) {
    cairo_move_to(cr, points[0][0], points[0][1]);
    for (int i = 1; i < n; ++i) cairo_line_to(cr, points[i][0], points[i][1]);
}

}  // namespace

PW_ACTION_SOURCE(SoVectorizeCairoAction, SoVectorizeAction)

// ---- Construction ----

SoVectorizeCairoAction::SoVectorizeCairoAction() {
    checkRegistration();
    adoptOutput(output_.get(), endEverything);
}

SoVectorizeCairoAction::SoVectorizeCairoAction(const SoVectorizeCairoAction& other)
    : SoVectorizeAction(other), output_(other.output_), seamWidth_(other.seamWidth_) {
    adoptOutput(output_.get(), endEverything);
}

SoVectorizeCairoAction& SoVectorizeCairoAction::operator=(const SoVectorizeCairoAction& other) {
    SoVectorizeAction::operator=(other);
    output_ = other.output_;
    seamWidth_ = other.seamWidth_;
    return *this;
}

SoVectorizeCairoAction::~SoVectorizeCairoAction() {
    // The base cannot reach writeFooter any more: a page left open is ended here.
    endEverything(this);
    vectorOutput_ = nullptr;
}

void SoVectorizeCairoAction::endEverything(SoVectorizeAction* action) {
    auto* cairo = static_cast<SoVectorizeCairoAction*>(action);
    if (cairo->isInPage()) cairo->endPage();
    cairo->endDocument();
}

SoCairoVectorOutput* SoVectorizeCairoAction::getCairoVectorOutput() const {
    return output_.get();
}

void SoVectorizeCairoAction::setSeamWidth(float width, DimensionUnit unit) {
    const float millimetres = unitsToMillimeters(width, unit);
    seamWidth_ = millimetres > 0.0f ? millimetres : 0.0f;
}

float SoVectorizeCairoAction::getSeamWidth(DimensionUnit unit) const {
    return millimetersToUnits(seamWidth_, unit);
}

// ---- The document and its sheets ----

void SoVectorizeCairoAction::beginDocument() {
    endDocument();
    inDocument_ = true;
}

void SoVectorizeCairoAction::endSheet() {
    if (!page_) return;
    page_->finish(inDocument_);
    page_.reset();
}

void SoVectorizeCairoAction::endDocument() {
    endSheet();
    inDocument_ = false;
    if (!document_) return;
    // The last reference: cairo writes the document as it lets the surface go.
    SoCairoPage::finishDocument(document_);
    document_ = nullptr;
}

cairo_surface_t* SoVectorizeCairoAction::sheetSurface(double widthPoints, double heightPoints) {
    if (inDocument_ && document_) {
        setNextSheetSize(document_, widthPoints, heightPoints);
        return cairo_surface_reference(document_);
    }
    // PostScript documents may follow one another in a stream; these formats may not.
    if (std::ftell(output_->getFilePointer()) > 0)
        SoDebugError::postWarning(
            "SoVectorizeCairoAction::writeHeader",
            "The stream already holds data: the document written after it cannot be read. Write "
            "each drawing to a file of its own or, in PDF, gather them as pages between "
            "beginDocument() and endDocument().");
    cairo_surface_t* surface = createSurface(widthPoints, heightPoints);
    if (inDocument_) document_ = cairo_surface_reference(surface);
    return surface;
}

void SoVectorizeCairoAction::writeHeader() {
    // A sheet that an interrupted apply left open is written as far as it got.
    endSheet();
    const SbVec2f origin = isInPage() ? getPagePosition() : getStartPosition();
    const SbVec2f area = isInPage() ? getPageSize() : getDrawingDimensions();
    // In landscape the sheet lies across, the drawing upright on it: these documents are read
    // on screens, which show a page as it stands, and printers turn a wide page to fit.
    const float width = sheetSide(area[0] + 2 * origin[0]);
    const float height = sheetSide(area[1] + 2 * origin[1]);
    page_ = std::make_unique<SoCairoPage>(
        sheetSurface(width * pointsPerMillimetre, height * pointsPerMillimetre), height,
        drawsMeshesNatively(), seamWidth_);
    cairo_translate(page_->context(), origin[0], origin[1]);
}

void SoVectorizeCairoAction::writeFooter() {
    endSheet();
}

void SoVectorizeCairoAction::setHardwareClip() {
    if (!page_) return;
    page_->fills().flush();
    if (isHardwareClipSet()) page_->restore();
    page_->save();
    const SbBox2f limits = getClippingLimits();
    const SbVec2f& low = limits.getMin();
    const SbVec2f& high = limits.getMax();
    cairo_rectangle(page_->context(), low[0], low[1], high[0] - low[0], high[1] - low[1]);
    cairo_clip(page_->context());
}

void SoVectorizeCairoAction::printBackground() {
    if (!page_) return;
    if (isInPage()) {
        page_->save();
        cairo_translate(page_->context(), getShiftX(), getShiftY());
    }
    fillBackground();
}

void SoVectorizeCairoAction::printBorder() {
    if (!page_) return;
    cairo_t* cr = page_->context();
    page_->fills().flush();
    if (isHardwareClipSet()) page_->restore();
    page_->save();
    cairo_rectangle(cr, 0.0, 0.0, getWidth(), getHeight());
    cairo_clip(cr);
    outlineBorder();
    page_->restore();
    if (isInPage()) page_->restore();
}

// ---- Lines and dots ----

void SoVectorizeCairoAction::setLineStyle(float width, unsigned short pattern, int factor) {
    cairo_t* cr = page_->context();
    cairo_set_line_width(cr, withinSheet(width));
    cairo_set_line_cap(cr, capOf(getLineEndStyle()));
    cairo_set_line_join(cr, joinOf(getLineJoinsStyle()));
    cairo_set_miter_limit(cr, std::min(double(getMiterLimit()), maxMiterLimit));
    setDash(pattern, factor, getLinePatternPhase());
}

void SoVectorizeCairoAction::setDash(unsigned short pattern, int factor, float phase) {
    cairo_t* cr = page_->context();
    const double bit = getLinePatternSize() / 16.0 * factor;
    if (pattern == 0xFFFF || !(bit > 0.0) || !std::isfinite(bit)) {
        cairo_set_dash(cr, nullptr, 0, 0.0);
        return;
    }
    const SoLinePatternRuns reading(pattern);
    std::vector<double> dashes;
    for (int run : reading.getRuns()) dashes.push_back(withinSheet(run * bit));
    // An odd count would make the dashes and gaps swap roles on every repeat.
    if (dashes.size() % 2 == 1) dashes.push_back(0.0);
    // The phase the PostScript backend gives (the bits before the first set one, counted
    // in nominal widths), so that both print alike, and the way a line already ran, which
    // only counts within one repeat.
    double offset = (16 - reading.getSkipped()) * double(getNominalWidth());
    const double period = std::accumulate(dashes.begin(), dashes.end(), 0.0);
    if (phase > 0.0f && period > 0.0) offset = std::fmod(offset + double(phase), period);
    offset = withinSheet(offset);
    cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), offset);
}

void SoVectorizeCairoAction::printPolyLine(const SbVec4f* points, int n, const SbColor* colors,
                                           int multicolor, float lineWidth,
                                           unsigned short linePattern, int linePatternScaleFactor) {
    if (!page_ || n < 2 || !points || !colors) return;
    page_->fills().flush();
    cairo_t* cr = page_->context();
    const float width = getPrintedWidth(lineWidth);
    setLineStyle(width, linePattern, linePatternScaleFactor);
    if (!multicolor) {
        SoCairoColor::setSource(cr, getPenColor(colors[0], width));
        addPath(cr, points, n);
        cairo_stroke(cr);
        return;
    }
    // One stroke a segment: each continues the dashes of the one before.
    float phase = getLinePatternPhase();
    for (int i = 0; i + 1 < n; ++i) {
        if (i > 0 && linePattern != 0xFFFF) setDash(linePattern, linePatternScaleFactor, phase);
        phase += std::hypot(points[i + 1][0] - points[i][0], points[i + 1][1] - points[i][1]);
        SoCairoColor::setSource(cr, getPenColor(colors[i], width));
        addPath(cr, points + i, 2);
        cairo_stroke(cr);
    }
}

void SoVectorizeCairoAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                           int multicolor, float pointSize) {
    if (!page_ || n <= 0 || !points || !colors) return;
    const float size = getPrintedWidth(pointSize);
    // Consecutive dots of one colour, in this call or the next, go into one stroke.
    for (int i = 0; i < n; ++i)
        page_->fills().addDot(points[i][0], points[i][1], size,
                              getPenColor(colors[multicolor ? i : 0], getNominalWidth()));
}

void SoVectorizeCairoAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int,
                                           SoMarkerSet* markerSet) {
    if (!page_ || n <= 0 || !points || !colors || !markerSet) return;
    const SoMFInt32& indices = markerSet->markerIndex;
    if (indices.getNum() == 0) return;
    page_->fills().flush();
    cairo_t* cr = page_->context();
    const float pixel = getNominalWidth();
    for (int i = 0; i < n; ++i) {
        const SoCairoMarker* marker = page_->marker(indices[i % indices.getNum()]);
        if (!marker) continue;
        // Each marker takes its point's colour: the caller passes one per point here.
        SoCairoColor::setSource(cr, getPenColor(colors[i], pixel));
        marker->addPath(cr, points[i][0], points[i][1], pixel);
        cairo_fill(cr);
    }
}

// ---- Fills ----

void SoVectorizeCairoAction::printPolygon(const SbVec4f* points, int n, const SbColor* colors,
                                          int multicolor, const SbString&, const SbString&,
                                          const unsigned char* pattern) {
    if (!page_ || n < 3 || !points || !colors) return;
    SoCairoFills& fills = page_->fills();
    const SbColor first = getPenColor(colors[0], getNominalWidth());
    if (pattern) {
        fills.flush();
        cairo_t* cr = page_->context();
        cairo_set_source(cr, page_->fillPattern(pattern, first));
        SoCairoOutline::append(cr, points, n, 0.0);
        cairo_fill(cr);
    } else if (multicolor && getPenNum() == 0) {
        fills.addSmooth(points, n, colors);
    } else {
        fills.addFlat(points, n, first);
    }
}

// ---- Text and images ----

void SoVectorizeCairoAction::printText2(SbVec4f origin, SbColor color, const SbString& fontName,
                                        float fontSize, const SbString& string, int justification,
                                        float angle) {
    if (!page_) return;
    page_->fills().flush();
    cairo_t* cr = page_->context();
    SoCairoColor::setSource(cr, getPenColor(color, getNominalWidth()));
    SoCairoText::draw(cr, origin[0], origin[1], angle, fontName,
                      double(fontSize) * getNominalWidth(), string, justification);
}

void SoVectorizeCairoAction::printImage(const SbVec4f& origin, const unsigned char* pixels,
                                        SbVec2s& sourceSize, SbVec2s& requestedSize,
                                        int numComponents, SoImage::HorAlignment horAlignment,
                                        SoImage::VertAlignment vertAlignment) {
    if (!page_ || numComponents <= 0 || !pixels || sourceSize[0] <= 0 || sourceSize[1] <= 0 ||
        requestedSize[0] <= 0 || requestedSize[1] <= 0)
        return;
    // The image no larger than the largest sheet.
    const float pixel =
        std::min(getPixelImageSize(), maxSheet / std::max(requestedSize[0], requestedSize[1]));
    const SoImagePlacement placed =
        SoImagePlacement::of(origin, requestedSize, pixel, horAlignment, vertAlignment);
    if (!getClippingLimits().intersect(placed.box())) return;
    // Beyond the largest sheet cairo writes numbers that readers refuse; no sheet shows it.
    if (!(std::fabs(placed.x) < maxSheet && std::fabs(placed.y) < maxSheet)) return;
    page_->fills().flush();
    SoCairoImage::draw(page_->context(), pixels, sourceSize[0], sourceSize[1], numComponents,
                       placed.x, placed.y, placed.width, placed.height, readersSmoothImages());
}
