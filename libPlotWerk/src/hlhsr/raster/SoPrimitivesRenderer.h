#pragma once

#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec2s.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>

#include <cstdint>
#include <utility>
#include <vector>

class SoGraphicPrimitiveList;
class SoPolygon;
class SoTileBufferObserver;

/// Draws the records of a primitive list into an offscreen buffer, each in a flat colour
/// that names it (record k of a pass as idBase + 1 + k), and hands every read-back image to
/// an observer. A raster larger than one buffer is drawn tile by tile, each tile with a
/// margin so that lines and points cut by the tile edge still rasterise as in one piece; a
/// tile goes through every pass before the next tile starts, and its depth buffer is kept
/// across passes, so later passes see only what earlier ones left visible.
class SoPrimitivesRenderer : public SoOffscreenRenderer {
  public:
    /// Which records a pass draws, and the number its identifiers start after.
    struct PassFilter {
        /// FILLED_POLYGONS, PATTERNED_FILLS, LINES and MARKS_TEXTS_IMAGES, or'ed.
        std::uint8_t typeMask = 0;
        std::uint32_t idBase = 0;
        /// In a pass of patterned fills, the group of them it draws (see setPatternGroups);
        /// negative for all.
        int patternGroup = -1;
    };
    /// Filled polygons are the solid ones. A pass of patterned fills starts from a cleared
    /// image over the depths of the solid fills and lines alone: it shows where its fills
    /// lie in front of those, and neither the marks nor another group of patterned fills
    /// takes pixels from it, nor it from them.
    enum TypeMask { FILLED_POLYGONS = 1, LINES = 2, MARKS_TEXTS_IMAGES = 4, PATTERNED_FILLS = 8 };
    /// The largest buffer side drawn at once, margins included.
    static constexpr int MAX_TILE_EDGE = 2048;

    /// region's viewport size is the whole raster, in pixels.
    explicit SoPrimitivesRenderer(const SbViewportRegion& region);
    ~SoPrimitivesRenderer() override;

    /// Whether each pass is compiled once into a display list and replayed for every tile.
    void setCaching(int flag) { caching_ = flag; }
    void addPassFilter(const PassFilter& filter) { passFilters_.push_back(filter); }
    void clearPassFilters() { passFilters_.clear(); }
    /// For each record of the list, the group a patterned fill belongs to.
    void setPatternGroups(std::vector<int> groups) { patternGroups_ = std::move(groups); }
    const std::vector<PassFilter>& getPassFilters() const { return passFilters_; }
    /// Not owned; null for none.
    void setObserver(SoTileBufferObserver* observer) { observer_ = observer; }
    /// Tiles no larger than edge pixels a side, margins included (at most MAX_TILE_EDGE).
    void setTileEdge(int edge);

    using SoOffscreenRenderer::render;
    /// Draws every tile and pass of the list, whose x, y span -1 .. 1 across the raster.
    /// False, with nothing observed, when no offscreen context can be made.
    bool render(SoGraphicPrimitiveList& list);

    /// The nominal tile size and the number of tiles along each axis (known once render
    /// has started).
    const SbVec2s& getTileSize() const { return tileSize_; }
    int getNumTilesX() const { return numTilesX_; }
    int getNumTilesY() const { return numTilesY_; }
    /// The list coordinates (x, y) of a point of the tile being observed, given in its pixel
    /// coordinates: pixel (c, r) of the read-back image has its centre at (c, r).
    SbVec2f tileToWorld(const SbVec2f& pixel) const;
    /// Time spent reading tiles back, in seconds, since construction.
    double getReadBackSeconds() const { return readBackSeconds_; }

  private:
    void computeTiling();
    void setUpState();
    /// Sets the projection of tile (column, row) and returns its size in pixels.
    SbVec2s projectTile(int column, int row, float zmin, float zmax);
    void drawPass(SoGraphicPrimitiveList& list, int pass);
    /// Leaves the depths of the solid fills' and lines' passes before pass, and a clear image.
    void restoreOpaqueDepths(SoGraphicPrimitiveList& list, int pass);
    bool drawsRecord(const SoPolygon& polygon, int index, const PassFilter& filter) const;
    void drawRecords(SoGraphicPrimitiveList& list, const PassFilter& filter);
    void readBackAndNotify(const SbVec2s& size, int pass);
    void deleteDisplayLists();

    std::vector<unsigned char> buffer_;
    SbVec2s tileSize_{0, 0};
    SbVec2s lastTileSize_{0, 0};
    SbVec2s curTileSize_{0, 0};
    SbVec2s curTileOrigin_{0, 0};
    int margin_ = 2;
    int tileEdge_ = MAX_TILE_EDGE;
    int numTilesX_ = 0;
    int numTilesY_ = 0;
    SbVec2s fullSize_;
    std::vector<PassFilter> passFilters_;
    std::vector<int> patternGroups_;
    std::vector<int> displayLists_;
    SoTileBufferObserver* observer_ = nullptr;
    int currentPass_ = 0;
    // The current tile's window onto the list coordinates, and the size of one of its pixels.
    float left_ = -1.0f, right_ = 1.0f, top_ = 1.0f, bottom_ = -1.0f;
    SbVec2f pixelSize_{0.0f, 0.0f};
    int caching_ = 1;
    double readBackSeconds_ = 0.0;
};
