#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "SoCellGrid.h"

class SoGraphicPrimitive;
class SoGraphicPrimitiveList;

/// Finds for the painter, in list order, the later records that the record being placed
/// must be compared with: those whose page box overlaps its own (touching counts as apart),
/// whose far depth lies beyond its near depth, and of which at least one is a polygon (and,
/// where one is thin, whose outlines may meet: see below). Every other pair is one the
/// painter passes over without effect, so visiting only these changes nothing in the result.
///
/// Records are kept in a pyramid of grids over the page, of cells about square on the page,
/// each at the level where its box spans at most two cells each way, so that a record is in
/// at most four cells. A query looks, at every level, at the cells under the querying box:
/// two boxes that overlap share a point, and at the level where the other box is kept, the
/// cell of that point lies under both.
///
/// A long slanted record, a sliver of a fan or a long line across the page, fills a small
/// share of its box, and boxes of such records overlap by the thousand where the records
/// themselves do not: a fan of triangles from one corner of a disc has every pair's boxes
/// overlapping. Those thin records, where their boxes span more than a few cells, are kept by
/// the cells their outline touches instead, at a finer level, and look there too: two outlines that
/// share no cell are apart on the page, a pair the painter passes over without effect (see
/// SoHLHSRPainter.cpp).
///
/// Polygons and other records have pyramids of their own, so that a line or a mark never
/// even looks at the others (a million marks on one spot would otherwise be a million
/// million looks). The index mirrors every change the painter makes to the list.
///
/// The records there are when the index is made are packed cell after cell into one array
/// per level; only records the painter adds later (pieces of cuts) go to lists per cell.
/// A list per cell for every record cost a big mesh a tenth of the painter's memory.
///
/// A query hands its positions out one at a time, found first by walking the list from its
/// start on: the painter often moves the record after its first few comparisons, which ends
/// the query, and where records are large and overlap much the walk finds those few at once
/// where the grid would list them all. Once the walk has passed over many more records than
/// it found, the grid lists the rest. The positions are the same either way. A polygon that
/// comes back again and again keeps its list (see keepList). Cutting leaves the grid crowded
/// with the records it replaced; the grid is then laid out again, for the records not yet
/// placed.
class SoHLHSRPairIndex {
  public:
    /// Indexes every record of list at its current position.
    explicit SoHLHSRPairIndex(SoGraphicPrimitiveList& list);

    /// Starts a query for the positions after `from`, in increasing order, of the records
    /// that the record at position `position` overlaps on the page and reaches in depth. A
    /// change to the list ends the query.
    void startQuery(int position, int from);
    /// The query's next position; -1 when none is left.
    int nextCandidate();
    /// The list swapped the records at i and j.
    void swapPositions(int i, int j);
    /// The list put record at position in place of the record there (which is gone).
    void replace(int position, SoGraphicPrimitive* record);
    /// The list appended record.
    void append(SoGraphicPrimitive* record);
    /// How many records and cells the queries have looked at so far: the work they did.
    long long getLooks() const { return looks_; }
    /// The record indexed under slot s; null once it left the list.
    SoGraphicPrimitive* recordOfSlot(int s) const;
    int slotAt(int position) const { return slotOfPosition_[position]; }
    /// The position of the record indexed under slot s; -1 once it left the list.
    int positionOfSlot(int s) const { return slots_[s].position; }

  private:
    /// What the tests read of a record, copied once; the records do not change meanwhile.
    struct Slot {
        float minX, minY, maxX, maxY;
        float zMin, zMax;
        int position;
        /// The query that last saw this slot: a record in several cells is reported once.
        /// Sharing a word with the kind keeps a slot at eight words.
        unsigned query : 25;
        /// The level it is kept on, and whether by its outline's cells rather than its box's.
        unsigned level : 5;
        unsigned thin : 1;
        unsigned polygon : 1;
    };

    /// One level of a pyramid. The slots of cell c are packed[first[c] .. first[c + 1]),
    /// then added[c]; `all` holds every slot of the level, for queries that would visit
    /// more cells than the level holds entries.
    struct Level {
        std::vector<int> first;
        std::vector<int> packed;
        /// Per cell: where its packed slots of records not yet placed begin (see
        /// collectFromLevel).
        std::vector<int> unplacedFrom;
        /// Empty until the painter adds a record after the index was made.
        std::vector<std::vector<int>> added;
        std::vector<int> all;
    };
    /// Every level, or none for a pyramid that never held a slot.
    struct Pyramid {
        std::vector<Level> levels;
    };

