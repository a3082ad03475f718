// The 3-3-2 colour cube of the backends without a pen table.

#include <gtest/gtest.h>

#include "../../../libPlotWerk/src/frame/SoColorCube.h"

// A mid grey falls to the cube colour below it; every cube colour is its own index's.
TEST(ColorCube, ColoursFallToTheCubeColourBelowAndIndicesComeBack) {
    EXPECT_EQ(SoColorCube::indexOf(128, 128, 128), 0x92);
    EXPECT_EQ(SoColorCube::indexOf(31, 63, 127), 0x05);
    for (int k = 0; k < 256; ++k) {
        int rgb[3];
        SoColorCube::colorOf(k, rgb);
        EXPECT_EQ(SoColorCube::indexOf(rgb[0], rgb[1], rgb[2]), k);
    }
    int white[3];
    SoColorCube::colorOf(0xFF, white);
    EXPECT_TRUE(white[0] == 255 && white[1] == 255 && white[2] == 255);
}
