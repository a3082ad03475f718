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
class SbViewportRegion;

/// Raster visibility: renders the stored records of a viewport in identifier colours and
/// prints, tile by tile, outlines traced around what each polygon and line leaves visible;
/// marks, texts and images that leave any visible pixel are printed whole at the end. What
/// is hidden is cut away at the precision of the raster, whatever order things came in.
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

    /// Neither is owned; the records stay in primitives (the traced ones are printed and
    /// dropped at once).
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
    void traceAndPrint(const unsigned char* buffer, const SbVec2s& origin, const SbVec2s& size,
                       int typeMask, unsigned idBase);
    /// Prints the held lines' stretches behind one group of patterned fills, then the group.
    void printPatternedGroup(const unsigned char* patterned, const SbVec2s& origin,
                             const SbVec2s& size, unsigned idBase);
    /// Prints the stretches of the held lines that no patterned fill lies in front of.
    void printHeldLines(const SbVec2s& origin, const SbVec2s& size);
    /// Makes the action project the pixel coordinates of one tile onto its place.
    void projectFromTile(const SbViewportRegion& viewport, const SbVec2s& origin,
                         const SbVec2s& size);
    /// Gives traced record its source's attributes and colours and prints it.
    void printTraced(SoPrimitiveMultiPoints& traced, SoPrimitiveMultiPoints& source,
                     bool interpolate);
    void interpolateColors(SoPrimitiveMultiPoints& traced, const SoPrimitiveMultiPoints& source);
    /// A traced stretch of a dashed segment runs the segment's way and continues its
    /// pattern from where the stretch starts.
    void continuePattern(SoPolyLine& traced, const SoPolyLine& source) const;
    /// Prints a shaded polygon as pieces that backends fill right as fans.
    void printShadedPolygon(SoPolygon& traced, const SoPrimitiveMultiPoints& source);
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

    static Timings lastTimings;
};
