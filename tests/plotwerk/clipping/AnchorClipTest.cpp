// Primitives that survive or vanish whole: markers and dots one by one, text and images by
// their anchor.

#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <Tessara/nodes/SoPointSet.h>
#include <Tessara/nodes/SoText2.h>
#include <Tessara/nodes/SoTranslation.h>

#include <limits>

#include "ClipScene.h"
#include "support/DebugErrorRecorder.h"

namespace {

class AnchorClipTest : public ClipScene {
  protected:
    SoSeparator* addAt(const SbVec3f& t, SoNode* node) {
        auto* group = new SoSeparator;
        auto* translation = new SoTranslation;
        translation->translation.setValue(t);
        group->addChild(translation);
        group->addChild(node);
        root->addChild(group);
        return group;
    }

    SoImage* makeImage() {
        auto* image = new SoImage;
        const unsigned char pixels[18] = {1,  2,  3,  4,  5,  6,  7,  8,  9,
                                          10, 11, 12, 13, 14, 15, 16, 17, 18};
        image->image.setValue(SbVec2s(2, 3), 3, pixels);
        image->height.setValue(7);
        image->horAlignment.setValue(SoImage::CENTER);
        image->vertAlignment.setValue(SoImage::TOP);
        return image;
    }
};

TEST_F(AnchorClipTest, MarkersOutsideAreDroppedOneByOne) {
    addOrthoCamera();
    addVertexColors(
        {SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1), SbColor(1, 1, 0), SbColor(0, 1, 1)});
    // In, right of the view, in, beyond the far plane, in front of the near limit.
    addCoordinates({SbVec3f(0, 0, 0), SbVec3f(1.5f, 0, 0), SbVec3f(0.5f, 0.5f, 0),
                    SbVec3f(0, 0, -6), SbVec3f(0, 0, 16)});
    auto* markers = new SoMarkerSet;
    root->addChild(markers);
    apply();

    const auto marks = calls(RecordedCall::POLYMARK_MARKERS);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].markerSet, markers);
    EXPECT_EQ(marks[0].multicolor, 1);
    ASSERT_EQ(marks[0].points.size(), 2u);
    expectPoint(marks[0].points[0], 100, 100, 0.5f);
    expectPoint(marks[0].points[1], 150, 150, 0.5f);
    ASSERT_EQ(marks[0].colors.size(), 2u);
    expectColor(marks[0].colors[0], 1, 0, 0);
    expectColor(marks[0].colors[1], 0, 0, 1);
    EXPECT_EQ(action->count(RecordedCall::POLYMARK_DOTS), 0u);
}

TEST_F(AnchorClipTest, MarkersOnTheLimitsAreKept) {
    addOrthoCamera();
    addBaseColor(SbColor(1, 0, 0));
    addCoordinates({SbVec3f(-1, -1, 0), SbVec3f(1, 1, 0), SbVec3f(0, 0, -4.9f)});
    root->addChild(new SoMarkerSet);
    apply();
    const auto marks = calls(RecordedCall::POLYMARK_MARKERS);
    ASSERT_EQ(marks.size(), 1u);
    ASSERT_EQ(marks[0].points.size(), 3u);
    expectPoint(marks[0].points[0], 0, 0, 0.5f);
    expectPoint(marks[0].points[1], 200, 200, 0.5f);
    expectPoint(marks[0].points[2], 100, 100, 0.99f);
    EXPECT_EQ(marks[0].multicolor, 0);
}

TEST_F(AnchorClipTest, MarkerSetWhollyOutsidePrintsNothing) {
    addOrthoCamera();
    addBaseColor(SbColor(1, 0, 0));
    addCoordinates({SbVec3f(2, 0, 0), SbVec3f(0, -2, 0)});
    root->addChild(new SoMarkerSet);
    apply();
    EXPECT_EQ(action->count(RecordedCall::POLYMARK_MARKERS), 0u);
}

TEST_F(AnchorClipTest, PointsBecomeDotsOfThePointSize) {
    addOrthoCamera();
    SoDrawStyle* style = addDrawStyle(SoDrawStyle::FILLED);
    style->pointSize.setValue(4.0f);
    addBaseColor(SbColor(0, 1, 0));
    addCoordinates({SbVec3f(-0.5f, 0, 0), SbVec3f(0, 1.01f, 0), SbVec3f(0.5f, 0, 0)});
    root->addChild(new SoPointSet);
    apply();

    const auto dots = calls(RecordedCall::POLYMARK_DOTS);
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_FLOAT_EQ(dots[0].pointSize, 4.0f);
    ASSERT_EQ(dots[0].points.size(), 2u);
    expectPoint(dots[0].points[0], 50, 100, 0.5f);
    expectPoint(dots[0].points[1], 150, 100, 0.5f);
}

