// Raster visibility.
//
// Each record is drawn in a flat colour that names it, nearest depth winning; what shows
// in the read-back image is what the page must show. Polygons go first, then lines over
// them (a line is seen only where no solid fill is nearer), then marks, texts and images:
// their identifiers sit in separate ranges, so a pixel tells both what is there and which
// pass drew it.
//
// A patterned fill shows what lies behind it through its gaps, as on the screen. Solid
// fills, lines and marks are therefore drawn without the patterned ones; these follow last,
// one pass for each pattern, each over the depths of the solid fills and lines alone. A
// group prints over the solid fills, over the stretches of lines it passes in front of
// and over the groups before it; a line prints just before the first group in front of it.
//
// The pieces of every tile are kept and printed once all tiles are traced, pass by pass:
// a wide line by a tile's edge then lies over the fills of the next tile too, and the
// solid fills of neighbouring tiles, which never overlap, are taken so that a colour that
// spans tiles runs on; backends that fill a run of one colour as one shape then leave no
// seam where tiles meet. A piece is traced in the pixel coordinates
// of its tile and kept in those of the raster; printing, the action is told that the
// source of its projection is the raster, so the ordinary page projection puts the piece
// in place. Pixel (c, r) covers c - 0.5 .. c + 0.5: the grid starts half a pixel before 0.

#include "SoHLHSRImageVectorizer.h"

#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbBox2f.h>
#include <Tessara/math/SbViewportRegion.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unordered_map>

#include "../SoGraphicPrimitiveList.h"
#include "../SoHLHSRVectorize.h"
#include "../SoPatternGroups.h"
#include "../SoPolyLine.h"
#include "../SoPolygon.h"
#include "../SoStopwatch.h"
#include "SoFanPieces.h"
#include "SoLinesVectorizer.h"
#include "SoPolygonsVectorizer.h"
#include "SoPrimitivesRenderer.h"
#include "SoRasterColorInterpolator.h"
#include "SoTileRegionMerger.h"

SoHLHSRImageVectorizer::Timings SoHLHSRImageVectorizer::lastTimings;

namespace {

// Identifier ranges of the three passes: polygons from 1, lines and marks above them.
constexpr unsigned POLYGON_BASE = 0x000000u;
constexpr unsigned LINE_BASE = SoLinesVectorizer::LINE_BIT;
constexpr unsigned MARK_BASE = 0xC00000u;
constexpr unsigned ID_MASK = 0xFFFFFFu;
// Pixels a traced outline may leave out before a bend is kept.
constexpr double TRACING_TOLERANCE = 2.6;
// A shaded piece drawn as one fan may spill this far (in pixels) past its outline.
constexpr float FAN_SPILL = 0.5f;
// Pieces of a region smaller than this, in pixels, join a neighbour before tracing: traced
// alone they would be simplified to nothing (the tracing tolerance squared).
constexpr int SPECK_PIXELS = 7;
// The largest raster side a viewport region can describe.
constexpr int MAX_RASTER_SIDE = 32767;

unsigned pixelValue(const unsigned char* pixel) {
    return unsigned(pixel[0]) | unsigned(pixel[1]) << 8 | unsigned(pixel[2]) << 16;
}

bool isMultiPoint(int type) {
    return type == SoGraphicPrimitive::POLYGON || type == SoGraphicPrimitive::POLYLINE ||
           type == SoGraphicPrimitive::POLYMARK;
}

}  // namespace

SoHLHSRImageVectorizer::SoHLHSRImageVectorizer(SoGraphicPrimitiveList* primitives,
                                               SoHLHSRVectorize* engine)
    : primitives_(primitives), engine_(engine) {}

SoHLHSRImageVectorizer::~SoHLHSRImageVectorizer() {
    delete renderer_;
}

