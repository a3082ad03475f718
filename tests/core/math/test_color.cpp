#include <Tessara/math/SbColor.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "MathTestUtil.h"

TEST(SbColorPacking, AlphaIsTheTopByte) {
    EXPECT_EQ(SbColor(1, 0, 0).getPackedValue(), 0xFFFF0000u);
    EXPECT_EQ(SbColor(0, 1, 0).getPackedValue(), 0xFF00FF00u);
    EXPECT_EQ(SbColor(0, 0, 1).getPackedValue(), 0xFF0000FFu);
    EXPECT_EQ(SbColor(1, 1, 1).getPackedValue(1.0f), 0x00FFFFFFu);
    EXPECT_EQ(SbColor(0x12 / 255.0f, 0x34 / 255.0f, 0x56 / 255.0f).getPackedValue(0.3f) & 0xFFFFFF,
              0x123456u);
}

TEST(SbColorPacking, HalvesRoundUp) {
    // 0.5 * 255 = 127.5 rounds to 128 for colour and for alpha alike.
    EXPECT_EQ(SbColor(0.5f, 0.5f, 0.5f).getPackedValue(), 0xFF808080u);
    EXPECT_EQ(SbColor(0.5f, 0.5f, 0.5f).getPackedValue(0.5f), 0x80808080u);
    // Just below a half rounds down.
    EXPECT_EQ(SbColor(127.4f / 255, 0, 0).getPackedValue() & 0xFF0000, 0x7F0000u);
    EXPECT_EQ(SbColor(0.25f, 0.75f, 0.1f).getPackedValue(0.25f), 0xBF40BF1Au);
}

TEST(SbColorPacking, ComponentsAndTransparencyAreClamped) {
    EXPECT_EQ(SbColor(2.0f, -1.0f, 0.5f).getPackedValue(), 0xFFFF0080u);
    EXPECT_EQ(SbColor(0, 0, 0).getPackedValue(-3.0f), 0xFF000000u);
    EXPECT_EQ(SbColor(0, 0, 0).getPackedValue(5.0f), 0x00000000u);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(SbColor(nan, 1, 1).getPackedValue(), 0xFF00FFFFu);
}

TEST(SbColorPacking, UnpackAndRoundTrip) {
    SbColor c;
    float transparency = -1.0f;
    c.setPackedValue(0x80FF4000u, transparency);
    EXPECT_EQ(c[0], 1.0f);
    EXPECT_FLOAT_EQ(c[1], 64.0f / 255.0f);
    EXPECT_EQ(c[2], 0.0f);
    EXPECT_FLOAT_EQ(transparency, 1.0f - 128.0f / 255.0f);

    c.setPackedValue(0xFF000000u, transparency);
    EXPECT_EQ(transparency, 0.0f);
    c.setPackedValue(0x00FFFFFFu, transparency);
    EXPECT_EQ(transparency, 1.0f);

    for (uint32_t packed : {0x00000000u, 0xFFFFFFFFu, 0x12345678u, 0x80808080u, 0x7F7F7F7Fu,
                            0xDEADBEEFu, 0x01FE02FDu}) {
        c.setPackedValue(packed, transparency);
        EXPECT_EQ(c.getPackedValue(transparency), packed) << std::hex << packed;
    }
}

TEST(SbColorHSV, KnownColours) {
    float h, s, v;
    SbColor(1, 0, 0).getHSVValue(h, s, v);
    EXPECT_FLOAT_EQ(h, 0.0f);
    EXPECT_FLOAT_EQ(s, 1.0f);
    EXPECT_FLOAT_EQ(v, 1.0f);
    SbColor(0, 0.5f, 0).getHSVValue(h, s, v);
    EXPECT_FLOAT_EQ(h, 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(v, 0.5f);
    SbColor(0, 0, 1).getHSVValue(h, s, v);
    EXPECT_FLOAT_EQ(h, 2.0f / 3.0f);
    SbColor(1, 0, 1).getHSVValue(h, s, v);  // magenta: hue 300 degrees
    EXPECT_FLOAT_EQ(h, 5.0f / 6.0f);
    SbColor(1.0f, 0.5f, 0.5f).getHSVValue(h, s, v);
    EXPECT_FLOAT_EQ(h, 0.0f);
    EXPECT_FLOAT_EQ(s, 0.5f);
    SbColor(0.3f, 0.3f, 0.3f).getHSVValue(h, s, v);  // grey: no hue, no saturation
    EXPECT_EQ(h, 0.0f);
    EXPECT_EQ(s, 0.0f);
    EXPECT_FLOAT_EQ(v, 0.3f);

    SbColor c;
    EXPECT_TRUE(near<SbVec3f>(c.setHSVValue(1.0f / 6.0f, 1, 1), SbVec3f(1, 1, 0)));  // yellow
    EXPECT_TRUE(near<SbVec3f>(c.setHSVValue(0.5f, 1, 0.5f), SbVec3f(0, 0.5f, 0.5f)));
    EXPECT_TRUE(near<SbVec3f>(c.setHSVValue(0.25f, 0.5f, 1), SbVec3f(0.75f, 1, 0.5f)));
    // A hue of 1 is once round the circle: red again.
    EXPECT_TRUE(near<SbVec3f>(c.setHSVValue(1.0f, 1, 1), SbVec3f(1, 0, 0)));
    const float hsv[3] = {2.0f / 3.0f, 1.0f, 0.8f};
    EXPECT_TRUE(near<SbVec3f>(c.setHSVValue(hsv), SbVec3f(0, 0, 0.8f)));
}

TEST(SbColorHSV, RoundTrip) {
    for (float r = 0.0f; r <= 1.0f; r += 0.125f) {
        for (float g = 0.0f; g <= 1.0f; g += 0.25f) {
            for (float b = 0.1f; b <= 1.0f; b += 0.3f) {
                const SbColor in(r, g, b);
                float hsv[3];
                in.getHSVValue(hsv);
                EXPECT_GE(hsv[0], 0.0f);
                EXPECT_LT(hsv[0], 1.0f);
                SbColor out;
                out.setHSVValue(hsv);
                EXPECT_TRUE(near<SbVec3f>(out, in, 1e-6f)) << "hsv " << hsv[0] << " " << hsv[1];
            }
        }
    }
}

TEST(SbColorHSV, SaturationAndValueAreClamped) {
    SbColor c;
    c.setHSVValue(0.0f, 2.0f, 3.0f);
    EXPECT_TRUE(near<SbVec3f>(c, SbVec3f(1, 0, 0)));
    c.setHSVValue(0.0f, -1.0f, 0.5f);
    EXPECT_TRUE(near<SbVec3f>(c, SbVec3f(0.5f, 0.5f, 0.5f)));
}

TEST(SbColor, IsAVec3f) {
    const SbColor c(SbVec3f(0.1f, 0.2f, 0.3f));
    const float rgb[3] = {0.1f, 0.2f, 0.3f};
    EXPECT_EQ(c, SbColor(rgb));
    EXPECT_FLOAT_EQ(c.dot(SbVec3f(1, 1, 1)), 0.6f);
    EXPECT_EQ(SbColor(), SbColor(0, 0, 0));
}
