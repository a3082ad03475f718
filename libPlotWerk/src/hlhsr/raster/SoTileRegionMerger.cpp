// Plainer identifier images before tracing.
//
// The tile is read once into runs, stretches of one identifier along a row, and all the
// rest works on runs: a tile of millions of pixels has a few hundred thousand runs at most.
// Pieces are found with a union-find over runs, 8-connected as the tracer follows regions
// (runs on neighbouring rows that overlap or touch at a corner); background is joined
// 4-connected (runs that overlap), the way it stays apart from regions whose pixels touch
// only at a corner, and is enclosed when a piece of it reaches no edge of the tile.

#include "SoTileRegionMerger.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {
constexpr std::uint32_t NONE = 0xFFFFFFFFu;

}  // namespace

SoTileRegionMerger::SoTileRegionMerger(std::vector<std::uint32_t> canonical, int speckLimit)
    : canonical_(std::move(canonical)), speckLimit_(speckLimit) {}

const unsigned char* SoTileRegionMerger::apply(const unsigned char* tile, int w, int h) {
    if (!tile || w <= 0 || h <= 0) return tile;
    w_ = w, h_ = h;
    const bool merged = readRuns(tile);
    if (backgroundEnclosed()) {
        ++keptWhole_;
        return tile;
    }
    const bool joined = joinSpecks();
    if (!merged && !joined) return tile;
    out_.assign(tile, tile + static_cast<std::size_t>(w) * h * 4);
    store(out_.data());
    return out_.data();
}

// Reads the rows into runs, each identifier already replaced by its canonical one; true
// when some identifier was replaced.
bool SoTileRegionMerger::readRuns(const unsigned char* tile) {
    runs_.clear();
    rowStart_.assign(static_cast<std::size_t>(h_) + 1, 0);
    bool replaced = false;
    for (int y = 0; y < h_; ++y) {
        rowStart_[y] = static_cast<std::int32_t>(runs_.size());
        const unsigned char* p = tile + static_cast<std::size_t>(y) * w_ * 4;
        for (int x = 0; x < w_; ++x, p += 4) {
            std::uint32_t id =
                std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
            if (id < canonical_.size() && canonical_[id] != id) {
                id = canonical_[id];
                replaced = true;
            }
            if (x > 0 && runs_.back().id == id)
                ++runs_.back().x1;
            else
                runs_.push_back({id, x, x + 1, y});
        }
    }
    rowStart_[h_] = static_cast<std::int32_t>(runs_.size());
    return replaced;
}

// Joins the runs of each row with those of the row below it that are of the same kind and
// overlap (reach: how far apart their ends may be, 1 for corners touching); the runs of a
// row are in order, so one sweep per row pair finds every overlap.
template <class Joinable>
void SoTileRegionMerger::joinRows(int reach, Joinable joinable) {
    sets_.reset(runs_.size());
    for (int y = 1; y < h_; ++y) {
        std::int32_t above = rowStart_[y - 1];
        for (std::int32_t r = rowStart_[y]; r < rowStart_[y + 1]; ++r) {
            const Run& run = runs_[r];
            while (above < rowStart_[y] && runs_[above].x1 + reach <= run.x0) ++above;
            for (std::int32_t a = above; a < rowStart_[y] && runs_[a].x0 < run.x1 + reach; ++a)
                if (runs_[a].id == run.id && joinable(run.id)) sets_.join(r, a);
        }
    }
}

bool SoTileRegionMerger::backgroundEnclosed() {
    joinRows(0, [](std::uint32_t id) { return id == 0; });
    reachesEdge_.assign(runs_.size(), 0);
    for (std::size_t r = 0; r < runs_.size(); ++r) {
        const Run& run = runs_[r];
        if (run.id == 0 && (run.y == 0 || run.y == h_ - 1 || run.x0 == 0 || run.x1 == w_))
            reachesEdge_[sets_.find(static_cast<std::int32_t>(r))] = 1;
    }
    for (std::size_t r = 0; r < runs_.size(); ++r)
        if (runs_[r].id == 0 && !reachesEdge_[sets_.find(static_cast<std::int32_t>(r))])
            return true;
    return false;
}

// A speck joins the first other region found beside it; one with only background around
// it stays, since nothing else would show there.
bool SoTileRegionMerger::joinSpecks() {
    if (speckLimit_ <= 1) return false;
    joinRows(1, [](std::uint32_t id) { return id != 0; });
    size_.assign(runs_.size(), 0);
    for (std::size_t r = 0; r < runs_.size(); ++r)
        if (runs_[r].id != 0)
            size_[sets_.find(static_cast<std::int32_t>(r))] += runs_[r].x1 - runs_[r].x0;
    joinTo_.assign(runs_.size(), NONE);
    bool any = false;
    for (std::size_t r = 0; r < runs_.size(); ++r) {
        const std::int32_t root = sets_.find(static_cast<std::int32_t>(r));
        if (runs_[r].id == 0 || size_[root] >= speckLimit_ || joinTo_[root] != NONE) continue;
        const std::uint32_t other = neighbourOf(static_cast<std::int32_t>(r));
        if (other == NONE) continue;
        joinTo_[root] = other;
        any = true;
    }
    if (!any) return false;
    for (std::size_t r = 0; r < runs_.size(); ++r) {
        if (runs_[r].id == 0) continue;
        const std::uint32_t joined = joinTo_[sets_.find(static_cast<std::int32_t>(r))];
        if (joined != NONE) runs_[r].id = joined;
    }
    return true;
}

// Another region beside run r: before or after it in its row, or overlapping it in the row
// above or below; NONE when there is only background (or the same region).
std::uint32_t SoTileRegionMerger::neighbourOf(std::int32_t r) const {
    const Run& run = runs_[r];
    auto other = [&](std::uint32_t id) { return id != 0 && id != run.id; };
    if (r > rowStart_[run.y] && other(runs_[r - 1].id)) return runs_[r - 1].id;
    if (r + 1 < rowStart_[run.y + 1] && other(runs_[r + 1].id)) return runs_[r + 1].id;
    for (int y : {run.y - 1, run.y + 1}) {
        if (y < 0 || y >= h_) continue;
        const Run* end = runs_.data() + rowStart_[y + 1];
        const Run* a = std::partition_point(runs_.data() + rowStart_[y], end,
                                            [&](const Run& b) { return b.x1 <= run.x0; });
        for (; a < end && a->x0 < run.x1; ++a)
            if (other(a->id)) return a->id;
    }
    return NONE;
}

void SoTileRegionMerger::store(unsigned char* out) const {
    for (const Run& run : runs_) {
        unsigned char* p = out + (static_cast<std::size_t>(run.y) * w_ + run.x0) * 4;
        for (int x = run.x0; x < run.x1; ++x, p += 4) {
            p[0] = static_cast<unsigned char>(run.id & 0xFFu);
            p[1] = static_cast<unsigned char>((run.id >> 8) & 0xFFu);
            p[2] = static_cast<unsigned char>((run.id >> 16) & 0xFFu);
        }
    }
}