// Filled polygons in one colour (to a hundredth) and one fill print alike; smooth-shaded
// ones each keep their own colours.
std::vector<std::uint32_t> SoHLHSRImageVectorizer::alikeIdentifiers() const {
    const int n = primitives_->getLength();
    std::vector<std::uint32_t> canonical(static_cast<size_t>(n) + 1);
    std::unordered_map<std::string, std::uint32_t> first;
    for (int k = 0; k < n; ++k) {
        const std::uint32_t id = POLYGON_BASE + 1u + static_cast<std::uint32_t>(k);
        canonical[id] = id;
        SoGraphicPrimitive* record = primitives_->getPrimitive(k);
        if (record->getType() != SoGraphicPrimitive::POLYGON) continue;
        const auto* polygon = static_cast<const SoPolygon*>(record);
        if (polygon->drawStyle != 0 || polygon->numPoints == 0 || (smooth_ && polygon->multicolor))
            continue;
        const SbColor& c = polygon->colors[0];
        char look[64];
        std::snprintf(look, sizeof look, "%d %d %d %p ", int(c[0] * 100), int(c[1] * 100),
                      int(c[2] * 100), static_cast<const void*>(polygon->pattern));
        const std::string key =
            look + std::string(polygon->string1.getString()) + '|' + polygon->string2.getString();
        canonical[id] = first.emplace(key, id).first->second;
    }
    return canonical;
}

int SoHLHSRImageVectorizer::resolutionFor(float quality) {
    static const int table[4] = {75, 150, 300, 600};
    if (!(quality >= 0.0f)) quality = 0.0f;
    if (quality >= 1.0f) quality = 0.99f;
    return table[std::min(3, static_cast<int>(quality * 4.0f))];
}

// The last pass's range, from MARK_BASE up, is the narrowest.
int SoHLHSRImageVectorizer::getMaxRecords() {
    return static_cast<int>(ID_MASK - MARK_BASE);
}

// Whole tiles, so that every tile is drawn at the same size; a long side that would not fit
// a viewport region loses resolution rather than fail.
SbVec2s SoHLHSRImageVectorizer::computeRasterSize(const SoVectorizeAction& action) {
    const int resolution = resolutionFor(action.getHLHSRRasterQuality());
    const SbVec2f inches = action.getDrawingDimensions(SoVectorizeAction::INCH);
    const int setting = action.getHLHSRRasterTileSize();
    const int tile = setting > 4 ? std::min(setting, SoPrimitivesRenderer::MAX_TILE_EDGE) - 4
                                 : SoPrimitivesRenderer::MAX_TILE_EDGE - 4;
    SbVec2s size;
    for (int axis = 0; axis < 2; ++axis) {
        const double wanted = std::floor(double(inches[axis]) * resolution);
        double pixels = std::max(wanted == wanted ? wanted : 0.0, double(tile));
        pixels = std::ceil(pixels / tile) * tile;
        const double largest = std::floor(double(MAX_RASTER_SIDE) / tile) * tile;
        if (pixels > largest) {
            SoDebugError::postWarning("SoHLHSRImageVectorizer::computeRasterSize",
                                      "A raster of %.0f pixels is too long: %.0f are used", pixels,
                                      largest);
            pixels = largest;
        }
        size[axis] = static_cast<short>(pixels);
    }
    return size;
}

void SoHLHSRImageVectorizer::run() {
    SoStopwatch whole;
    timings_ = Timings();
    SoVectorizeAction* action = engine_->getAction();
    if (!primitives_ || primitives_->getLength() == 0 || !action) return;
    if (primitives_->getLength() > getMaxRecords()) {
        SoDebugError::postWarning("SoHLHSRImageVectorizer::run",
                                  "%d records are more than a raster can tell apart (%d): they "
                                  "are printed in depth order, hidden parts included",
                                  primitives_->getLength(), getMaxRecords());
        printInDepthOrder();
        return;
    }
    rasterSize_ = computeRasterSize(*action);
    smooth_ = action->getShadeModel() != SoVectorizeAction::FLAT;
    seen_.assign(static_cast<size_t>(primitives_->getLength()), 0);
    merger_ = std::make_unique<SoTileRegionMerger>(alikeIdentifiers(), SPECK_PIXELS);
    renderer_ = new SoPrimitivesRenderer(SbViewportRegion(rasterSize_[0], rasterSize_[1], 1.0f));
    renderer_->setCaching(action->getHLHSRRasterCaching());
    const int tileSetting = action->getHLHSRRasterTileSize();
    if (tileSetting > 4) renderer_->setTileEdge(tileSetting);
    addPassFilters();
    kept_.clear();
    fillTileStarts_.clear();
    kept_.resize(2 + 2 * static_cast<size_t>(patternGroups_));
    renderer_->setObserver(this);
    if (!renderer_->render(*primitives_)) {
        SoDebugError::post("SoHLHSRImageVectorizer::run",
                           "No offscreen raster: the records are printed in depth order");
        delete renderer_;
        renderer_ = nullptr;
        printInDepthOrder();
        return;
    }
    const double rendering = whole.lap() - timings_.tracing - timings_.printing;
    timings_.readBack = renderer_->getReadBackSeconds();
    timings_.render = rendering - timings_.readBack;
    delete renderer_;
    renderer_ = nullptr;
    printKept();
    printWholeVisibleRecords();
    timings_.printing += whole.lap();
    lastTimings = timings_;
}

