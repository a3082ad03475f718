// The order in which an apply drives the backend, the page bracket around several applies,
// and the viewport bookkeeping that makes the backend set its clip.

#include <Tessara/nodes/SoLineSet.h>

#include "TraversalFixture.h"

using traversal::TraversalTest;
using K = RecordedCall;

namespace {

SoSeparator* lineAcross(float y) {
    auto* sep = new SoSeparator;
    sep->addChild(traversal::coordinatesFor({SbVec3f(-0.5f, y, 0), SbVec3f(0.5f, y, 0)}));
    sep->addChild(new SoLineSet);
    return sep;
}

}  // namespace

class ApplySequence : public TraversalTest {};

TEST_F(ApplySequence, HeaderBackgroundPrimitivesBorderFooter) {
    root->addChild(lineAcross(0.0f));
    action->apply(root);
    const std::vector<K::Kind> expected = {K::HEADER,   K::BACKGROUND, K::HARDWARE_CLIP,
                                           K::POLYLINE, K::BORDER,     K::FOOTER};
    EXPECT_EQ(action->kinds(), expected);
}

TEST_F(ApplySequence, EmptySceneStillFramesTheDocument) {
    action->apply(root);
    const std::vector<K::Kind> expected = {K::HEADER, K::BACKGROUND, K::BORDER, K::FOOTER};
    EXPECT_EQ(action->kinds(), expected);
}

TEST_F(ApplySequence, PathAndPathListAppliesFollowTheSameOrder) {
    SoSeparator* line = lineAcross(0.0f);
    root->addChild(line);
    SoPath* path = new SoPath(root);
    path->ref();
    path->append(line);
    action->apply(path);
    const std::vector<K::Kind> expected = {K::HEADER,   K::BACKGROUND, K::HARDWARE_CLIP,
                                           K::POLYLINE, K::BORDER,     K::FOOTER};
    EXPECT_EQ(action->kinds(), expected);

    action->clear();
    SoPathList list;
    list.append(path);
    action->apply(list, 1);
    EXPECT_EQ(action->kinds(), expected);
    path->unref();
}

TEST_F(ApplySequence, EveryApplyOutsideAPageIsADocumentOfItsOwn) {
    root->addChild(lineAcross(0.0f));
    action->apply(root);
    action->apply(root);
    EXPECT_EQ(action->count(K::HEADER), 2u);
    EXPECT_EQ(action->count(K::FOOTER), 2u);
    EXPECT_EQ(action->count(K::POLYLINE), 2u);
}

TEST_F(ApplySequence, AppliesInsideAPageShareOneHeaderAndTheFooterWaitsForEndPage) {
    root->addChild(lineAcross(0.0f));
    action->beginPage(SbVec2f(0, 0), SbVec2f(210, 297));
    action->apply(root);
    action->setStartPosition(20.0f, 150.0f);
    action->apply(root);
    EXPECT_EQ(action->count(K::HEADER), 1u);
    EXPECT_EQ(action->count(K::FOOTER), 0u);
    EXPECT_EQ(action->count(K::BACKGROUND), 2u);
    EXPECT_EQ(action->count(K::BORDER), 2u);
    EXPECT_EQ(action->count(K::POLYLINE), 2u);
    EXPECT_EQ(action->getCalls().front().kind, K::HEADER);

    action->endPage();
    EXPECT_EQ(action->count(K::FOOTER), 1u);
    EXPECT_EQ(action->getCalls().back().kind, K::FOOTER);

    // The next page starts with a header of its own.
    action->beginPage(SbVec2f(0, 0), SbVec2f(210, 297));
    action->apply(root);
    EXPECT_EQ(action->count(K::HEADER), 2u);
    action->endPage();
    EXPECT_EQ(action->count(K::FOOTER), 2u);
}

TEST_F(ApplySequence, DestroyingTheActionEndsAnOpenPage) {
    root->addChild(lineAcross(0.0f));
    auto calls = action->sharedCalls();
    action->beginPage(SbVec2f(0, 0), SbVec2f(210, 297));
    action->apply(root);
    ASSERT_EQ(action->count(K::FOOTER), 0u);
    action.reset();
    ASSERT_FALSE(calls->empty());
    EXPECT_EQ(calls->back().kind, K::FOOTER);
    EXPECT_EQ(std::count_if(calls->begin(), calls->end(),
                            [](const RecordedCall& c) { return c.kind == K::FOOTER; }),
              1);
}

TEST_F(ApplySequence, HiddenLineModeIsOffAgainAfterAnApply) {
    root->addChild(lineAcross(0.0f));
    action->setHLHSRMode(SoVectorizeAction::HLHSR_PAINTER);
    ASSERT_EQ(action->getHLHSRMode(), SoVectorizeAction::HLHSR_PAINTER);
    action->apply(root);
    EXPECT_EQ(action->getHLHSRMode(), SoVectorizeAction::HLHSR_OFF);
    EXPECT_EQ(action->count(K::POLYLINE), 1u);
}

TEST_F(ApplySequence, TheClipIsSetOncePerViewportAndAgainWhenItChanges) {
    root->addChild(lineAcross(0.5f));
    root->addChild(lineAcross(0.25f));  // same viewport: no new clip
    // A camera that crops the viewport to its own aspect ratio, under a separator.
    auto* cropped = new SoSeparator;
    auto* narrow = new SoOrthographicCamera;
    narrow->position.setValue(SbVec3f(0, 0, 8));
    narrow->aspectRatio.setValue(0.5f);
    narrow->viewportMapping.setValue(SoCamera::CROP_VIEWPORT_NO_FRAME);
    cropped->addChild(narrow);
    cropped->addChild(lineAcross(0.0f));
    root->addChild(cropped);
    root->addChild(lineAcross(-0.5f));  // back in the full viewport

    action->apply(root);
    const std::vector<RecordedCall> clips = action->ofKind(K::HARDWARE_CLIP);
    ASSERT_EQ(clips.size(), 3u);
    const float expected[3][4] = {{0, 0, 100, 100}, {25, 0, 75, 100}, {0, 0, 100, 100}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        float xmin, ymin, xmax, ymax;
        clips[i].clippingLimits.getBounds(xmin, ymin, xmax, ymax);
        EXPECT_NEAR(xmin, expected[i][0], 1e-3f);
        EXPECT_NEAR(ymin, expected[i][1], 1e-3f);
        EXPECT_NEAR(xmax, expected[i][2], 1e-3f);
        EXPECT_NEAR(ymax, expected[i][3], 1e-3f);
    }
    // Each clip comes before the primitives drawn in its viewport.
    const std::vector<K::Kind> kinds = action->kinds();
    const std::vector<K::Kind> expectedKinds = {
        K::HEADER,   K::BACKGROUND,    K::HARDWARE_CLIP, K::POLYLINE, K::POLYLINE, K::HARDWARE_CLIP,
        K::POLYLINE, K::HARDWARE_CLIP, K::POLYLINE,      K::BORDER,   K::FOOTER};
    EXPECT_EQ(kinds, expectedKinds);
}

TEST_F(ApplySequence, EachApplyStartsWithAnUnknownViewport) {
    root->addChild(lineAcross(0.0f));
    action->apply(root);
    action->apply(root);
    EXPECT_EQ(action->count(K::HARDWARE_CLIP), 2u);
}
