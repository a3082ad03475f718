#pragma once

#include <Tessara/math/SbVec4f.h>

#include <vector>

class SoGraphicPrimitive;
class SoGraphicPrimitiveList;
class SoHLHSRPairIndex;
class SoHLHSRVectorize;
class SoPolygon;
class SoOffscreenRenderer;

/// Orders the records of one viewport so that printing them in list order paints far things
/// first: a depth sort, then (except in the engine's depth-sort mode) pairwise tests that
/// swap records overlapping on the page in the wrong depth order and cut a polygon or a
/// segment by another polygon's plane when neither order is right or the records cycle. The
/// surface-removal mode first drops polygons that leave no pixel in an offscreen rendering.
/// The source file explains the rules that keep the order exact on interpenetrating solids.
///
/// Results of the comparisons: 0 means A prints before B, 1 B before A, 2 coplanar, 3 they
/// interpenetrate (one must be split).
class SoHLHSRPainter {
  public:
    /// Works on list in place; the engine gives the mode.
    SoHLHSRPainter(SoGraphicPrimitiveList& list, const SoHLHSRVectorize& engine);
    ~SoHLHSRPainter();
    SoHLHSRPainter(const SoHLHSRPainter&) = delete;
    SoHLHSRPainter& operator=(const SoHLHSRPainter&) = delete;

    /// Sorts and orders the list; the engine then prints it in order.
    void run();
    /// 1 when the two records cannot overlap on the page, 0 when they may. boxesChecked
    /// skips the box test the caller already made.
    static int projectionsDisjoint(SoGraphicPrimitive* P, SoGraphicPrimitive* Q, int boxesChecked);
    /// Which of A and B prints first, from their depth ranges and planes (see above).
    static int classify(SoGraphicPrimitive* A, SoGraphicPrimitive* B, int strict);
    /// 1 when no point of Q lies more than a sliver inside the edge a -> b of a polygon (on
    /// the line counts as outside), 0 otherwise; an edge shorter than a sliver gives 0.
    static int edgeSeparates(const SbVec4f& a, const SbVec4f& b, SoGraphicPrimitive* Q);
    /// 1 when p (x, y) lies strictly inside the convex polygon's outline.
    static int pointInConvexPolygon(SoGraphicPrimitive* polygon, const SbVec4f& p);
    /// Renders the polygons offscreen with their index as colour and drops those that leave
    /// no pixel; other records and polygons under about a pixel are always kept.
    void removeHidden(SoOffscreenRenderer& renderer);

    /// The most work a run may do: comparisons, and records and cells the pair index looked
    /// at. Past it the pass ends with a warning, and the records not placed print in depth
    /// order. 0, the default, sets it by the number of records.
    void setWorkLimit(long long limit) { requestedWorkLimit_ = limit; }
    /// Compared pairs (those whose boxes overlap and depths reach) of the last run.
    long long getPairsTested() const { return pairsTested_; }
    /// Swaps of the last run.
    long long getSwapsMade() const { return swapsMade_; }
    /// Records made by splitting in the last run (two per split).
    long long getPiecesMade() const { return piecesMade_; }
    /// The records the last pairwise pass placed, at the front of the list: all of them
    /// unless its work ran out.
    int getRecordsPlaced() const { return recordsPlaced_; }

  private:
    enum Step { NEXT, SWAP, SPLIT, CUT_CYCLE };
    /// What a cut left at the position being placed: nothing changed, P's own far piece, or
    /// a record that has not been compared yet.
    enum Cut { NO_CUT, SAME_HEAD, NEW_HEAD };

    void orderPairs();
    /// False when the work ran out before the record at i was placed.
    bool placeRecord(int i, SoHLHSRPairIndex& index);
    Step decide(SoGraphicPrimitive* P, SoGraphicPrimitive* Q);
    Cut trySplit(int i, int j, SoHLHSRPairIndex& index);
    Cut cutCycle(int i, int j, SoHLHSRPairIndex& index);
    bool cutLink(int earlier, int later, SoHLHSRPairIndex& index);
    bool cutAt(int k, const SoPolygon& cutter, SoHLHSRPairIndex& index);
    /// Resets the moves counted in the last step, except on the record that step placed.
    void forgetMoves(SoHLHSRPairIndex& index, SoGraphicPrimitive* placed);
    void restartStep(int i, SoHLHSRPairIndex& index);
    bool mayGrow();
    /// Whether the pass has done all the work it may, placing the record at i.
    bool outOfWork(int i, const SoHLHSRPairIndex& index);

    void markKept(float sx, float sy);
    int renderAndCount(SoOffscreenRenderer& renderer);
    /// Marks every record whose index the finished image shows; returns the pixels that did.
    int countShown(int width, int height);
    void dropUnmarked();

    SoGraphicPrimitiveList& list_;
    int mode_;
    /// Slots of records whose moveCount this step raised.
    std::vector<int> moved_;
    /// Slots of the records that came to the position being placed, in turn, since the step
    /// began or last cut something: each must print before the one before it.
    std::vector<int> chain_;
    long long pairsTested_ = 0;
    long long swapsMade_ = 0;
    long long piecesMade_ = 0;
    int recordsPlaced_ = 0;
    /// Splitting stops (with a warning) past this many records: a guard against runaway
    /// cutting on degenerate input.
    int growthLimit_ = 0;
    bool growthWarned_ = false;
    /// The pass ends (with a warning) past this much work: comparisons, and records the
    /// index looked at. A guard against degenerate input, where the work grows much faster
    /// than the records.
    long long requestedWorkLimit_ = 0;
    long long workLimit_ = 0;
    bool workWarned_ = false;
};