void SoHLHSRImageVectorizer::noteSeen(unsigned index) {
    if (seen_[index]) return;
    seen_[index] = 1;
    ++timings_.visible;
}

// Before merging, while every pixel still names its own record.
void SoHLHSRImageVectorizer::noteSeenIn(const unsigned char* buffer, const SbVec2s& size) {
    const size_t pixels = static_cast<size_t>(size[0]) * static_cast<size_t>(size[1]);
    for (size_t at = 0; at < pixels; ++at) {
        const unsigned value = pixelValue(buffer + 4 * at);
        if (value != 0 && value - 1u < seen_.size()) noteSeen(value - 1u);
    }
}

void SoHLHSRImageVectorizer::addPassFilters() {
    renderer_->clearPassFilters();
    const SoGraphicPrimitiveList& list = *primitives_;
    const bool polygons = list.hasType(SoGraphicPrimitive::POLYGON);
    if (polygons) renderer_->addPassFilter({SoPrimitivesRenderer::FILLED_POLYGONS, POLYGON_BASE});
    if (list.hasType(SoGraphicPrimitive::POLYLINE))
        renderer_->addPassFilter({SoPrimitivesRenderer::LINES, LINE_BASE});
    if (list.hasType(SoGraphicPrimitive::POLYMARK) || list.hasType(SoGraphicPrimitive::TEXT2D) ||
        list.hasType(SoGraphicPrimitive::IMAGE))
        renderer_->addPassFilter({SoPrimitivesRenderer::MARKS_TEXTS_IMAGES, MARK_BASE});
    patternGroups_ = 0;
    if (!polygons) return;
    const SoPatternGroups groups(list);
    patternGroups_ = groups.getCount();
    for (int group = 0; group < groups.getCount(); ++group)
        renderer_->addPassFilter({SoPrimitivesRenderer::PATTERNED_FILLS, POLYGON_BASE, group});
    renderer_->setPatternGroups(groups.getGroupOfRecords());
}

void SoHLHSRImageVectorizer::tileRendered(const unsigned char* buffer, const SbVec2s& origin,
                                          const SbVec2s& size, int pass) {
    if (!renderer_ || pass < 0 || pass >= static_cast<int>(renderer_->getPassFilters().size()))
        return;
    const SoPrimitivesRenderer::PassFilter& filter = renderer_->getPassFilters()[pass];
    if (pass == 0) ++timings_.tiles;
    if (filter.typeMask & SoPrimitivesRenderer::MARKS_TEXTS_IMAGES) {
        markVisible(buffer, size, filter.idBase);
        return;
    }
    const auto& filters = renderer_->getPassFilters();
    const bool patternedLater = filters.back().typeMask & SoPrimitivesRenderer::PATTERNED_FILLS;
    if ((filter.typeMask & SoPrimitivesRenderer::LINES) && patternedLater) {
        const size_t bytes = 4 * static_cast<size_t>(size[0]) * static_cast<size_t>(size[1]);
        heldLines_.assign(buffer, buffer + bytes);
        heldLinesBase_ = filter.idBase;
        return;
    }
    if (filter.typeMask & SoPrimitivesRenderer::PATTERNED_FILLS) {
        keepPatternedGroup(buffer, origin, size, filter.idBase, filter.patternGroup);
        if (pass + 1 == static_cast<int>(filters.size())) keepHeldLines(origin, size);
        return;
    }
    const bool lines = filter.typeMask & SoPrimitivesRenderer::LINES;
    trace(buffer, origin, size, filter.typeMask, filter.idBase, lines ? lineSlot(0) : 0);
}

