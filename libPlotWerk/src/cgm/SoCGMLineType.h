#pragma once

#include <vector>

/// The line type of a dash pattern: the standard types of version 1 metafiles, or a type
/// defined by the metafile from the pattern's dash and gap runs.
class SoCGMLineType {
  public:
    static constexpr int SOLID = 1;
    static constexpr int DASH = 2;
    static constexpr int DOT = 3;
    static constexpr int DASH_DOT = 4;
    static constexpr int DASH_DOT_DOT = 5;

    /// The runs of equal bits of the pattern shifted to start with a dash: an even number
    /// that alternates dash and gap and sums to 16, or none for an empty pattern.
    static std::vector<int> runs(unsigned short pattern);
    /// The standard type closest to the runs, or 0 when there are none.
    static int standardType(const std::vector<int>& runs);
};
