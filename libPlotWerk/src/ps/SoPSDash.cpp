#include "SoPSDash.h"

#include <vector>

#include "frame/SoDeviceInteger.h"
#include "frame/SoLinePatternRuns.h"

namespace {

int toUnits(float millimetres, float unit) {
    return SoDeviceInteger::truncated(double(millimetres) / unit + 0.5);
}

}  // namespace

SoPSDash::SoPSDash(unsigned short pattern, float bitLength, float nominalWidth, float unit,
                   unsigned int level) {
    // The pattern starts with its first set bit; the clear bits skipped become the offset.
    const SoLinePatternRuns reading(pattern);
    const std::vector<int>& runs = reading.getRuns();
    const int skipped = reading.getSkipped();
    int last = static_cast<int>(runs.size()) - 1;
    if (level < 3 && last >= maxElementsBelowLevel3) {
        truncated_ = true;
        last = maxElementsBelowLevel3 - 1;
    }
    int sum = 0;
    for (int i = 0; i <= last; ++i) {
        elements_ += std::to_string(toUnits(runs[i] * bitLength, unit)) + " ";
        sum += runs[i];
    }
    // An odd count would make the dashes and gaps swap roles on every repeat.
    if (last % 2 == 0) elements_ += "0. ";
    offset_ = toUnits((sum - skipped) * nominalWidth, unit);
}