// The lines were drawn before the group, and its pass saw their depths: a pixel where the
// group left an identifier over a line is one where the group lies in front. Those
// stretches print beneath it; the rest wait for the next group.
void SoHLHSRImageVectorizer::keepPatternedGroup(const unsigned char* patterned,
                                                const SbVec2s& origin, const SbVec2s& size,
                                                unsigned idBase, int group) {
    if (!heldLines_.empty()) {
        std::vector<unsigned char> behind(heldLines_.size(), 0);
        bool any = false;
        for (size_t at = 0; at < behind.size(); at += 4) {
            if (pixelValue(patterned + at) == 0 || pixelValue(&heldLines_[at]) == 0) continue;
            std::copy_n(&heldLines_[at], 4, &behind[at]);
            std::fill_n(&heldLines_[at], 4, 0);
            any = true;
        }
        if (any)
            trace(behind.data(), origin, size, SoPrimitivesRenderer::LINES, heldLinesBase_,
                  lineSlot(group));
    }
    trace(patterned, origin, size, SoPrimitivesRenderer::PATTERNED_FILLS, idBase,
          lineSlot(group) + 1);
}

void SoHLHSRImageVectorizer::keepHeldLines(const SbVec2s& origin, const SbVec2s& size) {
    if (heldLines_.empty()) return;
    trace(heldLines_.data(), origin, size, SoPrimitivesRenderer::LINES, heldLinesBase_,
          lineSlot(patternGroups_));
    heldLines_.clear();
}

void SoHLHSRImageVectorizer::markVisible(const unsigned char* buffer, const SbVec2s& size,
                                         unsigned idBase) {
    const size_t pixels = static_cast<size_t>(size[0]) * static_cast<size_t>(size[1]);
    const unsigned n = static_cast<unsigned>(primitives_->getLength());
    for (size_t at = 0; at < pixels; ++at) {
        const unsigned value = pixelValue(buffer + 4 * at);
        if (value <= idBase || value - idBase - 1u >= n) continue;
        ++primitives_->getPrimitive(static_cast<int>(value - idBase - 1u))->moveCount;
        noteSeen(value - idBase - 1u);
    }
}

void SoHLHSRImageVectorizer::trace(const unsigned char* buffer, const SbVec2s& origin,
                                   const SbVec2s& size, int typeMask, unsigned idBase, int slot) {
    SoStopwatch step;
    std::unique_ptr<SoImageVectorizer> tracer;
    const bool fills =
        typeMask & (SoPrimitivesRenderer::FILLED_POLYGONS | SoPrimitivesRenderer::PATTERNED_FILLS);
    if (fills) {
        tracer = std::make_unique<SoPolygonsVectorizer>(TRACING_TOLERANCE);
        noteSeenIn(buffer, size);
        buffer = merger_->apply(buffer, size[0], size[1]);
    } else
        tracer = std::make_unique<SoLinesVectorizer>(TRACING_TOLERANCE);
    tracer->vectorize(buffer, size[0], size[1]);
    timings_.tracing += step.lap();

    SoGraphicPrimitiveList& traced = tracer->getTraced();
    tileShift_.setValue(origin[0], rasterSize_[1] - origin[1] - size[1]);
    if (slot == 0) fillTileStarts_.push_back(kept_[0].size());
    const unsigned n = static_cast<unsigned>(primitives_->getLength());
    for (int k = 0; k < traced.getLength(); ++k) {
        auto* piece = static_cast<SoPrimitiveMultiPoints*>(traced.getPrimitive(k));
        const unsigned index = (static_cast<unsigned>(piece->sourceId) & ~idBase & ID_MASK) - 1u;
        if (index >= n) continue;
        if (!fills) noteSeen(index);
        SoGraphicPrimitive* source = primitives_->getPrimitive(static_cast<int>(index));
        if (!isMultiPoint(source->getType())) continue;
        if (piece->getType() == SoGraphicPrimitive::POLYGON && piece->numPoints < 3) continue;
        auto& multiPoints = *static_cast<SoPrimitiveMultiPoints*>(source);
        if (!prepare(*piece, multiPoints, smooth_ && multiPoints.multicolor != 0, slot)) continue;
        traced.set(k, nullptr);
        keep(piece, slot);
    }
    timings_.tracing += step.lap();
}

