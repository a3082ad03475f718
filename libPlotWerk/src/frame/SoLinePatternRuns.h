#pragma once

#include <vector>

/// The dashes and gaps of a 16-bit line pattern, the one reading every backend shares: the
/// pattern read from its least significant bit, starting at its first set bit, cut into
/// runs of equal bits. The runs alternate dash, gap, dash, ... and sum to 16 (the bits
/// skipped at the start come round again at the end); a pattern without set bits is one
/// run of 16.
class SoLinePatternRuns {
  public:
    explicit SoLinePatternRuns(unsigned short pattern);

    const std::vector<int>& getRuns() const { return runs_; }
    /// The clear bits below the first set bit, which the runs start after.
    int getSkipped() const { return skipped_; }

  private:
    std::vector<int> runs_;
    int skipped_ = 0;
};
