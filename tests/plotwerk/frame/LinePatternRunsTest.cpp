// The one reading of a 16-bit line pattern into dash and gap runs that every backend draws.

#include <gtest/gtest.h>

#include <vector>

#include "../../../libPlotWerk/src/frame/SoLinePatternRuns.h"

TEST(LinePatternRuns, RunsStartAtTheFirstSetBitAndSumToSixteen) {
    struct Case {
        unsigned short pattern;
        std::vector<int> runs;
        int skipped;
    };
    const Case cases[] = {
        {0xFFFF, {16}, 0},    {0x0000, {16}, 0},         {0x00FF, {8, 8}, 0},
        {0xFF00, {8, 8}, 8},  {0x0F0F, {4, 4, 4, 4}, 0}, {0x8000, {1, 15}, 15},
        {0x00F0, {4, 12}, 4}, {0xF00F, {4, 8, 4}, 0},    {0x1111, {1, 3, 1, 3, 1, 3, 1, 3}, 0},
    };
    for (const Case& c : cases) {
        const SoLinePatternRuns reading(c.pattern);
        EXPECT_EQ(reading.getRuns(), c.runs) << std::hex << c.pattern;
        EXPECT_EQ(reading.getSkipped(), c.skipped) << std::hex << c.pattern;
    }
}
