// The painter's ordering of one viewport's records.
//
// After the depth sort, step i of the pairwise pass places the record P at position i: it is
// compared with every later record Q, in list order, and
//   1. passed over when the page boxes do not overlap (touching counts as apart), or when
//      neither is a polygon (lines, marks, text and images keep their sorted order),
//   2. passed over when the outlines are disjoint on the page,
//   3. passed over when P's near depth is at or beyond Q's far depth,
//   4. otherwise ordered by the plane tests: left in place, swapped (Q becomes P and the
//      comparison starts again after it), or split by the other's plane.
// A record pushed back more than once in a step is not moved forward again in that step:
// the records cycle, and the cycle is cut instead (see below). After any cut the step
// counts its moves afresh, since what overlapped what has changed.
//
// Three rules keep the order exact on solids that pierce one another, where every pair
// touches a cut line or a shared vertex and rounding decides verdicts:
//   - The strict plane test (asked before a record moves forward a second time) takes each
//     plane's verdict within the same tolerance as the loose one, and one verdict is
//     enough; only two verdicts that disagree call the pair interpenetrating, and then it
//     is cut like any other. Without the tolerance a shared vertex a rounding step off a
//     plane made every such pair look interpenetrating, and the pair kept its wrong order.
//   - Where Q would be moved forward a third time, the records that came forward since Q
//     last did form a cycle with Q, each needing to print before the one it displaced. One
//     record of a link of that cycle is cut by the other's plane, trying the link P-Q first
//     (P by Q's plane, else Q by P's), then the links back along the chain: the pieces have
//     an order, and the cycle is gone. Keeping the pair's order, as the cycle rule alone
//     does, leaves one link of the cycle wrong; only a cycle that none of its own planes
//     cuts keeps it. A record is cut only where it reaches beyond the tolerance on both
//     sides of the plane, and the runaway guard bounds the cutting.
//   - On the page, a point overlaps an edge only when it lies more than a sliver inside it,
//     and an edge shorter than a sliver separates nothing. Pieces of one cut share their cut
//     line only up to rounding; an exact test saw them overlap by 1e-7 and made false
//     cycles, and a rounding-length edge points anywhere. Normals are taken over all the
//     points of a polygon for the same reason (see SoPolygon).
//
// Why the pass looks only at the records the pair index returns: tests 1 and 3 read nothing
// but the two records' boxes, kinds and depth ranges and change nothing, and a pair failing
// either goes straight to the next Q. So the pass makes exactly the same moves when it skips
// those pairs, provided that it visits the others in the same increasing order, on the same
// list, with the same P. The index returns the positions after the current one that pass
// both tests, in increasing order (but see below); the candidates are asked for again whenever P or
// any position changes (a swap, a split), and between those events only moveCount values change,
// which neither test reads. Where one of the two is thin (see SoHLHSRPairIndex), the index
// also leaves out pairs whose outlines share no cell of its grid. Those lie apart on the
// page, and test 2 passes them over: of two convex records apart, an edge of one has the
// other wholly outside it (a segment counts both its sides as outside). Only where every
// such edge is shorter than a sliver may the pass differ, and then in the order of two
// records that do not overlap on the page, which does not matter.
//
// Why the moves of a step are reset lazily: step i resets moveCount on the records at
// positions i onwards. Only records moved in step i - 1 can hold a non-zero count then (the
// rest were reset at the start of step i - 1, and new pieces start at 0), and all of them
// are at positions i - 1 onwards; the one left at i - 1 keeps its count, as it would. So
// resetting the records raised in the last step, except that one, leaves every count as the
// full reset would, at a cost proportional to the moves instead of the list.

#include "SoHLHSRPainter.h"

#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbViewportRegion.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "SoDepthWindow.h"
#include "SoGraphicPrimitiveList.h"
#include "SoHLHSRGLFunctions.h"
#include "SoHLHSRPairIndex.h"
#include "SoHLHSRVectorize.h"
#include "SoPatternGroups.h"
#include "SoPolyLine.h"
#include "SoPolygon.h"

