#pragma once

class SoGraphicPrimitiveList;

/// Takes out the records that a later copy of themselves hides completely: the same points in
/// the same order, under a solid fill, or under a solid line at least as wide. One shape used
/// many times through shared nodes stores one such copy per use; left in, the painter compares
/// every copy with every other and the raster pass traces each, for nothing the page shows.
/// A later record prints over an earlier one of equal depth in every ordering mode, so only
/// the last copy could be seen.
///
/// Patterned fills and dashed lines cover nothing (the copy beneath shows through their
/// gaps); points drawn as marks are left alone.
class SoCoveredCopies {
  public:
    /// Deletes the covered records, keeping the order of the rest; returns how many went.
    static int remove(SoGraphicPrimitiveList& records);
};
