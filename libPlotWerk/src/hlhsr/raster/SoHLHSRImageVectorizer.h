#pragma once

#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec2s.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "SoTileBufferObserver.h"

class SoGraphicPrimitiveList;
class SoHLHSRVectorize;
class SoPolygon;
class SoPolyLine;
class SoPrimitiveMultiPoints;
class SoPrimitivesRenderer;
class SoTileRegionMerger;
class SoVectorizeAction;

/// Raster visibility: renders the stored records of a viewport in identifier colours,
/// traces tile by tile outlines around what each polygon and line leaves visible and prints
/// them; marks, texts and images that leave any visible pixel are printed whole at the end.
/// What is hidden is cut away at the precision of the raster, whatever order things came in.
class SoHLHSRImageVectorizer : public SoTileBufferObserver {
  public:
    /// Where the time of the last run went, in seconds, and what it made.
    struct Timings {
        double render = 0.0;
        double readBack = 0.0;
        double tracing = 0.0;
        double printing = 0.0;
        int tiles = 0;
        /// Records printed (traced pieces and whole records).
        int printed = 0;
        /// Stored records that left at least one pixel.
        int visible = 0;
    };

    /// Neither is owned; the records stay in primitives (the traced pieces are printed and
    /// dropped once every tile is traced).
    SoHLHSRImageVectorizer(SoGraphicPrimitiveList* primitives, SoHLHSRVectorize* engine);
    ~SoHLHSRImageVectorizer() override;
    SoHLHSRImageVectorizer(const SoHLHSRImageVectorizer&) = delete;
    SoHLHSRImageVectorizer& operator=(const SoHLHSRImageVectorizer&) = delete;

    /// Renders, traces and prints everything in the list.
    void run();
    void tileRendered(const unsigned char* buffer, const SbVec2s& origin, const SbVec2s& size,
                      int pass) override;

    /// Pixels per inch of the drawing for a raster quality (0 to 1).
    static int resolutionFor(float quality);
    /// The raster for the action's drawing size and raster settings: whole tiles, at least
    /// one along each axis.
    static SbVec2s computeRasterSize(const SoVectorizeAction& action);
    const SbVec2s& getRasterSize() const { return rasterSize_; }
    /// The largest number of records one raster can tell apart.
    static int getMaxRecords();
    static const Timings& getLastTimings() { return lastTimings; }

  private:
    void addPassFilters();
    /// For each polygon identifier, the first identifier of a record that prints alike.
    std::vector<std::uint32_t> alikeIdentifiers() const;
    void noteSeen(unsigned index);
    void noteSeenIn(const unsigned char* buffer, const SbVec2s& size);
    void markVisible(const unsigned char* buffer, const SbVec2s& size, unsigned idBase);
    /// Traces one pass of a tile and keeps what it finds in slot for printing.
    void trace(const unsigned char* buffer, const SbVec2s& origin, const SbVec2s& size,
               int typeMask, unsigned idBase, int slot);
    /// Keeps the held lines' stretches behind one group of patterned fills, then the group.
    void keepPatternedGroup(const unsigned char* patterned, const SbVec2s& origin,
                            const SbVec2s& size, unsigned idBase, int group);
    /// Keeps the stretches of the held lines that no patterned fill lies in front of.
    void keepHeldLines(const SbVec2s& origin, const SbVec2s& size);
    /// Where the lines go that print before group (after all groups, for their count);
    /// the group itself goes in the next slot, the solid fills in slot 0.
    static int lineSlot(int group) { return 1 + 2 * group; }
    /// Gives a traced piece its source's attributes and colours; false when it went into
    /// slot as pieces of its own instead.
    bool prepare(SoPrimitiveMultiPoints& traced, SoPrimitiveMultiPoints& source, bool interpolate,
                 int slot);
    /// Moves a piece from the tile's pixel coordinates to the raster's and keeps it.
    void keep(SoPrimitiveMultiPoints* piece, int slot);
    /// Orders the kept solid fills so that fills of one colour follow one another where the
    /// order within each tile allows.
    void runFillsByColour();
    /// Prints and drops every kept piece, slot by slot.
    void printKept();
    void interpolateColors(SoPrimitiveMultiPoints& traced, const SoPrimitiveMultiPoints& source);
    /// A traced stretch of a dashed segment runs the segment's way and continues its
    /// pattern from where the stretch starts.
    void continuePattern(SoPolyLine& traced, const SoPolyLine& source) const;
    /// Keeps a shaded polygon as pieces that backends fill right as fans.
    void keepShadedPolygon(SoPolygon& traced, const SoPrimitiveMultiPoints& source, int slot);
    void printWholeVisibleRecords();
    /// Prints the records as the depth sort would, for a list too long for identifiers.
    void printInDepthOrder();

    SoGraphicPrimitiveList* primitives_;
    SoHLHSRVectorize* engine_;
    SbVec2s rasterSize_{0, 0};
    SoPrimitivesRenderer* renderer_ = nullptr;
    std::unique_ptr<SoTileRegionMerger> merger_;
    /// Whether smooth shading asks for colours interpolated over each record.
    bool smooth_ = false;
    Timings timings_;
    /// Which stored records left a pixel, for the count of visible ones.
    std::vector<char> seen_;
    /// A tile's lines, waiting for the patterned fills drawn after them; the stretches
    /// printed so far are cleared.
    std::vector<unsigned char> heldLines_;
    unsigned heldLinesBase_ = 0;
    int patternGroups_ = 0;
    /// Traced pieces in raster pixel coordinates, waiting for every tile, by printing slot.
    std::vector<std::vector<std::unique_ptr<SoPrimitiveMultiPoints>>> kept_;
    /// Where each tile's solid fills start among the kept ones.
    std::vector<size_t> fillTileStarts_;
    /// What moves the tile being traced to its place in the raster.
    SbVec2f tileShift_{0.0f, 0.0f};

    static Timings lastTimings;
};
