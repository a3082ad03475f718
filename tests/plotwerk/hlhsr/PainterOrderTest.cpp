// The painter's ordering: what the pairwise pass does with overlapping records (swaps,
// splits, cycles, records it must leave alone), and that its fast pass leaves exactly the
// list the rules written out pair by pair leave.

#include <random>

#include "HlhsrFixture.h"
#include "ReferencePainter.h"

using namespace hlhsr;

namespace {

/// Runs the painter of an engine of the given mode over list.
struct PainterRun {
    long long pairs, swaps, pieces;
};

PainterRun runPainter(SoGraphicPrimitiveList& list, int mode = 1) {
    SoHLHSRVectorize engine(nullptr, mode);
    SoHLHSRPainter painter(list, engine);
    painter.run();
    return PainterRun{painter.getPairsTested(), painter.getSwapsMade(), painter.getPiecesMade()};
}

}  // namespace

// ---- What the pass does ----

TEST(PainterOrder, DepthSortOnlyInModeZero) {
    SoGraphicPrimitiveList list;
    // A tilted square crossing a flat one: the ordering modes would cut it.
    list.add(square(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f, 0));
    list.add(polygon({pt(-0.4f, -0.4f, 0.3f), pt(-0.4f, 0.4f, 0.3f), pt(0.4f, 0.4f, 0.7f),
                      pt(0.4f, -0.4f, 0.7f)},
                     1));
    const PainterRun run = runPainter(list, 0);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{1, 0}));
    EXPECT_EQ(run.pairs, 0);
}

TEST(PainterOrder, InterpenetratingPolygonsAreSplitAroundTheOther) {
    SoGraphicPrimitiveList list;
    list.add(square(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f, 0));
    list.add(polygon({pt(-0.4f, -0.4f, 0.3f), pt(-0.4f, 0.4f, 0.3f), pt(0.4f, 0.4f, 0.7f),
                      pt(0.4f, -0.4f, 0.7f)},
                     1));
    const PainterRun run = runPainter(list);
    // The far half of the tilted square replaces it at the head, the near half goes last.
    ASSERT_EQ(list.getLength(), 3);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(run.pieces, 2);
    const SbBox2f& back = *list.getPrimitive(0)->getBBox();
    const SbBox2f& front = *list.getPrimitive(2)->getBBox();
    EXPECT_NEAR(back.getMin()[0], 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(back.getMax()[0], 0.4f);
    EXPECT_FLOAT_EQ(front.getMin()[0], -0.4f);
    EXPECT_NEAR(front.getMax()[0], 0.0f, 1e-6f);
    EXPECT_NEAR(list.getPrimitive(2)->getZMax(), 0.5f, 1e-6f);
}

TEST(PainterOrder, NearerPolygonSortedFirstIsSwappedBehind) {
    SoGraphicPrimitiveList list;
    // The small square reaches farther (larger far depth) but lies wholly in front of the
    // large one's plane: the large one must print first.
    list.add(polygon({pt(-0.5f, -0.5f, 0.25f), pt(0.5f, -0.5f, 0.75f), pt(0.5f, 0.5f, 0.75f),
                      pt(-0.5f, 0.5f, 0.25f)},
                     0));
    list.add(polygon({pt(0.2f, -0.4f, 0.55f), pt(0.2f, 0.4f, 0.55f), pt(0.9f, 0.4f, 0.9f),
                      pt(0.9f, -0.4f, 0.9f)},
                     1));
    const PainterRun run = runPainter(list);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{0, 1}));
    EXPECT_EQ(run.swaps, 1);
    EXPECT_EQ(run.pieces, 0);
}

TEST(PainterOrder, BoxesThatOnlyTouchAreNeverCompared) {
    SoGraphicPrimitiveList list;
    list.add(square(-0.5f, -0.5f, 0.0f, 0.5f, 0.5f, 0));
    list.add(polygon({pt(0.0f, -0.4f, 0.45f), pt(0.0f, 0.4f, 0.45f), pt(0.9f, 0.4f, 0.9f),
                      pt(0.9f, -0.4f, 0.9f)},
                     1));
    const PainterRun run = runPainter(list);
    EXPECT_EQ(run.pairs, 0);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{1, 0}));
}

TEST(PainterOrder, SegmentLyingOnAPolygonKeepsItsSortedPlace) {
    SoGraphicPrimitiveList list;
    list.add(segment(pt(-0.5f, 0, 0.45f), pt(0.5f, 0, 0.55f), 0));
    list.add(polygon({pt(-1, -1, 0.4f), pt(-1, 1, 0.4f), pt(1, 1, 0.6f), pt(1, -1, 0.6f)}, 1));
    const PainterRun run = runPainter(list);
    EXPECT_EQ(run.pairs, 1);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{1, 0}));
}

TEST(PainterOrder, SegmentThroughAPolygonIsCut) {
    SoGraphicPrimitiveList list;
    list.add(square(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f, 0));
    list.add(segment(pt(-0.25f, 0, 0.75f), pt(0.25f, 0, 0.25f), 1));
    runPainter(list);
    // The segment reaches farther and is placed first, but it pierces the polygon: its far
    // half keeps the head, the polygon follows, the near half goes last.
    ASSERT_EQ(list.getLength(), 3);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(list.getPrimitive(0)->getType(), SoGraphicPrimitive::POLYLINE);
    EXPECT_FLOAT_EQ(list.getPrimitive(0)->getZMax(), 0.75f);
    EXPECT_FLOAT_EQ(list.getPrimitive(2)->getZMin(), 0.25f);
    EXPECT_NEAR(list.getPrimitive(2)->getZMax(), 0.5f, 1e-6f);
}

TEST(PainterOrder, MarksAndLinesAmongThemselvesOnlySort) {
    SoGraphicPrimitiveList list;
    list.add(segment(pt(-1, 0, 0.2f), pt(1, 0, 0.9f), 0));
    list.add(segment(pt(0, -1, 0.5f), pt(0, 1, 0.5f), 1));
    list.add(mark(pt(0, 0, 0.1f), 2));
    const PainterRun run = runPainter(list);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(run.swaps, 0);
}

TEST(PainterOrder, RecordThatWouldComeForwardAThirdTimeHasItsCycleCut) {
    // Four triangles whose verdicts would push one of them back and forth for ever: the
    // cycle is cut instead. Same list, same swaps as the rules written out pair by pair.
    const std::vector<std::vector<SbVec4f>> triangles = {
        {pt(0.5f, 0.7f, 0.7f), pt(0.4f, 0.6f, 0.3f), pt(-0.8f, -0.7f, 0.2f)},
        {pt(-0.9f, -1, 1), pt(-0.1f, 0.3f, 0.2f), pt(0.7f, -1, 0.9f)},
        {pt(-1, -0.4f, 0.6f), pt(0.3f, -0.4f, 0.5f), pt(0.5f, 0.3f, 0.4f)},
        {pt(0.4f, 0.8f, 0.4f), pt(0.4f, -0.7f, 0.7f), pt(0, 0.1f, 0)}};
    SoGraphicPrimitiveList fast, slow;
    for (int k = 0; k < 4; ++k) {
        fast.add(polygon(triangles[k], k));
        slow.add(polygon(triangles[k], k));
    }
    const PainterRun run = runPainter(fast);
    EXPECT_EQ(run.swaps, referenceOrder(slow));
    EXPECT_EQ(tagsOf(fast), tagsOf(slow));
    EXPECT_GT(run.pieces, 0);
}
