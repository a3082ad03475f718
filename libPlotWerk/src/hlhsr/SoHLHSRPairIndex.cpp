#include "SoHLHSRPairIndex.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "SoGraphicPrimitive.h"
#include "SoGraphicPrimitiveList.h"

namespace {
// Level 0 has about one cell for every four records, and no more than 2 to this power.
constexpr int MAX_CELLS_LOG2 = 20;
// Queries are counted in the bits a slot has for them.
constexpr unsigned QUERY_LIMIT = 1u << 25;
// A walk gives way to the grid once it has passed over this many records, and four times
// as many as it found, without handing them out: then the records are small and apart, as
// in a mesh, and the grid finds the few that matter.
constexpr long long WALK_SLACK = 16;
constexpr long long WALK_RATIO = 4;
// A polygon whose walk gives way twice running to a grid list at least this long keeps the
// list (see keepList); so many lists are kept at most, and no more entries than records,
// the oldest giving way.
constexpr size_t KEPT_LIST_LEAST = 64;
constexpr size_t KEPT_LISTS = 8;
// Grids of a few records are not worth laying out again.
constexpr size_t REBUILD_SLACK = 16;
// A polygon or a line is thin when it fills less than this share of its box; it is kept on
// the finest level where its outline touches at most so many cells.
constexpr double THIN_SHARE = 1.0 / 8.0;
constexpr std::size_t THIN_CELLS = 128;
// Records kept below this level span a few cells at most: their outlines would save little.
constexpr int THIN_LEAST_LEVEL = 3;
}  // namespace

SoHLHSRPairIndex::SoHLHSRPairIndex(SoGraphicPrimitiveList& list) : list_(list) {
    const int n = list.getLength();
    slots_.reserve(n);
    slotOfPosition_.reserve(n);
    for (int k = 0; k < n; ++k) slotOfPosition_.push_back(newSlot(list.getPrimitive(k), k));
    build(0);
}

// Slots keep their numbers (the painter holds some): only the grid is made anew, for the
// records from position `first` on.
void SoHLHSRPairIndex::build(int first) {
    for (Pyramid& pyramid : pyramids_) pyramid.levels.clear();
    levels_ = columns_ = rows_ = 1;
    const std::vector<int> indexed(slotOfPosition_.begin() + first, slotOfPosition_.end());
    unplaced_.clear();
    for (int s : indexed)
        if (hasEmptyBox(slots_[s])) unplaced_.push_back(s);
    setUpGrid(indexed);
    packCells(indexed);
    builtFor_ = entries_ = indexed.size();
}

