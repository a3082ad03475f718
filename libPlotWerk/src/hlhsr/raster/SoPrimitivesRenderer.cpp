// Identifier images of the stored records, tile by tile.
//
// The list's x and y span -1 .. 1 over the whole raster; a tile sees its share of that
// window plus a margin of a few pixels on every side, which is drawn but not read back: a
// wide point or a line end just outside the tile then still covers the pixels inside it
// that it would cover in a raster drawn at once, so tiles meet without seams.
//
// Depth: the records' third coordinate grows away from the viewer; the orthographic window
// spans the list's depth range with a little room (SoDepthWindow), so that nothing at the
// extremes is clipped away.

#include "SoPrimitivesRenderer.h"

#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbBox3f.h>

#include <algorithm>

#include "../SoDepthWindow.h"
#include "../SoGraphicPrimitive.h"
#include "../SoGraphicPrimitiveList.h"
#include "../SoHLHSRGLFunctions.h"
#include "../SoPolygon.h"
#include "../SoStopwatch.h"
#include "SoTileBufferObserver.h"

SoPrimitivesRenderer::SoPrimitivesRenderer(const SbViewportRegion& region)
    : SoOffscreenRenderer(region), fullSize_(region.getViewportSizePixels()) {}

SoPrimitivesRenderer::~SoPrimitivesRenderer() = default;

void SoPrimitivesRenderer::setTileEdge(int edge) {
    tileEdge_ = std::clamp(edge, 2 * margin_ + 1, MAX_TILE_EDGE);
}

// An axis that fits one buffer is one tile; a longer one is cut into tiles of the largest
// size and a last, shorter one for the rest.
void SoPrimitivesRenderer::computeTiling() {
    const int largest = tileEdge_ - 2 * margin_;
    int* counts[2] = {&numTilesX_, &numTilesY_};
    for (int axis = 0; axis < 2; ++axis) {
        const int full = std::max<int>(fullSize_[axis], 1);
        if (full <= largest) {
            tileSize_[axis] = lastTileSize_[axis] = static_cast<short>(full);
            *counts[axis] = 1;
            continue;
        }
        tileSize_[axis] = static_cast<short>(largest);
        lastTileSize_[axis] = static_cast<short>(full % largest);
        *counts[axis] = full / largest + (full % largest != 0 ? 1 : 0);
    }
}

void SoPrimitivesRenderer::setUpState() {
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    gl.Enable(GL_DEPTH_TEST);
    gl.DepthFunc(GL_LEQUAL);
    gl.Disable(GL_LIGHTING);
    gl.ShadeModel(GL_FLAT);
    gl.Disable(GL_LINE_SMOOTH);
    gl.LineWidth(1.0f);
    gl.PointSize(3.0f);
    gl.PolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    gl.PolygonOffset(0.0f, 0.0f);
    SoPolygon::resetRenderState();
}

bool SoPrimitivesRenderer::render(SoGraphicPrimitiveList& list) {
    computeTiling();
    const SbVec2s bufferSize(static_cast<short>(tileSize_[0] + 2 * margin_),
                             static_cast<short>(tileSize_[1] + 2 * margin_));
    setViewportRegion(SbViewportRegion(bufferSize[0], bufferSize[1], 1.0f));
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    if (!gl.isComplete() || !makeCurrent()) return false;
    setUpState();
    const SbBox3f& box = list.getBBox();
    const float zmin = box.isEmpty() ? 0.0f : box.getMin()[2];
    const float zmax = box.isEmpty() ? 0.0f : box.getMax()[2];
    displayLists_.assign(passFilters_.size(), -1);
    for (int column = 0; column < numTilesX_; ++column) {
        for (int row = 0; row < numTilesY_; ++row) {
            gl.ClearColor(0.0f, 0.0f, 0.0f, 0.0f);
            gl.Clear(GL_COLOR_BUFFER_BIT);
            gl.Clear(GL_DEPTH_BUFFER_BIT);
            const SbVec2s size = projectTile(column, row, zmin, zmax);
            for (int pass = 0; pass < static_cast<int>(passFilters_.size()); ++pass) {
                currentPass_ = pass;
                if (passFilters_[pass].typeMask & PATTERNED_FILLS) restoreOpaqueDepths(list, pass);
                drawPass(list, pass);
                readBackAndNotify(size, pass);
            }
        }
    }
    deleteDisplayLists();
    return true;
}

