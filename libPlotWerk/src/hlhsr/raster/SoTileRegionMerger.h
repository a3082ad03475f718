#pragma once

#include <cstdint>
#include <vector>

#include "../SoDisjointSets.h"

/// Rewrites the identifier image of a tile before it is traced, so that fewer and plainer
/// outlines come out of it:
/// - regions of records that print alike (a canonical identifier per record, given by the
///   caller) take one identifier, so that a flat surface made of many records is traced as
///   one outline;
/// - specks, pieces of a region smaller than a few pixels (slivers of thin records, corners
///   of records hidden almost everywhere), join a neighbouring region: traced alone they
///   would be simplified to nothing and leave a hole.
/// Neither is done in a tile where some background is enclosed: an outline is filled whole,
/// and a merged region around a pocket of background would paint it over. Records that are
/// not merged are convex and cannot enclose background.
class SoTileRegionMerger {
  public:
    /// canonical[id] is the identifier region id is traced as (ids past its end keep their
    /// own); speckLimit: pieces of fewer pixels join a neighbour.
    SoTileRegionMerger(std::vector<std::uint32_t> canonical, int speckLimit);

    /// The tile (RGBA pixels as read back, identifier in the low 24 bits) rewritten, or the
    /// tile itself when nothing changes; valid until the next call.
    const unsigned char* apply(const unsigned char* tile, int w, int h);
    /// Tiles left as they were because background was enclosed, since construction.
    int getTilesKeptWhole() const { return keptWhole_; }

  private:
    /// A stretch of one identifier along a row: pixels x0 .. x1 - 1 of row y.
    struct Run {
        std::uint32_t id;
        std::int32_t x0, x1, y;
    };

    bool readRuns(const unsigned char* tile);
    template <class Joinable>
    void joinRows(int reach, Joinable joinable);
    bool backgroundEnclosed();
    bool joinSpecks();
    std::uint32_t neighbourOf(std::int32_t run) const;
    void store(unsigned char* out) const;

    std::vector<std::uint32_t> canonical_;
    int speckLimit_;
    int w_ = 0, h_ = 0;
    std::vector<Run> runs_;
    /// The first run of each row, and the run count after the last row.
    std::vector<std::int32_t> rowStart_;
    SoDisjointSets sets_;
    std::vector<std::int32_t> size_;
    std::vector<unsigned char> reachesEdge_;
    std::vector<std::uint32_t> joinTo_;
    std::vector<unsigned char> out_;
    int keptWhole_ = 0;
};
