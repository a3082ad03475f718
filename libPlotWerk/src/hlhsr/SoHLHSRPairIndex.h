#pragma once

#include <vector>

class SoGraphicPrimitive;
class SoGraphicPrimitiveList;

/// Finds for the painter, in list order, the later records that the record being placed
/// must be compared with: those whose page box overlaps its own (touching counts as apart),
/// whose far depth lies beyond its near depth, and of which at least one is a polygon.
/// Every other pair is one the painter passes over without effect, so visiting only these
/// changes nothing in the result.
///
/// Records are kept in a pyramid of grids over the page, each at the level where its box
/// spans at most two cells each way, so that a record is in at most four cells. A query
/// looks, at every level, at the cells under the querying box: two boxes that overlap share
/// a point, and at the level where the other box is kept, the cell of that point lies under
/// both. Polygons and other records have pyramids of their own, so that a line or a mark
/// never even looks at the others (a million marks on one spot would otherwise be a
/// million million looks). The index mirrors every change the painter makes to the list.
class SoHLHSRPairIndex {
  public:
    /// Indexes every record of list at its current position.
    explicit SoHLHSRPairIndex(SoGraphicPrimitiveList& list);

    /// The positions after `from`, in increasing order, of the records that the record at
    /// position `position` overlaps on the page and reaches in depth.
    void candidates(int position, int from, std::vector<int>& out);
    /// The list swapped the records at i and j.
    void swapPositions(int i, int j);
    /// The list put record at position in place of the record there (which is gone).
    void replace(int position, SoGraphicPrimitive* record);
    /// The list appended record.
    void append(SoGraphicPrimitive* record);
    /// The record indexed under slot s; null once it left the list.
    SoGraphicPrimitive* recordOfSlot(int s) const { return slotRecords_[s]; }
    int slotAt(int position) const { return slotOfPosition_[position]; }
    /// The position of the record indexed under slot s; -1 once it left the list.
    int positionOfSlot(int s) const { return slots_[s].position; }

  private:
    /// What the tests read of a record, copied once; the records do not change meanwhile.
    struct Slot {
        float minX, minY, maxX, maxY;
        float zMin, zMax;
        int position;
        bool polygon;
        /// The query that last saw this slot: a record in several cells is reported once.
        unsigned query;
    };
    /// The cell range of a box at level 0.
    struct CellRange {
        int x0, y0, x1, y1;
    };

    /// One pyramid: cells[level][cy * (size >> level) + cx] holds the slots kept at that
    /// level; levelSlots[level] all of them, for queries that would visit more cells than
    /// the level holds entries.
    struct Pyramid {
        std::vector<std::vector<std::vector<int>>> cells;
        std::vector<std::vector<int>> levelSlots;
        bool empty = true;
    };

    void setUpGrid(SoGraphicPrimitiveList& list);
    int newSlot(SoGraphicPrimitive* record, int position);
    int cellX(float x) const;
    int cellY(float y) const;
    CellRange rangeOf(const Slot& slot) const;
    static bool hasEmptyBox(const Slot& slot);
    /// The pair is compared: boxes overlap with positive area and depth ranges reach.
    static bool compared(const Slot& p, const Slot& q);
    void collectFromLevel(const Slot& p, const Pyramid& pyramid, const CellRange& range, int level,
                          int from, std::vector<int>& out);
    void collectFromAll(const Slot& p, int from, std::vector<int>& out);
    void consider(const Slot& p, int s, int from, std::vector<int>& out);

    std::vector<Slot> slots_;
    /// The record of each slot, apart from what queries read so that slots stay small.
    std::vector<SoGraphicPrimitive*> slotRecords_;
    std::vector<int> slotOfPosition_;
    /// Polygons, then every other record.
    Pyramid pyramids_[2];
    int levels_ = 1;
    /// Records with an empty box: looked at by every query.
    std::vector<int> unplaced_;
    float originX_ = 0.0f, originY_ = 0.0f;
    float scaleX_ = 0.0f, scaleY_ = 0.0f;
    /// Cells per side at level 0 (a power of two).
    int size_ = 1;
    unsigned queryCount_ = 0;
};
