// The painter's ordering on small scenes whose right outcome is known: swaps, splits, cycles
// and the records it must leave alone. Each outcome is also the one the rules written out
// pair by pair give, and right as a picture.

#include "PairCheck.h"
#include "ReferencePainter.h"

using namespace hlhsr;

namespace {

// A flat square and a tilted one passing through it.
void crossingSquares(SoGraphicPrimitiveList& list) {
    list.add(square(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f, 0));
    list.add(polygon({pt(-0.4f, -0.4f, 0.3f), pt(-0.4f, 0.4f, 0.3f), pt(0.4f, 0.4f, 0.7f),
                      pt(0.4f, -0.4f, 0.7f)},
                     1));
}

// The small square reaches farther (larger far depth) but lies wholly in front of the large
// one's plane: the large one must print first.
void nearerSortedFirst(SoGraphicPrimitiveList& list) {
    list.add(polygon({pt(-0.5f, -0.5f, 0.25f), pt(0.5f, -0.5f, 0.75f), pt(0.5f, 0.5f, 0.75f),
                      pt(-0.5f, 0.5f, 0.25f)},
                     0));
    list.add(polygon({pt(0.2f, -0.4f, 0.55f), pt(0.2f, 0.4f, 0.55f), pt(0.9f, 0.4f, 0.9f),
                      pt(0.9f, -0.4f, 0.9f)},
                     1));
}

void boxesTouching(SoGraphicPrimitiveList& list) {
    list.add(square(-0.5f, -0.5f, 0.0f, 0.5f, 0.5f, 0));
    list.add(polygon({pt(0.0f, -0.4f, 0.45f), pt(0.0f, 0.4f, 0.45f), pt(0.9f, 0.4f, 0.9f),
                      pt(0.9f, -0.4f, 0.9f)},
                     1));
}

void segmentOnPolygon(SoGraphicPrimitiveList& list) {
    list.add(segment(pt(-0.5f, 0, 0.45f), pt(0.5f, 0, 0.55f), 0));
    list.add(polygon({pt(-1, -1, 0.4f), pt(-1, 1, 0.4f), pt(1, 1, 0.6f), pt(1, -1, 0.6f)}, 1));
}

// The segment reaches farther and is sorted first, but it pierces the polygon.
void segmentThroughPolygon(SoGraphicPrimitiveList& list) {
    list.add(square(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f, 0));
    list.add(segment(pt(-0.25f, 0, 0.75f), pt(0.25f, 0, 0.25f), 1));
}

void marksAndLines(SoGraphicPrimitiveList& list) {
    list.add(segment(pt(-1, 0, 0.2f), pt(1, 0, 0.9f), 0));
    list.add(segment(pt(0, -1, 0.5f), pt(0, 1, 0.5f), 1));
    list.add(mark(pt(0, 0, 0.1f), 2));
}

// Four triangles whose verdicts would push one of them back and forth for ever: the cycle
// is cut instead.
void pushedBackTwice(SoGraphicPrimitiveList& list) {
    list.add(polygon({pt(0.5f, 0.7f, 0.7f), pt(0.4f, 0.6f, 0.3f), pt(-0.8f, -0.7f, 0.2f)}, 0));
    list.add(polygon({pt(-0.9f, -1, 1), pt(-0.1f, 0.3f, 0.2f), pt(0.7f, -1, 0.9f)}, 1));
    list.add(polygon({pt(-1, -0.4f, 0.6f), pt(0.3f, -0.4f, 0.5f), pt(0.5f, 0.3f, 0.4f)}, 2));
    list.add(polygon({pt(0.4f, 0.8f, 0.4f), pt(0.4f, -0.7f, 0.7f), pt(0, 0.1f, 0)}, 3));
}

constexpr int ANY = -1;

struct OrderCase {
    const char* name;
    void (*scene)(SoGraphicPrimitiveList&);
    int mode;
    /// The tags after the pass; empty when only the reference and the picture judge.
    std::vector<int> tags;
    int pairs, swaps, pieces;  ///< ANY: not pinned; pieces ANY still asks for a cut
};

}  // namespace

TEST(PainterOrder, SmallScenesComeOutAsTheRulesSay) {
    const OrderCase cases[] = {
        // Only the depth sort in mode 0: the far end of the tilted square goes first.
        {"depth sort alone", crossingSquares, 0, {1, 0}, 0, 0, 0},
        // The far half of the tilted square at the head, the near half last.
        {"interpenetrating squares", crossingSquares, 1, {1, 0, 1}, ANY, 0, 2},
        {"nearer square sorted first", nearerSortedFirst, 1, {0, 1}, ANY, 1, 0},
        {"boxes only touching", boxesTouching, 1, {1, 0}, 0, 0, 0},
        {"segment lying on a polygon", segmentOnPolygon, 1, {1, 0}, 1, 0, 0},
        // The segment's far half keeps the head, the polygon follows, the near half last.
        {"segment through a polygon", segmentThroughPolygon, 1, {1, 0, 1}, ANY, 0, 2},
        {"marks and lines only sort", marksAndLines, 1, {0, 1, 2}, ANY, 0, 0},
        {"record pushed back twice", pushedBackTwice, 1, {}, ANY, ANY, ANY},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.name);
        SoGraphicPrimitiveList list, again;
        c.scene(list);
        c.scene(again);
        SoHLHSRVectorize engine(nullptr, c.mode);
        SoHLHSRPainter painter(list, engine);
        painter.run();
        if (!c.tags.empty()) {
            EXPECT_EQ(tagsOf(list), c.tags);
        }
        if (c.pairs != ANY) {
            EXPECT_EQ(painter.getPairsTested(), c.pairs);
        }
        if (c.swaps != ANY) {
            EXPECT_EQ(painter.getSwapsMade(), c.swaps);
        }
        if (c.pieces != ANY) {
            EXPECT_EQ(painter.getPiecesMade(), c.pieces);
        } else {
            EXPECT_GT(painter.getPiecesMade(), 0) << "no order is right until one is cut";
        }
        if (c.mode == 1) {
            EXPECT_EQ(wrongPairs(list), 0);
            EXPECT_EQ(referenceOrder(again), painter.getSwapsMade());
            EXPECT_EQ(tagsOf(again), tagsOf(list));
        }
    }
}