namespace {
constexpr float EPSILON_F = 0.0001f;
constexpr double EPSILON_D = 0.0001;
// How far, in normalised page units, a point must lie inside an edge to overlap it: a few
// rounding steps of a cut point, far below anything a printer shows.
constexpr double SLIVER = 1e-6;
// The offscreen pass renders at this size whatever the page size.
constexpr short PASS_SIZE = 512;
// Splitting stops beyond this many records per record stored: far more than any real scene
// makes, but it keeps memory bounded should degenerate input make cutting run away.
constexpr long long GROWTH_FACTOR = 64;
constexpr long long GROWTH_SLACK = 1000000;
// The pass ends past this much work per record stored (comparisons, and records and cells
// the pair index looked at), plus the slack, and at most the ceiling plus a little per
// record; the records it has not placed then print in depth order. Polygons piercing one
// another at random need a few thousand per record, but where a few hundred large polygons
// all pierce all, the pieces grow with the cube of their number and the work faster still,
// and a stack of nearly coincident copies of a shape costs the cube of its height. The
// ceiling is a few seconds of such work; a mesh of ten million triangles needs a quarter of
// what it may.
constexpr long long WORK_FACTOR = 20000;
constexpr long long WORK_SLACK = 200000000;
constexpr long long WORK_CEILING = 300000000;
constexpr long long WORK_CEILING_PER_RECORD = 200;

struct Points {
    const SbVec4f* p;
    int n;
};

Points pointsOf(SoGraphicPrimitive* record) {
    const int n = record->getNumPoints();
    if (n <= 0) return Points{nullptr, 0};
    return Points{record->getPoint(0), n};
}

bool isPolygon(const SoGraphicPrimitive* record) {
    return record->getType() == SoGraphicPrimitive::POLYGON;
}

// (ex, ey) is the edge's inward normal scaled by its length, so a point lies more than a
// sliver inside when its product exceeds the sliver times that length (compared squared, to
// spare a root). A NaN edge separates nothing either.
int edgeSeparatesPoints(const SbVec4f& a, const SbVec4f& b, Points q) {
    const float* pa = a.getValue();
    const float* pb = b.getValue();
    const double ex = double(pb[1]) - pa[1];
    const double ey = double(pa[0]) - pb[0];
    const double limit = SLIVER * SLIVER * (ex * ex + ey * ey);
    if (!(limit > SLIVER * SLIVER * SLIVER * SLIVER)) return 0;
    for (int k = 0; k < q.n; ++k) {
        const float* v = q.p[k].getValue();
        const double inside = ex * (double(v[0]) - pa[0]) + ey * (double(v[1]) - pa[1]);
        if (inside > 0.0 && inside * inside > limit) return 0;
    }
    return 1;
}

// Edges k-1 -> k, then the closing edge when there are more than two points. A segment has
// no inside: the other record may lie on either side of it.
bool anyEdgeSeparates(Points edges, Points other) {
    for (int k = 1; k < edges.n; ++k) {
        if (edgeSeparatesPoints(edges.p[k - 1], edges.p[k], other)) return true;
    }
    if (edges.n == 2) return edgeSeparatesPoints(edges.p[1], edges.p[0], other);
    return edges.n > 2 && edgeSeparatesPoints(edges.p[edges.n - 1], edges.p[0], other);
}

int pointInConvexPoints(Points polygon, const SbVec4f& point) {
    if (polygon.n < 3) return 0;
    const float* p = point.getValue();
    float s0 = 0.0f;
    for (int k = 0; k < polygon.n; ++k) {
        const float* v = polygon.p[k].getValue();
        const float* w = polygon.p[k + 1 < polygon.n ? k + 1 : 0].getValue();
        const float s = -(w[1] - v[1]) * (p[0] - v[0]) + (w[0] - v[0]) * (p[1] - v[1]);
        if (k == 0)
            s0 = s;
        else if (s0 * s <= 0.0f)
            return 0;
    }
    return 1;
}

// Signed distances of the points to a polygon's plane, in double precision.
void planeRangeD(const SoPolygon& plane, Points points, double& dmin, double& dmax) {
    dmin = HUGE_VAL;
    dmax = -HUGE_VAL;
    for (int k = 0; k < points.n; ++k) {
        const double d = plane.planeDistance(points.p[k]);
        dmin = std::min(dmin, d);
        dmax = std::max(dmax, d);
    }
}

bool coplanar(double dmin, double dmax) {
    return std::fabs(dmin) <= EPSILON_D && std::fabs(dmax) <= EPSILON_D;
}

// Both are polygons: first where B lies against A's plane, then A against B's. Each plane
// gives a verdict when the other polygon lies on one side of it within the tolerance (3
// when it reaches beyond on both sides). The loose test takes the first verdict there is;
// the strict one takes either, and refuses only two that disagree.
int classifyPolygons(const SoPolygon& A, const SoPolygon& B, int strict) {
    double dmin, dmax;
    planeRangeD(A, Points{B.points.get(), B.numPoints}, dmin, dmax);
    if (coplanar(dmin, dmax)) return 2;
    // B on the viewer's side of A's plane: A prints first.
    const int byA = dmin >= -EPSILON_D ? 0 : dmax <= EPSILON_D ? 1 : 3;
    if (!strict && byA != 3) return byA;
    double emin, emax;
    planeRangeD(B, Points{A.points.get(), A.numPoints}, emin, emax);
    if (coplanar(emin, emax)) return 2;
    const int byB = emin >= -EPSILON_D ? 1 : emax <= EPSILON_D ? 0 : 3;
    if (!strict || byA == 3) return byB;
    if (byB == 3) return byA;
    return byA == byB ? byA : 3;
}

// The record reaches beyond the tolerance on both sides of the polygon's plane.
bool straddles(const SoPolygon& plane, SoGraphicPrimitive* record) {
    double dmin, dmax;
    planeRangeD(plane, pointsOf(record), dmin, dmax);
    return dmin < -EPSILON_D && dmax > EPSILON_D;
}

// One polygon G and one other record R, in single precision. A record straddling the plane
// can only be a segment (marks have one point, lines are cut into segments): it is cut.
int classifyMixed(const SoPolygon& G, SoGraphicPrimitive* R, bool swapped) {
    const Points r = pointsOf(R);
    const float* n = G.normal.getValue();
    const float* o = G.points[0].getValue();
    float dmin = HUGE_VALF, dmax = -HUGE_VALF;
    for (int k = 0; k < r.n; ++k) {
        const float* v = r.p[k].getValue();
        const float d = n[0] * (v[0] - o[0]) + n[1] * (v[1] - o[1]) + n[2] * (v[2] - o[2]);
        dmin = std::min(dmin, d);
        dmax = std::max(dmax, d);
    }
    if ((std::fabs(dmin) <= EPSILON_F && std::fabs(dmax) <= EPSILON_F) || dmin >= -EPSILON_F) {
        return swapped ? 1 : 0;
    }
    if (dmax <= EPSILON_F) return swapped ? 0 : 1;
    return 3;
}
}  // namespace

