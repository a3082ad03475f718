// The order in which applies drive the backend, the page bracket around several applies, the
// clip set for each viewport, and the viewport that keeps the drawing's proportions.

#include <Tessara/base/SoPath.h>

#include "TraversalScene.h"
#include "support/DebugErrorRecorder.h"

using namespace traversal;
using K = RecordedCall;

namespace {

class SequenceTest : public TraversalTest {
  protected:
    void SetUp() override { action = makeAction(100.0f); }
    void TearDown() override {
        action.reset();
        if (root != nullptr) root->unref();
    }
    void read(const std::string& body) {
        root = readScene(kCamera + body);
        ASSERT_NE(root, nullptr);
    }

    SoSeparator* root = nullptr;
    std::unique_ptr<RecordingAction> action;
};

void expectBoxNear(const SbBox2f& actual, const SbBox2f& expected, float tolerance) {
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(actual.getMin()[i], expected.getMin()[i], tolerance);
        EXPECT_NEAR(actual.getMax()[i], expected.getMax()[i], tolerance);
    }
}

const std::vector<K::Kind> kOneLineDocument = {K::HEADER,   K::BACKGROUND, K::HARDWARE_CLIP,
                                               K::POLYLINE, K::BORDER,     K::FOOTER};

TEST_F(SequenceTest, ApplyToANodeAPathOrAPathListFramesOneDocument) {
    read(lineAcross(0));
    action->apply(root);
    EXPECT_EQ(action->kinds(), kOneLineDocument);

    SoPath* path = new SoPath(root);
    path->ref();
    path->append(0);  // the scene's own separator
    path->append(1);  // its line
    action->clear();
    action->apply(path);
    EXPECT_EQ(action->kinds(), kOneLineDocument);

    SoPathList list;
    list.append(path);
    action->clear();
    action->apply(list, 1);
    EXPECT_EQ(action->kinds(), kOneLineDocument);
    path->unref();

    // An empty scene still frames a document, with no clip since no viewport was met.
    action->clear();
    SoSeparator* empty = readScene("");
    action->apply(empty);
    empty->unref();
    EXPECT_EQ(action->kinds(),
              (std::vector<K::Kind>{K::HEADER, K::BACKGROUND, K::BORDER, K::FOOTER}));
}

TEST_F(SequenceTest, AppliesInsideAPageShareOneHeaderAndTheFooterWaitsForEndPage) {
    read(lineAcross(0));
    for (int page = 1; page <= 2; ++page) {
        action->clear();
        action->beginPage(SbVec2f(0, 0), SbVec2f(210, 297));
        action->apply(root);
        action->setStartPosition(20.0f, 150.0f);
        action->apply(root);
        EXPECT_EQ(action->count(K::HEADER), 1u);
        EXPECT_EQ(action->count(K::FOOTER), 0u);
        EXPECT_EQ(action->count(K::BACKGROUND), 2u);
        EXPECT_EQ(action->count(K::BORDER), 2u);
        EXPECT_EQ(action->count(K::POLYLINE), 2u);
        action->endPage();
        EXPECT_EQ(action->kinds().front(), K::HEADER);
        EXPECT_EQ(action->kinds().back(), K::FOOTER);
    }
    // Outside a page, every apply is a document of its own.
    action->clear();
    action->apply(root);
    action->apply(root);
    EXPECT_EQ(action->count(K::HEADER), 2u);
    EXPECT_EQ(action->count(K::FOOTER), 2u);
}

TEST_F(SequenceTest, EachApplyDrawsItsAnnotationsOnceWhateverTheHiddenLineMode) {
    read("Annotation { " + lineAcross(0.5f) + "} " + lineAcross(-0.5f));
    action->setHLHSRMode(SoVectorizeAction::HLHSR_PAINTER);
    action->apply(root);
    action->apply(root);
    EXPECT_EQ(action->count(K::POLYLINE), 4u);
    // The annotation's line comes last, just before the border.
    EXPECT_EQ(action->kinds()[action->kinds().size() - 3], K::POLYLINE);
}

TEST_F(SequenceTest, TheClipIsSetOncePerViewportAndAgainWhenItChanges) {
    // The second line shares the first one's viewport; a camera that crops the viewport to
    // its own aspect ratio, under a separator, changes it, and the last line is back in the
    // full viewport.
    read(lineAcross(0.5f) + lineAcross(0.25f) +
         "Separator { OrthographicCamera { position 0 0 8  aspectRatio 0.5  viewportMapping "
         "CROP_VIEWPORT_NO_FRAME } " +
         lineAcross(0) + "} " + lineAcross(-0.5f));
    action->apply(root);
    const std::vector<K::Kind> expected = {
        K::HEADER,   K::BACKGROUND,    K::HARDWARE_CLIP, K::POLYLINE, K::POLYLINE, K::HARDWARE_CLIP,
        K::POLYLINE, K::HARDWARE_CLIP, K::POLYLINE,      K::BORDER,   K::FOOTER};
    EXPECT_EQ(action->kinds(), expected);
    const std::vector<RecordedCall> clips = action->ofKind(K::HARDWARE_CLIP);
    ASSERT_EQ(clips.size(), 3u);
    const SbBox2f full(0, 0, 100, 100), cropped(25, 0, 75, 100);
    expectBoxNear(clips[0].clippingLimits, full, 1e-3f);
    expectBoxNear(clips[1].clippingLimits, cropped, 1e-3f);
    expectBoxNear(clips[2].clippingLimits, full, 1e-3f);
    // The next apply starts from an unknown viewport: the clip is set again.
    action->clear();
    action->apply(root);
    EXPECT_EQ(action->count(K::HARDWARE_CLIP), 3u);
}

TEST_F(SequenceTest, TheViewKeepsTheDrawingsProportions) {
    struct Drawing {
        float width, height;
        SbBox2f square;  ///< where the square (-1, -1)-(1, 1) lands on the page
        SbVec2s window;  ///< the window size the camera sees, 0 when not checked
    };
    // A 5 : 1 drawing would need a window 50000 pixels wide: its proportions survive anyway.
    const Drawing drawings[] = {{200, 100, SbBox2f(50, 0, 150, 100), SbVec2s(20000, 10000)},
                                {100, 300, SbBox2f(0, 100, 100, 200), SbVec2s(3333, 10000)},
                                {500, 100, SbBox2f(200, 0, 300, 100), SbVec2s(0, 0)}};
    read("Coordinate3 { point [ -1 -1 0, 1 -1 0, 1 1 0, -1 1 0 ] } FaceSet { }");
    for (const Drawing& d : drawings) {
        SCOPED_TRACE(d.width / d.height);
        action->clear();
        action->setDrawingDimensions(d.width, d.height);
        action->apply(root);
        SbBox2f box;
        for (const RecordedCall& polygon : action->ofKind(K::POLYGON))
            for (const SbVec4f& p : polygon.points) box.extendBy(SbVec2f(p[0], p[1]));
        expectBoxNear(box, d.square, 0.1f);
        if (d.window[0] > 0) {
            EXPECT_EQ(action->ofKind(K::HARDWARE_CLIP)[0].viewport.getWindowSize(), d.window);
        }
    }
}

TEST_F(SequenceTest, ADrawingWithoutHeightIsReportedAndTheTraversalGoesOn) {
    DebugErrorRecorder errors;
    read(lineAcross(0));
    action->setDrawingDimensions(100.0f, 0.0f);
    action->apply(root);
    EXPECT_TRUE(errors.contains("SoVectorizeAction::cameraCB", "aspect ratio")) << errors.dump();
    EXPECT_EQ(action->kinds().back(), K::FOOTER);
}

}  // namespace