void SoHLHSRImageVectorizer::keep(SoPrimitiveMultiPoints* piece, int slot) {
    for (int i = 0; i < piece->numPoints; ++i) {
        piece->points[i][0] += tileShift_[0];
        piece->points[i][1] += tileShift_[1];
    }
    kept_[static_cast<size_t>(slot)].emplace_back(piece);
}

// Pieces of different tiles never overlap; those of one tile may (a region, then what lies
// in its holes), so each tile keeps its order. Among the tiles' next pieces, one of the
// colour just taken goes first: a colour that spans tiles becomes one run.
void SoHLHSRImageVectorizer::runFillsByColour() {
    auto& fills = kept_[0];
    const size_t tiles = fillTileStarts_.size();
    std::vector<size_t> next = fillTileStarts_, end(tiles, fills.size());
    for (size_t t = 0; t + 1 < tiles; ++t) end[t] = fillTileStarts_[t + 1];
    const auto colour = [&](size_t at) -> std::int64_t {
        return fills[at]->multicolor ? -1 : fills[at]->colors[0].getPackedValue(0.0f);
    };
    std::unordered_map<std::int64_t, std::vector<size_t>> waiting;
    const auto offer = [&](size_t t) {
        if (next[t] < end[t]) waiting[colour(next[t])].push_back(t);
    };
    for (size_t t = 0; t < tiles; ++t) offer(t);
    std::vector<std::unique_ptr<SoPrimitiveMultiPoints>> runs;
    runs.reserve(fills.size());
    size_t first = 0;
    std::int64_t last = -1;
    while (runs.size() < fills.size()) {
        size_t tile = tiles;
        const auto same = last >= 0 ? waiting.find(last) : waiting.end();
        while (same != waiting.end() && tile == tiles && !same->second.empty()) {
            const size_t t = same->second.back();
            same->second.pop_back();
            if (next[t] < end[t] && colour(next[t]) == last) tile = t;
        }
        while (tile == tiles && next[first] == end[first]) ++first;
        if (tile == tiles) tile = first;
        last = colour(next[tile]);
        runs.push_back(std::move(fills[next[tile]++]));
        offer(tile);
    }
    fills.swap(runs);
    fillTileStarts_.clear();
}

void SoHLHSRImageVectorizer::printKept() {
    SoStopwatch step;
    runFillsByColour();
    engine_->setProjectionSource(
        SbBox2f(-0.5f, -0.5f, rasterSize_[0] - 0.5f, rasterSize_[1] - 0.5f));
    for (auto& slot : kept_) {
        for (auto& piece : slot) {
            piece->print(engine_);
            ++timings_.printed;
        }
        slot.clear();
    }
    engine_->setDefaultProjectionSource();
    timings_.printing += step.lap();
}

bool SoHLHSRImageVectorizer::prepare(SoPrimitiveMultiPoints& traced, SoPrimitiveMultiPoints& source,
                                     bool interpolate, int slot) {
    traced.copyAttributes(source);
    if (traced.getType() == SoGraphicPrimitive::POLYLINE &&
        source.getType() == SoGraphicPrimitive::POLYLINE)
        continuePattern(static_cast<SoPolyLine&>(traced), static_cast<SoPolyLine&>(source));
    if (interpolate) {
        interpolateColors(traced, source);
        if (traced.multicolor && traced.getType() == SoGraphicPrimitive::POLYGON) {
            keepShadedPolygon(static_cast<SoPolygon&>(traced), source, slot);
            return false;
        }
    } else {
        const int count = traced.multicolor ? traced.numPoints : std::min(1, traced.numPoints);
        for (int i = 0; i < count; ++i) traced.colors[i] = source.colors[0];
    }
    return true;
}