SoHLHSRPainter::SoHLHSRPainter(SoGraphicPrimitiveList& records, const SoHLHSRVectorize& engine)
    : list_(records), mode_(engine.getMode()) {}

SoHLHSRPainter::~SoHLHSRPainter() = default;

// The raster mode has no stage of its own yet: it takes the surface-removal painter's route.
void SoHLHSRPainter::run() {
    list_.sort(0);
    if (mode_ == 0) return;
    if (mode_ == 2 || mode_ == 3) {
        SoOffscreenRenderer renderer(SbViewportRegion(PASS_SIZE, PASS_SIZE, 1.0f));
        removeHidden(renderer);
        list_.sort(0);
    }
    orderPairs();
}

// ---- Comparisons ----

int SoHLHSRPainter::edgeSeparates(const SbVec4f& a, const SbVec4f& b, SoGraphicPrimitive* Q) {
    return edgeSeparatesPoints(a, b, pointsOf(Q));
}

int SoHLHSRPainter::pointInConvexPolygon(SoGraphicPrimitive* polygon, const SbVec4f& p) {
    return pointInConvexPoints(pointsOf(polygon), p);
}

// Lines, marks, text and images are never reordered among themselves beyond the sort. A
// record without points has nothing to overlap with.
int SoHLHSRPainter::projectionsDisjoint(SoGraphicPrimitive* P, SoGraphicPrimitive* Q,
                                        int boxesChecked) {
    if (!boxesChecked && !P->getBBox()->intersect(*Q->getBBox())) return 1;
    const bool pPolygon = isPolygon(P);
    if (!pPolygon && !isPolygon(Q)) return 1;
    const Points p = pointsOf(P);
    const Points q = pointsOf(Q);
    if (p.n == 0 || q.n == 0) return 1;
    if (p.n < 2 || q.n < 2) {
        const int inside =
            pPolygon ? pointInConvexPoints(p, q.p[0]) : pointInConvexPoints(q, p.p[0]);
        return inside ? 0 : 1;
    }
    return anyEdgeSeparates(p, q) || anyEdgeSeparates(q, p) ? 1 : 0;
}