// The grid covers the finite extent of the boxes. Coordinates outside it (pieces a rounding
// step outside their parent, infinite ones) fall into the border cells: the cell of a
// coordinate only needs to grow with the coordinate for the shared-cell argument to hold.
void SoHLHSRPairIndex::setUpGrid(const std::vector<int>& indexed) {
    float minX = HUGE_VALF, minY = HUGE_VALF, maxX = -HUGE_VALF, maxY = -HUGE_VALF;
    for (int s : indexed) {
        const Slot& slot = slots_[s];
        if (hasEmptyBox(slot)) continue;
        for (float x : {slot.minX, slot.maxX}) {
            if (std::isfinite(x)) minX = std::min(minX, x), maxX = std::max(maxX, x);
        }
        for (float y : {slot.minY, slot.maxY}) {
            if (std::isfinite(y)) minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    }
    const float width = maxX - minX, height = maxY - minY;
    const bool wide = std::isfinite(width) && width > 0.0f;
    const bool high = std::isfinite(height) && height > 0.0f;
    chooseCellCounts(indexed.size(), wide ? width : 0.0f, high ? height : 0.0f);
    grid_ = SoCellGrid(std::isfinite(minX) ? minX : 0.0f, std::isfinite(minY) ? minY : 0.0f,
                       wide ? static_cast<float>(columns_) / width : 0.0f,
                       high ? static_cast<float>(rows_) / height : 0.0f, columns_, rows_);
    while ((columns_ >> (levels_ - 1)) > 1 || (rows_ >> (levels_ - 1)) > 1) ++levels_;
}

// Cells are about square on the page. Cells square in the grid's own terms are as long as
// the extent is wide: a line of 3D text seen from the front would put every glyph into
// cells that hold half the line, and compare each record with half the others.
void SoHLHSRPairIndex::chooseCellCounts(size_t records, float width, float height) {
    int cellsLog2 = 0;
    while (cellsLog2 < MAX_CELLS_LOG2 && (size_t(4) << cellsLog2) <= records) cellsLog2 += 2;
    // How many times more columns than rows, as a power of two; an extent without width or
    // height gets one row or one column.
    int skew = 0;
    if (width > 0.0f && height > 0.0f) {
        const double ratio = std::log2(static_cast<double>(width) / height);
        skew = static_cast<int>(std::lround(std::clamp<double>(ratio, -cellsLog2, cellsLog2)));
    } else if (width > 0.0f || height > 0.0f) {
        skew = width > 0.0f ? cellsLog2 : -cellsLog2;
    }
    // The power of the cell count is even: an odd skew rounds towards square cells.
    const int columnsLog2 = cellsLog2 / 2 + skew / 2;
    columns_ = 1 << columnsLog2;
    rows_ = 1 << (cellsLog2 - columnsLog2);
}

void SoHLHSRPairIndex::makeLevels(Pyramid& pyramid) const {
    if (!pyramid.levels.empty()) return;
    pyramid.levels.resize(levels_);
    for (int level = 0; level < levels_; ++level) {
        const size_t cells = columnsAt(level) * static_cast<size_t>(std::max(1, rows_ >> level));
        pyramid.levels[level].first.assign(cells + 1, 0);
        pyramid.levels[level].unplacedFrom.assign(cells, 0);
    }
}

// Calls visit(cells, c) for every cell c of its level that the slot is kept in.
template <class Visit>
void SoHLHSRPairIndex::visitCells(const Slot& slot, Visit visit) {
    Level& cells = pyramidOf(slot).levels[slot.level];
    forEachCell(slot, rangeOf(slot), slot.level, SIZE_MAX, [&](size_t c) { visit(cells, c); });
}

// A counting sort of the slots by cell: count, turn the counts into starts, fill. Each cell
// gets its slots farthest first (see collectFromLevel), in the order given among equals.
void SoHLHSRPairIndex::packCells(const std::vector<int>& given) {
    auto farther = [this](int a, int b) { return farDepth(slots_[a]) > farDepth(slots_[b]); };
    // The first grid is made for the depth-sorted list: it needs no copy.
    std::vector<int> sorted;
    if (!std::is_sorted(given.begin(), given.end(), farther)) {
        sorted = given;
        std::stable_sort(sorted.begin(), sorted.end(), farther);
    }
    const std::vector<int>& indexed = sorted.empty() ? given : sorted;
    std::vector<size_t> perLevel[2] = {std::vector<size_t>(levels_), std::vector<size_t>(levels_)};
    for (int s : indexed) {
        Slot& slot = slots_[s];
        if (hasEmptyBox(slot)) continue;
        place(slot);
        makeLevels(pyramidOf(slot));
        visitCells(slot, [](Level& cells, size_t c) { ++cells.first[c + 1]; });
        ++perLevel[slot.polygon ? 0 : 1][slot.level];
    }
    for (int kind = 0; kind < 2; ++kind) {
        for (size_t level = 0; level < pyramids_[kind].levels.size(); ++level) {
            Level& cells = pyramids_[kind].levels[level];
            std::partial_sum(cells.first.begin(), cells.first.end(), cells.first.begin());
            cells.packed.resize(static_cast<size_t>(cells.first.back()));
            cells.all.reserve(perLevel[kind][level]);
        }
    }
    for (int s : indexed) {
        const Slot& slot = slots_[s];
        if (hasEmptyBox(slot)) continue;
        visitCells(slot, [s](Level& cells, size_t c) { cells.packed[cells.first[c]++] = s; });
        pyramidOf(slot).levels[slot.level].all.push_back(s);
    }
    // Filling moved the start of every cell on to the start of the next one.
    for (Pyramid& pyramid : pyramids_) {
        for (Level& cells : pyramid.levels) {
            for (size_t c = cells.first.size() - 1; c > 0; --c) cells.first[c] = cells.first[c - 1];
            cells.first[0] = 0;
            cells.unplacedFrom.assign(cells.first.begin(), cells.first.end() - 1);
        }
    }
}

SoCellGrid::Range SoHLHSRPairIndex::rangeOf(const Slot& slot) const {
    return grid_.boxCells(slot.minX, slot.minY, slot.maxX, slot.maxY);
}

bool SoHLHSRPairIndex::hasEmptyBox(const Slot& slot) {
    return !(slot.minX <= slot.maxX && slot.minY <= slot.maxY);
}

int SoHLHSRPairIndex::newSlot(SoGraphicPrimitive* record, int position) {
    const SbBox2f& box = *record->getBBox();
    const int s = static_cast<int>(slots_.size());
    Slot slot;
    slot.minX = box.getMin()[0], slot.minY = box.getMin()[1];
    slot.maxX = box.getMax()[0], slot.maxY = box.getMax()[1];
    slot.zMin = record->getZMin(), slot.zMax = record->getZMax();
    slot.position = position;
    slot.query = 0;
    slot.level = 0;
    slot.thin = 0;
    slot.polygon = record->getType() == SoGraphicPrimitive::POLYGON;
    slots_.push_back(slot);
    if (hasEmptyBox(slots_.back())) unplaced_.push_back(s);
    return s;
}

// Only polygons and lines have boxes that are the extent of their points, which an outline
// cover needs; a line fills none of its box.
bool SoHLHSRPairIndex::isThin(SoGraphicPrimitive* record) {
    const int type = record->getType(), n = record->getNumPoints();
    if (n < 2 || (type != SoGraphicPrimitive::POLYGON && type != SoGraphicPrimitive::POLYLINE))
        return false;
    const SbBox2f& box = *record->getBBox();
    const double width = double(box.getMax()[0]) - box.getMin()[0];
    const double height = double(box.getMax()[1]) - box.getMin()[1];
    double twiceArea = 0.0;
    for (int k = 0; type == SoGraphicPrimitive::POLYGON && k < n; ++k) {
        const SbVec4f& a = *record->getPoint(k);
        const SbVec4f& b = *record->getPoint((k + 1) % n);
        twiceArea += double(a[0]) * b[1] - double(b[0]) * a[1];
    }
    return std::fabs(twiceArea) < 2.0 * THIN_SHARE * width * height;
}

int SoHLHSRPairIndex::boxLevel(const Slot& slot) const {
    const SoCellGrid::Range r = rangeOf(slot);
    const int top = levels_ - 1;
    int level = 0;
    while (level < top &&
           ((r.x1 >> level) - (r.x0 >> level) > 1 || (r.y1 >> level) - (r.y0 >> level) > 1)) {
        ++level;
    }
    return level;
}

// A thin record goes down from its box's level while its outline stays within few cells:
// a sliver across the page is kept in a few dozen small cells instead of four that hold
// much of the page.
void SoHLHSRPairIndex::place(Slot& slot) {
    int level = boxLevel(slot);
    slot.thin = level >= THIN_LEAST_LEVEL && isThin(list_.getPrimitive(slot.position));
    const SoCellGrid::Range box = rangeOf(slot);
    while (slot.thin && level > 0 && forEachCell(slot, box, level - 1, THIN_CELLS, [](size_t) {}))
        --level;
    slot.level = static_cast<unsigned>(level);
}

// A thin record's outline; a box where its outline cannot be (a coordinate is not finite).
template <class Visit>
bool SoHLHSRPairIndex::forEachCell(const Slot& slot, const SoCellGrid::Range& box, int level,
                                   size_t limit, Visit visit) {
    const int x0 = box.x0 >> level, x1 = box.x1 >> level, y0 = box.y0 >> level,
              y1 = box.y1 >> level;
    const size_t side = columnsAt(level);
    if (static_cast<size_t>(y1 - y0 + 1) > limit) return false;
    if (slot.thin) {
        SoGraphicPrimitive* record = list_.getPrimitive(slot.position);
        if (grid_.outlineSpans(record->getPoint(0), record->getNumPoints(), level, spans_)) {
            if (SoCellGrid::cellsOf(spans_) > limit) return false;
            for (const SoCellGrid::Span& span : spans_)
                for (int cx = span.first; cx <= span.last; ++cx) visit(span.row * side + cx);
            return true;
        }
    }
    if (static_cast<size_t>(x1 - x0 + 1) * static_cast<size_t>(y1 - y0 + 1) > limit) return false;
    for (int cy = y0; cy <= y1; ++cy)
        for (int cx = x0; cx <= x1; ++cx) visit(cy * side + cx);
    return true;
}

void SoHLHSRPairIndex::addToCells(int s) {
    ++entries_;
    Slot& slot = slots_[s];
    if (hasEmptyBox(slot)) return;
    place(slot);
    makeLevels(pyramidOf(slot));
    visitCells(slot, [s](Level& cells, size_t c) {
        if (cells.added.empty()) cells.added.resize(cells.first.size() - 1);
        cells.added[c].push_back(s);
    });
    pyramidOf(slot).levels[slot.level].all.push_back(s);
}

// Exactly the negation of the painter's first rejections: boxes apart when one ends where
// (or before) the other starts, depth ranges apart when P's near depth is at or beyond Q's
// far depth. Written as negations so that NaN depths behave as in the painter. (Two records
// that are not polygons never meet here: they live in different pyramids, see consider().)
bool SoHLHSRPairIndex::compared(const Slot& p, const Slot& q) {
    if (p.maxX <= q.minX || q.maxX <= p.minX || p.maxY <= q.minY || q.maxY <= p.minY) {
        return false;
    }
    return !(p.zMin >= q.zMax);
}

void SoHLHSRPairIndex::consider(const Slot& p, int s, int from, std::vector<int>& out) {
    ++looks_;
    Slot& q = slots_[s];
    if (q.query == queryCount_) return;
    q.query = queryCount_;
    if (q.position > from && compared(p, q)) out.push_back(q.position);
}

// A line or a mark is compared with polygons only.
bool SoHLHSRPairIndex::kindsMeet(const Slot& p, const Slot& q) {
    return p.polygon || q.polygon;
}

// What the grid's query finds.
bool SoHLHSRPairIndex::comparedWith(int p, int s) const {
    return kindsMeet(slots_[p], slots_[s]) && compared(slots_[p], slots_[s]);
}

// Records placed before the query's position never come up again, and cuts leave the
// records they replaced in the cells and make the list longer than the grid was laid out
// for: polygons that all pierce all, cut into thousands of pieces, left nine visits in ten
// to such entries. The grid is laid out again, for the records from the position on, when
// those entries number more than half the others or the list has doubled; a build costs
// at most a few times the steps and cuts since the last one.
void SoHLHSRPairIndex::startQuery(int position, int from) {
    const size_t current = slotOfPosition_.size() - static_cast<size_t>(position);
    if (2 * entries_ > 3 * current + REBUILD_SLACK || current >= 2 * builtFor_ + REBUILD_SLACK)
        build(position);
    query_.slot = slotOfPosition_[position];
    query_.position = position;
    // A line or a mark looks for polygons only, which the grid keeps apart from the rest.
    query_.walking = slots_[query_.slot].polygon;
    query_.walkAt = from + 1;
    query_.passed = query_.found = 0;
    query_.read = 0;
    query_.kept = keptListOf(query_.slot, from);
    if (query_.kept >= 0) {
        // Past `from` its list holds every record it is compared with (and maybe more).
        const std::vector<int>& positions = kept_[size_t(query_.kept)].positions;
        query_.walking = false;
        query_.read = static_cast<size_t>(
            std::upper_bound(positions.begin(), positions.end(), from) - positions.begin());
    } else if (query_.walking)
        query_.listed.clear();
    else
        candidates(position, from, query_.listed);
}

int SoHLHSRPairIndex::nextCandidate() {
    const int length = static_cast<int>(slotOfPosition_.size());
    while (query_.walking && query_.walkAt < length) {
        const int at = query_.walkAt++;
        ++looks_;
        if (comparedWith(query_.slot, slotOfPosition_[at])) {
            ++query_.found;
            return at;
        }
        if (++query_.passed > WALK_SLACK + WALK_RATIO * query_.found) {
            query_.walking = false;
            candidates(query_.position, at, query_.listed);
            if (query_.listed.size() >= KEPT_LIST_LEAST && query_.slot == lastListed_)
                keepList(query_.slot, at, query_.listed);
            lastListed_ = query_.slot;
        }
    }
    if (query_.walking) return -1;
    if (query_.kept >= 0) return nextFromKeptList();
    return query_.read < query_.listed.size() ? query_.listed[query_.read++] : -1;
}

// A cell's packed slots come farthest first: once one lies wholly in front of the querying
// record, so do the rest. Where many records overlap on the page at different depths, as
// lines of 3D text scattered through a scene, most of a cell is in front of any one record.
// Records are placed in about that order too, and a placed record never comes up again:
// the cell's start moves past those at its head, which clusters of small records, as the
// glyphs of a text, otherwise looked at again for every record placed after them.
void SoHLHSRPairIndex::collectFromLevel(const Slot& p, const SoCellGrid::Range& box, Level& cells,
                                        int level, int placing, int from, std::vector<int>& out) {
    if (cells.all.empty()) return;
    // A cell costs a look too, empty or not: a large record's query visits many. A wide one
    // over a sparse level reads the level's entries instead, cheaper than its cells.
    const bool few = forEachCell(p, box, level, cells.all.size(), [&](size_t c) {
        ++looks_;
        int& start = cells.unplacedFrom[c];
        while (start < cells.first[c + 1] && slots_[cells.packed[start]].position < placing)
            ++start;
        for (int k = start; k < cells.first[c + 1]; ++k) {
            const int s = cells.packed[k];
            if (p.zMin >= slots_[s].zMax) break;
            consider(p, s, from, out);
        }
        if (cells.added.empty()) return;
        for (int s : cells.added[c]) consider(p, s, from, out);
    });
    if (!few)
        for (int s : cells.all) consider(p, s, from, out);
}

void SoHLHSRPairIndex::collectFromAll(const Slot& p, int from, std::vector<int>& out) {
    for (size_t pos = static_cast<size_t>(from) + 1; pos < slotOfPosition_.size(); ++pos) {
        const int s = slotOfPosition_[pos];
        if (kindsMeet(p, slots_[s])) consider(p, s, from, out);
    }
}

void SoHLHSRPairIndex::candidates(int position, int from, std::vector<int>& out) {
    out.clear();
    if (++queryCount_ == QUERY_LIMIT) {
        for (Slot& slot : slots_) slot.query = 0;
        queryCount_ = 1;
    }
    const Slot& p = slots_[slotOfPosition_[position]];
    if (hasEmptyBox(p)) {
        // Only infinite boxes can overlap an empty one; too rare to index.
        collectFromAll(p, from, out);
    } else {
        const SoCellGrid::Range box = rangeOf(p);
        // A record that is not a polygon is compared with polygons only.
        const int kinds = p.polygon ? 2 : 1;
        for (int kind = 0; kind < kinds; ++kind) {
            std::vector<Level>& levels = pyramids_[kind].levels;
            for (int level = 0; level < static_cast<int>(levels.size()); ++level) {
                collectFromLevel(p, box, levels[level], level, position, from, out);
            }
        }
        for (int s : unplaced_) {
            if (kindsMeet(p, slots_[s])) consider(p, s, from, out);
        }
    }
    std::sort(out.begin(), out.end());
}

// A polygon that many records must print before, as a face with a cloud of points behind
// it, goes back past one of them at a time and is asked again each time: a grid query for
// every one lists them all anew, a cost that grows with the square of the cloud. When its
// walk gives way to the grid a second time running, the list is kept instead, and kept
// whole: every change to the list that puts a record it is compared with at a later
// position adds that position (see notePosition).
void SoHLHSRPairIndex::keepList(int slot, int from, const std::vector<int>& listed) {
    size_t entries = listed.size();
    for (const KeptList& list : kept_) entries += list.positions.size();
    while (!kept_.empty() && (kept_.size() == KEPT_LISTS || entries > slotOfPosition_.size())) {
        entries -= kept_.front().positions.size();
        kept_.erase(kept_.begin());
    }
    kept_.push_back(KeptList{slot, from, listed});
}

int SoHLHSRPairIndex::keptListOf(int slot, int from) const {
    for (size_t k = 0; k < kept_.size(); ++k)
        if (kept_[k].slot == slot && kept_[k].from <= from) return static_cast<int>(k);
    return -1;
}

int SoHLHSRPairIndex::nextFromKeptList() {
    const std::vector<int>& positions = kept_[size_t(query_.kept)].positions;
    while (query_.read < positions.size()) {
        const int position = positions[query_.read++];
        ++looks_;
        if (comparedWith(query_.slot, slotOfPosition_[position])) return position;
    }
    return -1;
}

// Another record is at position now.
void SoHLHSRPairIndex::notePosition(int position) {
    for (KeptList& list : kept_) {
        if (position <= list.from || !comparedWith(list.slot, slotOfPosition_[position])) continue;
        const auto at = std::lower_bound(list.positions.begin(), list.positions.end(), position);
        if (at == list.positions.end() || *at != position) list.positions.insert(at, position);
    }
}

SoGraphicPrimitive* SoHLHSRPairIndex::recordOfSlot(int s) const {
    const int position = slots_[s].position;
    return position >= 0 ? list_.getPrimitive(position) : nullptr;
}

void SoHLHSRPairIndex::swapPositions(int i, int j) {
    std::swap(slotOfPosition_[i], slotOfPosition_[j]);
    slots_[slotOfPosition_[i]].position = i;
    slots_[slotOfPosition_[j]].position = j;
    notePosition(i);
    notePosition(j);
}

void SoHLHSRPairIndex::replace(int position, SoGraphicPrimitive* record) {
    Slot& old = slots_[slotOfPosition_[position]];
    old.position = -1;
    slotOfPosition_[position] = newSlot(record, position);
    addToCells(slotOfPosition_[position]);
    notePosition(position);
}

void SoHLHSRPairIndex::append(SoGraphicPrimitive* record) {
    const int position = static_cast<int>(slotOfPosition_.size());
    slotOfPosition_.push_back(newSlot(record, position));
    addToCells(slotOfPosition_.back());
    notePosition(position);
}
