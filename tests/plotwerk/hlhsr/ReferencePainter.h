#pragma once

// The painter's pairwise pass written the slow way, exactly as its rules read: every later
// record visited one by one, every move count reset at every step. The fast pass (with its
// pair index and lazy resets) must leave exactly the same list.

class SoGraphicPrimitiveList;

namespace hlhsr {

/// Sorts list by depth, then orders it pair by pair; returns the number of swaps made.
long long referenceOrder(SoGraphicPrimitiveList& list);

}  // namespace hlhsr