// Records apart in depth are ordered by their far depths alone. A polygon without points
// has no plane: it counts as coplanar with anything, which leaves the order alone.
int SoHLHSRPainter::classify(SoGraphicPrimitive* A, SoGraphicPrimitive* B, int strict) {
    const float aMax = A->getZMax(), aMin = A->getZMin();
    const float bMax = B->getZMax(), bMin = B->getZMin();
    if (bMax < aMin || aMax < bMin) return aMax <= bMax ? 1 : 0;
    const bool aPolygon = isPolygon(A), bPolygon = isPolygon(B);
    if (!aPolygon && !bPolygon) return aMax <= bMax ? 1 : 0;
    if (A->getNumPoints() <= 0 || B->getNumPoints() <= 0) return 2;
    if (aPolygon && bPolygon) {
        return classifyPolygons(*static_cast<SoPolygon*>(A), *static_cast<SoPolygon*>(B), strict);
    }
    if (aPolygon) return classifyMixed(*static_cast<SoPolygon*>(A), B, false);
    return classifyMixed(*static_cast<SoPolygon*>(B), A, true);
}

// ---- The pairwise pass ----

void SoHLHSRPainter::orderPairs() {
    pairsTested_ = swapsMade_ = piecesMade_ = 0;
    recordsPlaced_ = 0;
    const int stored = list_.getLength();
    growthLimit_ = static_cast<int>(
        std::min<long long>(INT_MAX, std::max(GROWTH_FACTOR * stored, stored + GROWTH_SLACK)));
    for (int k = 0; k < stored; ++k) list_.getPrimitive(k)->moveCount = 0;
    workLimit_ = requestedWorkLimit_ > 0
                     ? requestedWorkLimit_
                     : std::min(WORK_FACTOR * stored + WORK_SLACK,
                                WORK_CEILING + WORK_CEILING_PER_RECORD * stored);
    SoHLHSRPairIndex index(list_);
    moved_.clear();
    int i = 0;
    for (; i < list_.getLength() && !outOfWork(i, index); ++i) {
        if (i > 0) forgetMoves(index, list_.getPrimitive(i - 1));
        chain_.assign(1, index.slotAt(i));
        if (!placeRecord(i, index)) break;
    }
    // Out of work: the records not placed are where the steps so far left them, some moved
    // back past records they must print before, the near pieces of cuts at the end, waiting
    // for steps that will not come. Their depth order is the better guess; every record
    // placed already prints before all of them.
    recordsPlaced_ = i;
    if (workWarned_) list_.sort(i);
}

void SoHLHSRPainter::forgetMoves(SoHLHSRPairIndex& index, SoGraphicPrimitive* placed) {
    for (int s : moved_) {
        SoGraphicPrimitive* record = index.recordOfSlot(s);
        if (record && record != placed) record->moveCount = 0;
    }
    moved_.clear();
}

// A cut changes what overlaps what: the moves made so far in the step no longer tell of a
// cycle, so the step counts afresh from the record now at i.
void SoHLHSRPainter::restartStep(int i, SoHLHSRPairIndex& index) {
    forgetMoves(index, nullptr);
    chain_.assign(1, index.slotAt(i));
}

