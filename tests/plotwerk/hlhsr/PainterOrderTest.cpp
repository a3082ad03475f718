// The painter's ordering: what the pairwise pass does with overlapping records (swaps,
// splits, cycles, records it must leave alone), and that its fast pass leaves exactly the
// list the rules written out pair by pair leave.

#include <random>

#include "PairCheck.h"
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

/// A strip along a side of a triangle on the plane z = a x + b y + c.
SoPolygon* strip(const std::vector<SbVec2f>& corners, float a, float b, float c, int k) {
    std::vector<SbVec4f> points;
    for (const SbVec2f& p : corners) points.push_back(pt(p[0], p[1], a * p[0] + b * p[1] + c));
    return polygon(points, k);
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

TEST(PainterOrder, CycleOfThreeStripsEnds) {
    // Each strip lies wholly in front of the next one's plane where they overlap: no order
    // of the three is right, and none interpenetrates.
    SoGraphicPrimitiveList list, again;
    for (SoGraphicPrimitiveList* l : {&list, &again}) {
        l->add(strip({{-1.0f, 0.4f}, {11.0f, 0.4f}, {11.0f, -0.4f}, {-1.0f, -0.4f}}, 0.18f, -0.15f,
                     4.5f, 0));
        l->add(strip({{10.2f, -1.1f}, {4.1f, 8.6f}, {4.8f, 9.1f}, {10.9f, -0.6f}}, 0.18f, 0.22f,
                     4.14f, 1));
        l->add(strip({{5.9f, 8.6f}, {-0.2f, -1.1f}, {-0.9f, -0.6f}, {5.2f, 9.1f}}, 0.29f, -0.18f,
                     4.87f, 2));
    }
    for (int a = 0; a < 3; ++a) {
        const int b = (a + 1) % 3;
        ASSERT_EQ(SoHLHSRPainter::classify(list.getPrimitive(a), list.getPrimitive(b), 0), 0);
    }
    const PainterRun run = runPainter(list);
    EXPECT_GT(run.pieces, 0) << "no order is right until one of them is cut";
    EXPECT_EQ(wrongPairs(list), 0);

    EXPECT_EQ(referenceOrder(again), run.swaps);
    EXPECT_EQ(tagsOf(again), tagsOf(list));
}

TEST(PainterOrder, RecordPushedBackTwiceHasItsCycleCut) {
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
