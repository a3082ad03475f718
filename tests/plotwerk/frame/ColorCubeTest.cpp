// The 3-3-2 colour cube of the backends without a pen table.

#include <gtest/gtest.h>

#include <vector>

#include "../../../libPlotWerk/src/frame/SoColorCube.h"

TEST(ColorCube, CornersAndGreyMapBothWays) {
    struct Case {
        int rgb[3];
        int index;
        int back[3];
    };
    const Case cases[] = {
        {{0, 0, 0}, 0, {0, 0, 0}},          {{255, 255, 255}, 255, {255, 255, 255}},
        {{255, 0, 0}, 0xE0, {255, 0, 0}},   {{0, 255, 0}, 0x1C, {0, 255, 0}},
        {{0, 0, 255}, 0x03, {0, 0, 255}},   {{128, 128, 128}, 0x92, {145, 145, 170}},
        {{31, 63, 127}, 0x05, {0, 36, 85}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SoColorCube::indexOf(c.rgb[0], c.rgb[1], c.rgb[2]), c.index) << c.index;
        int rgb[3];
        SoColorCube::colorOf(c.index, rgb);
        EXPECT_EQ(std::vector<int>(rgb, rgb + 3), std::vector<int>(c.back, c.back + 3)) << c.index;
    }
}

TEST(ColorCube, EveryIndexIsItsOwnColoursIndex) {
    for (int k = 0; k < 256; ++k) {
        int rgb[3];
        SoColorCube::colorOf(k, rgb);
        EXPECT_EQ(SoColorCube::indexOf(rgb[0], rgb[1], rgb[2]), k);
    }
}