bool SoHLHSRPainter::placeRecord(int i, SoHLHSRPairIndex& index) {
    index.startQuery(i, i);
    for (int j = index.nextCandidate(); j >= 0; j = index.nextCandidate()) {
        if (outOfWork(i, index)) return false;
        SoGraphicPrimitive* P = list_.getPrimitive(i);
        ++pairsTested_;
        const Step step = decide(P, list_.getPrimitive(j));
        Cut cut = NO_CUT;
        if (step == SWAP) {
            ++P->moveCount;
            ++swapsMade_;
            moved_.push_back(index.slotAt(i));
            list_.swap(i, j);
            index.swapPositions(i, j);
            chain_.push_back(index.slotAt(i));
        } else if (step == SPLIT) {
            cut = trySplit(i, j, index);
        } else if (step == CUT_CYCLE) {
            cut = cutCycle(i, j, index);
        }
        if (cut != NO_CUT) restartStep(i, index);
        if (step == SWAP || cut == NEW_HEAD) {
            // The record at i has not met the records after it yet.
            index.startQuery(i, i);
        } else if (cut == SAME_HEAD) {
            index.startQuery(i, j);
        }
    }
    return true;
}

// Tests 2 to 4 of the pass for a pair whose boxes overlap (test 1 is the index's).
SoHLHSRPainter::Step SoHLHSRPainter::decide(SoGraphicPrimitive* P, SoGraphicPrimitive* Q) {
    if (projectionsDisjoint(P, Q, 1)) return NEXT;
    if (P->getZMin() >= Q->getZMax()) return NEXT;
    const int r = P->getZMax() <= Q->getZMin() ? 0 : classify(Q, P, 0);
    if (r == 1 || r == 2) return NEXT;
    if (r == 0) {
        // Q was pushed back already: only a strict verdict may move it forward again.
        const int s = Q->moveCount != 0 ? classify(P, Q, 1) : 1;
        if (s == 1) return Q->moveCount > 1 ? CUT_CYCLE : SWAP;
        if (s == 2) {
            Q->moveCount = 0;
            return NEXT;
        }
    }
    return SPLIT;
}

bool SoHLHSRPainter::outOfWork(int i, const SoHLHSRPairIndex& index) {
    if (pairsTested_ + index.getLooks() <= workLimit_) return false;
    if (!workWarned_) {
        workWarned_ = true;
        SoDebugError::postWarning("SoHLHSRPainter::run",
                                  "ordering stopped after %lld comparisons: the last %d records "
                                  "print in depth order",
                                  pairsTested_, list_.getLength() - i);
    }
    return true;
}

bool SoHLHSRPainter::mayGrow() {
    if (list_.getLength() < growthLimit_) return true;
    if (!growthWarned_) {
        growthWarned_ = true;
        SoDebugError::postWarning("SoHLHSRPainter::run",
                                  "%d records reached: no more polygons are split",
                                  list_.getLength());
    }
    return false;
}

// P is cut by Q's plane, its far piece taking P's place; else a segment Q is cut by P's
// plane, and its far piece becomes the record being placed, P moving to Q's position.
SoHLHSRPainter::Cut SoHLHSRPainter::trySplit(int i, int j, SoHLHSRPairIndex& index) {
    if (!mayGrow()) return NO_CUT;
    SoGraphicPrimitive* P = list_.getPrimitive(i);
    SoGraphicPrimitive* Q = list_.getPrimitive(j);
    if (isPolygon(Q) && cutAt(i, *static_cast<SoPolygon*>(Q), index)) return SAME_HEAD;
    if (!isPolygon(P) || isPolygon(Q) || Q->getType() != SoGraphicPrimitive::POLYLINE ||
        !cutAt(j, *static_cast<SoPolygon*>(P), index)) {
        return NO_CUT;
    }
    list_.swap(i, j);
    index.swapPositions(i, j);
    return NEW_HEAD;
}

// Q would come forward a third time: the records that came forward since Q last did, with
// Q, form a cycle, each needing to print before the one it displaced. Cutting one record of
// a link of the cycle by the other's plane ends it: first the link P-Q, then the links
// back along the chain. A cycle that no plane of its own cuts keeps its order.
SoHLHSRPainter::Cut SoHLHSRPainter::cutCycle(int i, int j, SoHLHSRPairIndex& index) {
    if (!mayGrow()) return NO_CUT;
    if (cutLink(i, j, index)) return NEW_HEAD;
    const int qSlot = index.slotAt(j);
    for (size_t t = chain_.size() - 1; t > 0 && chain_[t] != qSlot; --t) {
        if (cutLink(index.positionOfSlot(chain_[t - 1]), index.positionOfSlot(chain_[t]), index)) {
            return NEW_HEAD;
        }
    }
    return NO_CUT;
}

