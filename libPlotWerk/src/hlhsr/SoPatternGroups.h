#pragma once

#include <vector>

class SoGraphicPrimitiveList;

/// The patterned fills of a list, grouped by their pattern for raster visibility. A pattern
/// sets the same pixels wherever it fills, so of two fills through one pattern the nearer
/// covers every pixel the farther would set: they may hide each other like solid fills. Two
/// different patterns show each other through their gaps, so each group gets a pass of its
/// own. Groups are numbered farthest first by the mean depth of their fills, the order in
/// which they print; where two groups interleave in depth, the nearer on average prints
/// over the other throughout.
class SoPatternGroups {
  public:
    /// Passes a drawing may spend on patterned fills; the nearest groups beyond that share
    /// the last one, and hide one another again.
    static constexpr int MAX_GROUPS = 8;

    explicit SoPatternGroups(const SoGraphicPrimitiveList& list);
    int getCount() const { return count_; }
    /// For each record, its group, or -1 when it is not a patterned fill.
    const std::vector<int>& getGroupOfRecords() const { return groupOf_; }

  private:
    std::vector<int> groupOf_;
    int count_ = 0;
};