TEST_F(AnchorClipTest, NaNPointsAreReportedAndTheOthersStillPrinted) {
    DebugErrorRecorder errors;
    addOrthoCamera();
    addBaseColor(SbColor(0, 1, 0));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    addCoordinates({SbVec3f(-0.5f, 0, 0), SbVec3f(nan, 0, 0), SbVec3f(0.5f, 0, 0)});
    root->addChild(new SoPointSet);
    apply();

    EXPECT_TRUE(
        errors.contains("SoVectorizeAction::clipPolyMark",
                        "SoVectorizeAction::clipPolyMark - Point coordinates contain a NaN"));
    const auto dots = calls(RecordedCall::POLYMARK_DOTS);
    ASSERT_EQ(dots.size(), 1u);
    ASSERT_EQ(dots[0].points.size(), 2u);
    expectPoint(dots[0].points[0], 50, 100, 0.5f);
    expectPoint(dots[0].points[1], 150, 100, 0.5f);
}

TEST_F(AnchorClipTest, TextLinesStepDownFromTheAnchor) {
    addOrthoCamera();
    addBaseColor(SbColor(1, 0, 0));
    auto* font = new SoFont;
    font->name.setValue(SbName("Helvetica"));
    font->size.setValue(12.0f);
    root->addChild(font);
    auto* text = new SoText2;
    text->string.setValues({SbString("one"), SbString("two"), SbString("three")});
    text->spacing.setValue(1.5f);
    text->justification.setValue(SoText2::RIGHT);
    addAt(SbVec3f(0.2f, -0.4f, 0), text);
    apply();

    const auto lines = calls(RecordedCall::TEXT2);
    ASSERT_EQ(lines.size(), 3u);
    const float step = 12.0f * (25.4f / 72.0f) * 1.5f;
    const char* expected[3] = {"one", "two", "three"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        expectPoint(lines[i].origin, 120, 60 - i * step, 0.5f);
        EXPECT_EQ(lines[i].string, expected[i]);
        EXPECT_EQ(lines[i].fontName, "Helvetica");
        EXPECT_FLOAT_EQ(lines[i].fontSize, 12.0f);
        EXPECT_EQ(lines[i].justification, SoText2::RIGHT);
        EXPECT_EQ(lines[i].angle, 0.0f);
        expectColor(lines[i].color, 1, 0, 0);
    }
}

TEST_F(AnchorClipTest, TextWhoseAnchorIsOutsideIsDroppedWhole) {
    addOrthoCamera();
    addBaseColor(SbColor(1, 0, 0));
    auto* font = new SoFont;
    font->size.setValue(200.0f);  // glyphs large enough to cover the whole view
    root->addChild(font);
    auto* text = new SoText2;
    text->string.setValues({SbString("a long line reaching far into the view")});
    text->justification.setValue(SoText2::RIGHT);
    addAt(SbVec3f(1.05f, 0, 0), text);
    addAt(SbVec3f(0, 0, -6), text);  // beyond the far plane
    addAt(SbVec3f(0, 0, 16), text);  // in front of the near limit
    apply();
    EXPECT_EQ(action->count(RecordedCall::TEXT2), 0u);
}

TEST_F(AnchorClipTest, ImageWhoseAnchorIsBesideTheViewIsStillPrinted) {
    addOrthoCamera();
    addAt(SbVec3f(3, -2, 0), makeImage());
    apply();

    const auto images = calls(RecordedCall::IMAGE);
    ASSERT_EQ(images.size(), 1u);
    expectPoint(images[0].origin, 400, -100, 0.5f);
    EXPECT_EQ(images[0].sourceSize, SbVec2s(2, 3));
    // Width -1 keeps the image's own width; the height asked for is kept.
    EXPECT_EQ(images[0].requestedSize, SbVec2s(2, 7));
    EXPECT_EQ(images[0].numComponents, 3);
    EXPECT_EQ(images[0].horAlignment, SoImage::CENTER);
    EXPECT_EQ(images[0].vertAlignment, SoImage::TOP);
    ASSERT_EQ(images[0].pixels.size(), 18u);
    EXPECT_EQ(images[0].pixels[0], 1);
    EXPECT_EQ(images[0].pixels[17], 18);
}

TEST_F(AnchorClipTest, ImageBeyondTheFarPlaneOrInFrontOfTheNearLimitIsDropped) {
    addOrthoCamera();
    addAt(SbVec3f(0, 0, -5.5f), makeImage());
    addAt(SbVec3f(0, 0, 15.5f), makeImage());
    addAt(SbVec3f(0, 0, -4.9f), makeImage());  // just before the far plane: kept
    apply();
    const auto images = calls(RecordedCall::IMAGE);
    ASSERT_EQ(images.size(), 1u);
    expectPoint(images[0].origin, 100, 100, 0.99f);
}

}  // namespace
