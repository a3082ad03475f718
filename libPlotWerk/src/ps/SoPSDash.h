#pragma once

#include <string>

/// The dash array of a 16-bit line pattern: runs of set bits are dashes and runs of clear
/// bits gaps, read from the least significant bit, scaled to drawing units.
class SoPSDash {
  public:
    /// Languages below level 3 take at most this many dash elements.
    static constexpr int maxElementsBelowLevel3 = 11;

    /// bitLength: one pattern bit in millimetres; nominalWidth: millimetres; unit: the
    /// drawing unit in millimetres.
    SoPSDash(unsigned short pattern, float bitLength, float nominalWidth, float unit,
             unsigned int level);

    /// The elements, each followed by a blank ("118 118 ").
    const std::string& getElements() const { return elements_; }
    int getOffset() const { return offset_; }
    /// True when the pattern had more runs than the level allows and was cut.
    bool isTruncated() const { return truncated_; }

  private:
    std::string elements_;
    int offset_ = 0;
    bool truncated_ = false;
};