// The record at `later` must print before the one at `earlier`: cuts the earlier one by the
// later one's plane, else the other way.
bool SoHLHSRPainter::cutLink(int earlier, int later, SoHLHSRPairIndex& index) {
    if (earlier < 0 || later < 0) return false;
    SoGraphicPrimitive* X = list_.getPrimitive(earlier);
    SoGraphicPrimitive* Y = list_.getPrimitive(later);
    return (isPolygon(Y) && cutAt(earlier, *static_cast<SoPolygon*>(Y), index)) ||
           (isPolygon(X) && cutAt(later, *static_cast<SoPolygon*>(X), index));
}

// The record at k is cut by cutter's plane: its far piece takes its place, its near piece
// goes to the end. Only a record reaching beyond the tolerance on both sides is cut: one
// that touches the plane within rounding would leave a piece without area and a copy of
// itself, to be cut again for ever. The list's cached extent is not touched: pieces lie
// within what they were cut from.
bool SoHLHSRPainter::cutAt(int k, const SoPolygon& cutter, SoHLHSRPairIndex& index) {
    SoGraphicPrimitive* record = list_.getPrimitive(k);
    SoGraphicPrimitive *front = nullptr, *back = nullptr;
    if (!straddles(cutter, record) || !record->cutBy(cutter, front, back)) return false;
    delete record;
    list_.set(k, back);
    list_.add(front);
    index.replace(k, back);
    index.append(front);
    piecesMade_ += 2;
    return true;
}

// ---- The offscreen visibility pass ----

void SoHLHSRPainter::removeHidden(SoOffscreenRenderer& renderer) {
    const int n = list_.getLength();
    if (n == 0) return;
    const SbVec2s size = renderer.getViewportRegion().getViewportSizePixels();
    const SbBox3f& box = list_.getBBox();
    const float sx = size[0] / (box.getMax()[0] - box.getMin()[0]);
    const float sy = size[1] / (box.getMax()[1] - box.getMin()[1]);
    markKept(sx, sy);
    if (renderAndCount(renderer) > 0) dropUnmarked();
}

// Lines, marks, text and images always stay; so do polygons too small to be sure to cover
// a pixel centre of their own.
void SoHLHSRPainter::markKept(float sx, float sy) {
    for (int k = 0; k < list_.getLength(); ++k) {
        SoGraphicPrimitive* record = list_.getPrimitive(k);
        if (!isPolygon(record)) {
            ++record->moveCount;
            continue;
        }
        const SbBox2f& box = *record->getBBox();
        const Points p = pointsOf(record);
        float area = 0.0f;
        for (int i = 0; i + 1 < p.n; ++i) {
            area += p.p[i][0] * p.p[i + 1][1] - p.p[i + 1][0] * p.p[i][1];
        }
        area = std::fabs(area);
        if ((box.getMax()[0] - box.getMin()[0]) * sx < 1.1f ||
            (box.getMax()[1] - box.getMin()[1]) * sy < 1.1f || area * sx * sx < 2.0f) {
            ++record->moveCount;
        }
    }
}