void SoHLHSRImageVectorizer::continuePattern(SoPolyLine& traced, const SoPolyLine& source) const {
    if (source.linePattern == 0xFFFF || traced.numPoints != 2 || source.numPoints != 2) return;
    const SbVec2f from(source.points[0][0], source.points[0][1]);
    const SbVec2f way = SbVec2f(source.points[1][0], source.points[1][1]) - from;
    const float squared = way.dot(way);
    if (!(squared > 0.0f)) return;
    float along[2];
    for (int i = 0; i < 2; ++i) {
        const SbVec2f at =
            renderer_->tileToWorld(SbVec2f(traced.points[i][0], traced.points[i][1]));
        along[i] = std::min(std::max((at - from).dot(way) / squared, 0.0f), 1.0f);
    }
    if (along[1] < along[0]) {
        std::swap(traced.points[0], traced.points[1]);
        std::swap(traced.colors[0], traced.colors[1]);
        std::swap(along[0], along[1]);
    }
    traced.patternPhase = source.patternPhase + along[0] * source.patternLength;
    traced.patternLength = (along[1] - along[0]) * source.patternLength;
}

// Each corner takes the source's colour at its place; when they all agree to a hundredth,
// the piece is printed in one colour.
void SoHLHSRImageVectorizer::interpolateColors(SoPrimitiveMultiPoints& traced,
                                               const SoPrimitiveMultiPoints& source) {
    bool differ = false;
    for (int i = 0; i < traced.numPoints; ++i) {
        const SbVec4f& p = traced.points[i];
        const SbVec2f place = renderer_->tileToWorld(SbVec2f(p[0], p[1]));
        traced.colors[i] = SoRasterColorInterpolator::colorAt(source, place);
        differ = differ || SoRasterColorInterpolator::differ(traced.colors[i], traced.colors[0]);
    }
    traced.multicolor = differ ? 1 : 0;
}

// Backends that cannot shade print a polygon in the colour of its first point: the outline
// starts at the corner nearest the source's first point, as the source itself would print.
void SoHLHSRImageVectorizer::keepShadedPolygon(SoPolygon& traced,
                                               const SoPrimitiveMultiPoints& source, int slot) {
    const SbVec2f first(source.points[0][0], source.points[0][1]);
    int start = 0;
    float nearest = -1.0f;
    for (int i = 0; i < traced.numPoints; ++i) {
        const SbVec2f corner(traced.points[i][0], traced.points[i][1]);
        const float distance = (renderer_->tileToWorld(corner) - first).sqrLength();
        if (nearest < 0.0f || distance < nearest) start = i, nearest = distance;
    }
    std::vector<SbVec2f> outline;
    for (int i = 0; i < traced.numPoints; ++i) {
        const SbVec4f& p = traced.points[(start + i) % traced.numPoints];
        outline.emplace_back(p[0], p[1]);
    }
    for (const std::vector<SbVec2f>& corners : SoFanPieces::of(outline, FAN_SPILL)) {
        std::vector<SbVec4f> points;
        for (const SbVec2f& c : corners) points.emplace_back(c[0], c[1], 0.0f, 1.0f);
        const std::vector<SbColor> unset(points.size());
        auto piece = std::make_unique<SoPolygon>();
        piece->set(static_cast<int>(points.size()), points.data(), unset.data(), 1,
                   traced.lineWidth, traced.markerSize, traced.linePattern,
                   traced.linePatternScaleFactor, traced.drawStyle, traced.string1, traced.string2,
                   traced.pattern, 0.0f, 0.0f, 0.0f);
        // Set after the points, which setting may reorder, each from where its point lies.
        for (int i = 0; i < piece->numPoints; ++i) {
            const SbVec2f at(piece->points[i][0], piece->points[i][1]);
            piece->colors[i] =
                SoRasterColorInterpolator::colorAt(source, renderer_->tileToWorld(at));
        }
        keep(piece.release(), slot);
    }
}

void SoHLHSRImageVectorizer::printWholeVisibleRecords() {
    for (int k = 0; k < primitives_->getLength(); ++k) {
        SoGraphicPrimitive* record = primitives_->getPrimitive(k);
        if (record->moveCount == 0) continue;
        record->print(engine_);
        ++timings_.printed;
    }
}

void SoHLHSRImageVectorizer::printInDepthOrder() {
    primitives_->sort(0);
    for (int k = 0; k < primitives_->getLength(); ++k) primitives_->getPrimitive(k)->print(engine_);
}