SbVec2s SoPrimitivesRenderer::projectTile(int column, int row, float zmin, float zmax) {
    const SoDepthWindow depths = SoDepthWindow::of(zmin, zmax);
    const SbVec2f pixel(2.0f / fullSize_[0], 2.0f / fullSize_[1]);
    const bool lastColumn = column == numTilesX_ - 1 && lastTileSize_[0] != 0;
    const bool lastRow = row == numTilesY_ - 1 && lastTileSize_[1] != 0;
    const int w = lastColumn ? lastTileSize_[0] : tileSize_[0];
    const int h = lastRow ? lastTileSize_[1] : tileSize_[1];
    const int sx = column * tileSize_[0], sy = row * tileSize_[1];
    curTileOrigin_.setValue(static_cast<short>(sx), static_cast<short>(sy));
    curTileSize_.setValue(static_cast<short>(w), static_cast<short>(h));
    left_ = -1.0f + (sx - margin_) * pixel[0];
    right_ = -1.0f + (sx + w + margin_) * pixel[0];
    top_ = 1.0f - (sy - margin_) * pixel[1];
    bottom_ = 1.0f - (sy + h + margin_) * pixel[1];
    const int bufferW = w + 2 * margin_, bufferH = h + 2 * margin_;
    pixelSize_.setValue((right_ - left_) / bufferW, (top_ - bottom_) / bufferH);
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    gl.MatrixMode(GL_PROJECTION);
    gl.LoadIdentity();
    gl.Viewport(0, 0, bufferW, bufferH);
    gl.Ortho(left_, right_, bottom_, top_, -depths.nearest, -depths.farthest);
    return curTileSize_;
}

SbVec2f SoPrimitivesRenderer::tileToWorld(const SbVec2f& pixel) const {
    return SbVec2f(left_ + (pixel[0] + margin_ + 0.5f) * pixelSize_[0],
                   bottom_ + (pixel[1] + margin_ + 0.5f) * pixelSize_[1]);
}

// With caching, the first tile compiles the pass into a display list that every tile
// replays; without (or when no list can be made), the records are drawn for every tile.
void SoPrimitivesRenderer::drawPass(SoGraphicPrimitiveList& list, int pass) {
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    int& slot = displayLists_[pass];
    if (slot <= 0) {
        slot = caching_ ? static_cast<int>(gl.GenLists(1)) : -1;
        if (slot > 0) gl.NewList(static_cast<GLuint>(slot), GL_COMPILE);
        // A list starts from a known offset state, whatever the previous pass left.
        SoPolygon::resetRenderState();
        drawRecords(list, passFilters_[pass]);
        if (slot > 0) gl.EndList();
    }
    if (slot > 0) gl.CallList(static_cast<GLuint>(slot));
    gl.Finish();
}

// The earlier passes' depths are drawn again rather than saved: the same records through
// the same lists give the same depths, to the bit.
void SoPrimitivesRenderer::restoreOpaqueDepths(SoGraphicPrimitiveList& list, int pass) {
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.ColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    for (int earlier = 0; earlier < pass; ++earlier) {
        if (passFilters_[earlier].typeMask & (MARKS_TEXTS_IMAGES | PATTERNED_FILLS)) continue;
        drawPass(list, earlier);
    }
    gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

bool SoPrimitivesRenderer::drawsRecord(const SoPolygon& polygon, int index,
                                       const PassFilter& filter) const {
    if (polygon.drawStyle == 1) return (filter.typeMask & LINES) != 0;
    if (polygon.drawStyle != 0) return false;
    if (!polygon.isPatternedFill()) return (filter.typeMask & FILLED_POLYGONS) != 0;
    if (!(filter.typeMask & PATTERNED_FILLS)) return false;
    return filter.patternGroup < 0 ||
           (static_cast<size_t>(index) < patternGroups_.size() &&
            patternGroups_[static_cast<size_t>(index)] == filter.patternGroup);
}

void SoPrimitivesRenderer::drawRecords(SoGraphicPrimitiveList& list, const PassFilter& filter) {
    for (int k = 0; k < list.getLength(); ++k) {
        SoGraphicPrimitive* record = list.getPrimitive(k);
        bool drawn = false;
        switch (record->getType()) {
            case SoGraphicPrimitive::POLYGON:
                drawn = drawsRecord(*static_cast<SoPolygon*>(record), k, filter);
                break;
            case SoGraphicPrimitive::POLYLINE:
                drawn = (filter.typeMask & LINES) != 0;
                break;
            default:
                drawn = (filter.typeMask & MARKS_TEXTS_IMAGES) != 0;
                break;
        }
        if (drawn) record->render(filter.idBase + 1u + static_cast<std::uint32_t>(k));
    }
}

void SoPrimitivesRenderer::readBackAndNotify(const SbVec2s& size, int pass) {
    const size_t needed = static_cast<size_t>(tileSize_[0]) * static_cast<size_t>(tileSize_[1]) * 4;
    if (buffer_.size() < needed) buffer_.resize(needed);
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    SoStopwatch readBack;
    gl.ReadBuffer(GL_FRONT);
    gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
    gl.ReadPixels(margin_, margin_, size[0], size[1], GL_RGBA, GL_UNSIGNED_BYTE, buffer_.data());
    readBackSeconds_ += readBack.lap();
    if (observer_) observer_->tileRendered(buffer_.data(), curTileOrigin_, size, pass);
}

void SoPrimitivesRenderer::deleteDisplayLists() {
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    for (int& slot : displayLists_) {
        if (slot > 0) gl.DeleteLists(static_cast<GLuint>(slot), 1);
        slot = -1;
    }
}
