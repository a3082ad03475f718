#pragma once

#include <Tessara/math/SbBox3f.h>

#include <set>
#include <vector>

#include "PiPList.h"

class SoGraphicPrimitive;

/// The records of one viewport, in printing order. The list owns them: removing a record
/// through the list, or destroying the list, deletes it.
class SoGraphicPrimitiveList : public PiPList {
  public:
    SoGraphicPrimitiveList() = default;
    /// Deletes every record.
    ~SoGraphicPrimitiveList() override;
    /// Deletes the records it takes out (the same range PiPList::remove takes).
    void remove(int start, int n) override;

    /// Appends a record and remembers its type.
    void add(SoGraphicPrimitive* record);
    /// The record at index; null past the end.
    SoGraphicPrimitive* getPrimitive(int index) const {
        return static_cast<SoGraphicPrimitive*>(get(index));
    }
    /// True when a record of this type was ever added.
    bool hasType(int type) const { return types_.count(type) != 0; }
    /// The extent of all records: x, y from their boxes, depth from their depth ranges.
    const SbBox3f& getBBox();
    /// A record's points changed in place.
    void recordChanged() { bboxValid_ = 0; }
    void swap(int i, int j);
    /// Deletes record i and closes the gap.
    void removeAt(int i);
    /// Deletes every record i whose gone[i] is set (indices past gone's end stay), keeping
    /// the order of the rest; returns how many went.
    int removeMarked(const std::vector<char>& gone);
    /// Orders the records from index `from` on by decreasing getZMax(), records of equal depth
    /// in increasing id: farthest first, ties in storage order.
    void sort(int from);

  private:
    /// Every type ever added; never shrinks.
    std::set<int> types_;
    int bboxValid_ = 0;
    SbBox3f bbox3D_;
};
