#include "SoLinePatternRuns.h"

SoLinePatternRuns::SoLinePatternRuns(unsigned short pattern) {
    // The skipped bits are clear, so they come round as the end of the last gap.
    unsigned int bits = pattern;
    if (bits != 0)
        while ((bits & 1u) == 0) {
            bits >>= 1;
            ++skipped_;
        }
    runs_.push_back(1);
    for (int bit = 1; bit < 16; ++bit) {
        if (((bits >> bit) & 1u) == ((bits >> (bit - 1)) & 1u))
            ++runs_.back();
        else
            runs_.push_back(1);
    }
}