    /// A query under way: walking the list, or reading what the grid listed.
    struct Query {
        int slot = 0;
        int position = 0;
        bool walking = false;
        int walkAt = 0;
        long long passed = 0, found = 0;
        std::vector<int> listed;
        std::size_t read = 0;
        /// The kept list the query reads, or -1.
        int kept = -1;
    };
    /// A polygon's grid query kept: after `from`, every position of a record it is compared
    /// with, in increasing order, and maybe positions of records it no longer is.
    struct KeptList {
        int slot;
        int from;
        std::vector<int> positions;
    };

    /// The positions after `from`, in increasing order, of the records that the record at
    /// `position` is compared with, from the grid.
    void candidates(int position, int from, std::vector<int>& out);
    /// Whether the kinds of two records let them be compared at all.
    static bool kindsMeet(const Slot& p, const Slot& q);
    /// Whether the record in slot s is compared with the querying record in slot p.
    bool comparedWith(int p, int s) const;
    /// Lays the grid out for the records from position `first` on and fills it.
    void build(int first);
    void setUpGrid(const std::vector<int>& indexed);
    /// columns_ and rows_ for this many records over an extent of this size (0: none).
    void chooseCellCounts(std::size_t records, float width, float height);
    std::size_t columnsAt(int level) const {
        return static_cast<std::size_t>(grid_.columnsAt(level));
    }
    /// Packs the cells of the indexed slots.
    void packCells(const std::vector<int>& indexed);
    /// The far depth a cell's slots are ordered by; NaN counts as the farthest.
    static float farDepth(const Slot& slot) {
        return std::isnan(slot.zMax) ? HUGE_VALF : slot.zMax;
    }
    int newSlot(SoGraphicPrimitive* record, int position);
    /// Puts a slot made after packCells into the cells of its level.
    void addToCells(int s);
    /// Chooses the level the slot is kept on.
    void place(Slot& slot);
    /// The finest level at which the slot's box spans at most two cells each way.
    int boxLevel(const Slot& slot) const;
    /// Calls visit(c) for every cell c at a level that a slot's record may touch, its box's
    /// cells at level 0 given; false, visiting none, when they are more than limit.
    template <class Visit>
    bool forEachCell(const Slot& slot, const SoCellGrid::Range& box, int level, std::size_t limit,
                     Visit visit);
    template <class Visit>
    void visitCells(const Slot& slot, Visit visit);
    Pyramid& pyramidOf(const Slot& slot) { return pyramids_[slot.polygon ? 0 : 1]; }
    /// The levels of a pyramid, made on its first slot.
    void makeLevels(Pyramid& pyramid) const;
    SoCellGrid::Range rangeOf(const Slot& slot) const;
    /// A polygon or a line that fills less than a share of its box.
    static bool isThin(SoGraphicPrimitive* record);
    static bool hasEmptyBox(const Slot& slot);
    /// The pair is compared: boxes overlap with positive area and depth ranges reach.
    static bool compared(const Slot& p, const Slot& q);
    /// Records at positions before `placing` are placed.
    void collectFromLevel(const Slot& p, const SoCellGrid::Range& box, Level& cells, int level,
                          int placing, int from, std::vector<int>& out);
    void collectFromAll(const Slot& p, int from, std::vector<int>& out);
    void keepList(int slot, int from, const std::vector<int>& listed);
    /// The kept list that serves a query of slot after from, or -1.
    int keptListOf(int slot, int from) const;
    int nextFromKeptList();
    void notePosition(int position);
    void consider(const Slot& p, int s, int from, std::vector<int>& out);

    /// The list indexed: it changes together with the index, so a slot's position finds its
    /// record there.
    const SoGraphicPrimitiveList& list_;
    std::vector<Slot> slots_;
    std::vector<int> slotOfPosition_;
    /// Polygons, then every other record.
    Pyramid pyramids_[2];
    int levels_ = 1;
    /// Records with an empty box: looked at by every query.
    std::vector<int> unplaced_;
    SoCellGrid grid_;
    /// Cells across and up at level 0, powers of two.
    int columns_ = 1, rows_ = 1;
    /// Scratch for the cells of one record.
    std::vector<SoCellGrid::Span> spans_;
    /// The records the grid was laid out for, and the entries it holds since, those
    /// replaced included.
    std::size_t builtFor_ = 0;
    std::size_t entries_ = 0;
    unsigned queryCount_ = 0;
    Query query_;
    std::vector<KeptList> kept_;
    /// The slot whose walk last gave way to the grid.
    int lastListed_ = -1;
    long long looks_ = 0;
};