namespace {
// Nearest depth wins; equal depths keep the first polygon drawn (the farther in list order).
void setUpPass(const SoHLHSRGLFunctions& gl, const SbBox3f& box) {
    gl.Enable(GL_DEPTH_TEST);
    gl.DepthFunc(GL_LEQUAL);
    gl.ClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    gl.Clear(GL_COLOR_BUFFER_BIT);
    gl.Clear(GL_DEPTH_BUFFER_BIT);
    gl.Disable(GL_LIGHTING);
    gl.ShadeModel(GL_FLAT);
    gl.MatrixMode(GL_PROJECTION);
    gl.LoadIdentity();
    const SoDepthWindow depths = SoDepthWindow::of(box.getMin()[2], box.getMax()[2]);
    gl.Ortho(box.getMin()[0], box.getMax()[0], box.getMin()[1], box.getMax()[1], -depths.nearest,
             -depths.farthest);
    gl.Enable(GL_POLYGON_OFFSET_LINE);
    gl.Enable(GL_POLYGON_OFFSET_FILL);
}

// Outlines and point-style polygons are drawn as lines pulled slightly towards the viewer.
// Draws the polygons of one group of patterned fills, or (group -1) all but the patterned
// fills.
void drawPolygons(const SoHLHSRGLFunctions& gl, SoGraphicPrimitiveList& list,
                  const std::vector<int>& groupOf, int group) {
    gl.PolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    gl.PolygonOffset(1.0f, 1.0f);
    bool filling = true;
    for (int k = 0; k < list.getLength(); ++k) {
        SoGraphicPrimitive* record = list.getPrimitive(k);
        if (!isPolygon(record)) continue;
        const auto* polygon = static_cast<SoPolygon*>(record);
        if (groupOf[static_cast<size_t>(k)] != group) continue;
        if (polygon->drawStyle == 0 && !filling) {
            gl.PolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            gl.PolygonOffset(1.0f, 1.0f);
            filling = true;
        } else if (polygon->drawStyle != 0 && filling) {
            gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            gl.PolygonOffset(-1.0f, -1.0f);
            filling = false;
        }
        const auto id = static_cast<std::uint32_t>(k);
        const GLubyte rgba[4] = {GLubyte(id & 0xFFu), GLubyte((id >> 8) & 0xFFu),
                                 GLubyte((id >> 16) & 0xFFu), GLubyte((id >> 24) & 0xFFu)};
        gl.Begin(GL_POLYGON);
        gl.Color4ubv(rgba);
        for (int i = 0; i < polygon->numPoints; ++i) gl.Vertex3fv(polygon->points[i].getValue());
        gl.End();
    }
}
}  // namespace

// Every polygon is drawn in the colour of its index; each index found in the image marks
// its polygon. A patterned fill lets what lies behind it show through its gaps, so it hides
// nothing but fills through its own pattern: each group of them is drawn after the rest,
// over a cleared image and the depths of the rest alone, only to find which of them show.
// Returns the number of pixels that named a record.
int SoHLHSRPainter::renderAndCount(SoOffscreenRenderer& renderer) {
    const SbVec2s size = renderer.getViewportRegion().getViewportSizePixels();
    const int width = size[0], height = size[1];
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    if (width < 3 || height < 3 || !gl.isComplete() || !renderer.makeCurrent()) return 0;
    setUpPass(gl, list_.getBBox());
    const SoPatternGroups groups(list_);
    const std::vector<int>& groupOf = groups.getGroupOfRecords();
    drawPolygons(gl, list_, groupOf, -1);
    int hits = countShown(width, height);
    for (int group = 0; group < groups.getCount(); ++group) {
        gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        gl.ColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        drawPolygons(gl, list_, groupOf, -1);
        gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        drawPolygons(gl, list_, groupOf, group);
        hits += countShown(width, height);
    }
    return hits;
}

int SoHLHSRPainter::countShown(int width, int height) {
    const int n = list_.getLength();
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    gl.Finish();
    // The one-pixel border is left out of the reading.
    std::vector<unsigned char> pixels(static_cast<size_t>(width - 2) * (height - 2) * 4);
    gl.ReadBuffer(GL_FRONT);
    gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
    gl.ReadPixels(1, 1, width - 2, height - 2, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int hits = 0;
    for (size_t at = 0; at < pixels.size(); at += 4) {
        // The background (1, 1, 1, 0) reads 0xFFFFFF: never an index.
        const unsigned index =
            unsigned(pixels[at]) | unsigned(pixels[at + 1]) << 8 | unsigned(pixels[at + 2]) << 16;
        if (index < static_cast<unsigned>(n)) {
            ++list_.getPrimitive(static_cast<int>(index))->moveCount;
            ++hits;
        }
    }
    return hits;
}

// Marked records fill the front of the list, each unmarked one replaced by a marked one
// from the back; what is left at the back (unmarked records, moved-out slots) is dropped.
void SoHLHSRPainter::dropUnmarked() {
    const int n = list_.getLength();
    int i = 0, last = n - 1;
    while (i <= last) {
        if (!list_.getPrimitive(last)->moveCount) {
            --last;
        } else if (list_.getPrimitive(i)->moveCount) {
            ++i;
        } else {
            delete list_.getPrimitive(i);
            list_.set(i, list_.getPrimitive(last));
            list_.set(last, nullptr);
            ++i;
            --last;
        }
    }
    if (last < n - 1) list_.remove(last + 1, -1);
}
