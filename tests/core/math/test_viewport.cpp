#include <Tessara/math/SbViewportRegion.h>
#include <gtest/gtest.h>

#include "support/DebugErrorRecorder.h"

TEST(SbViewportRegion, Defaults) {
    const SbViewportRegion vp;
    EXPECT_EQ(vp.getWindowSize(), SbVec2s(100, 100));
    EXPECT_EQ(vp.getViewportOrigin(), SbVec2f(0, 0));
    EXPECT_EQ(vp.getViewportSize(), SbVec2f(1, 1));
    EXPECT_EQ(vp.getViewportOriginPixels(), SbVec2s(0, 0));
    EXPECT_EQ(vp.getViewportSizePixels(), SbVec2s(100, 100));
    EXPECT_EQ(vp.getPixelsPerInch(), 72.0f);
    EXPECT_EQ(vp.getPixelsPerPoint(), 1.0f);
    EXPECT_EQ(vp.getViewportAspectRatio(), 1.0f);
}

TEST(SbViewportRegion, ConstructorsTakeWindowSizeAndResolution) {
    const SbViewportRegion a(640, 480);
    EXPECT_EQ(a.getWindowSize(), SbVec2s(640, 480));
    EXPECT_EQ(a.getViewportSizePixels(), SbVec2s(640, 480));
    EXPECT_FLOAT_EQ(a.getViewportAspectRatio(), 4.0f / 3.0f);
    const SbViewportRegion b(SbVec2s(300, 200), 144.0f);
    EXPECT_EQ(b.getPixelsPerInch(), 144.0f);
    EXPECT_EQ(b.getPixelsPerPoint(), 2.0f);
    EXPECT_FLOAT_EQ(b.getViewportAspectRatio(), 1.5f);
}

TEST(SbViewportRegion, NormalisedViewportGivesRoundedPixels) {
    SbViewportRegion vp(640, 480);
    vp.setViewport(0.25f, 0.5f, 0.5f, 0.5f);
    EXPECT_EQ(vp.getViewportOriginPixels(), SbVec2s(160, 240));
    EXPECT_EQ(vp.getViewportSizePixels(), SbVec2s(320, 240));
    EXPECT_FLOAT_EQ(vp.getViewportAspectRatio(), 320.0f / 240.0f);
    vp.setViewport(SbVec2f(0.1f, 0.2f), SbVec2f(0.3f, 0.7f));
    EXPECT_EQ(vp.getViewportOrigin(), SbVec2f(0.1f, 0.2f));
    EXPECT_EQ(vp.getViewportSize(), SbVec2f(0.3f, 0.7f));
    EXPECT_EQ(vp.getViewportOriginPixels(), SbVec2s(64, 96));
    EXPECT_EQ(vp.getViewportSizePixels(), SbVec2s(192, 336));
    // Halves round up: 0.5 of 3 pixels is 2.
    SbViewportRegion small(3, 5);
    small.setViewport(0.0f, 0.0f, 0.5f, 0.5f);
    EXPECT_EQ(small.getViewportSizePixels(), SbVec2s(2, 3));
}

TEST(SbViewportRegion, PixelViewportRoundTrips) {
    SbViewportRegion vp(641, 479);
    vp.setViewportPixels(SbVec2s(10, 20), SbVec2s(301, 199));
    EXPECT_EQ(vp.getViewportOriginPixels(), SbVec2s(10, 20));
    EXPECT_EQ(vp.getViewportSizePixels(), SbVec2s(301, 199));
    EXPECT_FLOAT_EQ(vp.getViewportOrigin()[0], 10.0f / 641.0f);
    EXPECT_FLOAT_EQ(vp.getViewportSize()[1], 199.0f / 479.0f);
    EXPECT_FLOAT_EQ(vp.getViewportAspectRatio(), 301.0f / 199.0f);
    for (short px = 1; px <= 641; px += 37) {
        vp.setViewportPixels(0, 0, px, 479);
        EXPECT_EQ(vp.getViewportSizePixels()[0], px);
    }
}

TEST(SbViewportRegion, WindowResizeKeepsTheNormalisedViewport) {
    SbViewportRegion vp(640, 480);
    vp.setViewport(0.25f, 0.5f, 0.5f, 0.5f);
    vp.setWindowSize(1000, 500);
    EXPECT_EQ(vp.getViewportOrigin(), SbVec2f(0.25f, 0.5f));
    EXPECT_EQ(vp.getViewportSize(), SbVec2f(0.5f, 0.5f));
    EXPECT_EQ(vp.getViewportOriginPixels(), SbVec2s(250, 250));
    EXPECT_EQ(vp.getViewportSizePixels(), SbVec2s(500, 250));
    EXPECT_FLOAT_EQ(vp.getViewportAspectRatio(), 2.0f);
    vp.setWindowSize(SbVec2s(200, 200));
    EXPECT_EQ(vp.getViewportSizePixels(), SbVec2s(100, 100));
}

TEST(SbViewportRegion, ScaleAboutTheCentre) {
    SbViewportRegion vp(400, 200);
    vp.scaleWidth(0.5f);
    EXPECT_EQ(vp.getViewportOrigin(), SbVec2f(0.25f, 0));
    EXPECT_EQ(vp.getViewportSize(), SbVec2f(0.5f, 1));
    vp.scaleHeight(0.5f);
    EXPECT_EQ(vp.getViewportOriginPixels(), SbVec2s(100, 50));
    EXPECT_EQ(vp.getViewportSizePixels(), SbVec2s(200, 100));
}

TEST(SbViewportRegion, Equality) {
    SbViewportRegion a(640, 480), b(SbVec2s(640, 480));
    EXPECT_EQ(a, b);
    a.setViewport(0.5f, 0.5f, 0.5f, 0.5f);
    EXPECT_NE(a, b);
    b.setViewportPixels(SbVec2s(320, 240), SbVec2s(320, 240));
    EXPECT_EQ(a, b);
    b.setPixelsPerInch(96.0f);
    EXPECT_TRUE(a != b);
    EXPECT_NE(SbViewportRegion(640, 480), SbViewportRegion(640, 481));
}

TEST(SbViewportRegion, InvalidInputIsReportedAndIgnored) {
    DebugErrorRecorder recorder;
    SbViewportRegion vp(640, 480);
    const SbViewportRegion before = vp;
    vp.setWindowSize(0, 480);
    vp.setWindowSize(SbVec2s(640, -5));
    vp.setViewport(0.0f, 0.0f, 0.0f, 1.0f);
    vp.setViewport(SbVec2f(0, 0), SbVec2f(1, -1));
    vp.setPixelsPerInch(0.0f);
    vp.scaleWidth(-1.0f);
    EXPECT_EQ(vp, before);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 6u) << recorder.dump();
    const SbViewportRegion bad(-1, 10);
    EXPECT_EQ(bad.getWindowSize(), SbVec2s(100, 100));
}
