#include "SoCGMLineType.h"

#include <algorithm>

#include "frame/SoLinePatternRuns.h"

std::vector<int> SoCGMLineType::runs(unsigned short pattern) {
    std::vector<int> lengths = SoLinePatternRuns(pattern).getRuns();
    // A pattern that ends in a dash continues the first dash when it repeats.
    if (lengths.size() % 2 == 1) {
        lengths.front() += lengths.back();
        lengths.pop_back();
    }
    return lengths;
}

int SoCGMLineType::standardType(const std::vector<int>& runs) {
    const bool longRun = std::any_of(runs.begin(), runs.end(), [](int run) { return run > 7; });
    switch (runs.size()) {
        case 0:
            return 0;
        case 2:
            return DASH;
        case 4:
            return longRun ? DASH_DOT : DASH;
        case 6:
            return longRun ? DASH_DOT_DOT : DASH;
        default:
            return DOT;
    }
}
