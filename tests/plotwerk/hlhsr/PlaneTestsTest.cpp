// The geometric tests of the painter: on-page separation of outlines and points, and the
// plane-side verdicts that decide which of two records prints first.

#include "HlhsrFixture.h"

using namespace hlhsr;
using Painter = SoHLHSRPainter;

namespace {
// A square standing at z = 0.5 + slope * x.
SoPolygon* tilted(float x0, float y0, float x1, float y1, float slope, float z0 = 0.5f, int k = 0) {
    return polygon({pt(x0, y0, z0 + slope * x0), pt(x0, y1, z0 + slope * x0),
                    pt(x1, y1, z0 + slope * x1), pt(x1, y0, z0 + slope * x1)},
                   k);
}
}  // namespace

// ---- On the page ----

TEST(EdgeSeparation, PointsOutsideOrOnTheEdgeLineSeparate) {
    // Polygons run clockwise on the page, so the inside of edge a -> b is on its right.
    std::unique_ptr<SoPolygon> q(square(0, 1, 1, 2, 0));
    EXPECT_EQ(Painter::edgeSeparates(pt(0, 1, 0), pt(1, 1, 0), q.get()), 1);
    EXPECT_EQ(Painter::edgeSeparates(pt(1, 1, 0), pt(0, 1, 0), q.get()), 0);
    std::unique_ptr<SoPolygon> across(square(0, 0.5f, 1, 2, 0));
    EXPECT_EQ(Painter::edgeSeparates(pt(0, 1, 0), pt(1, 1, 0), across.get()), 0);
}

TEST(PointInPolygon, InsideOnlyStrictly) {
    std::unique_ptr<SoPolygon> p(square(0, 0, 1, 1, 0));
    EXPECT_EQ(Painter::pointInConvexPolygon(p.get(), pt(0.5f, 0.5f, 9)), 1);
    EXPECT_EQ(Painter::pointInConvexPolygon(p.get(), pt(1.0f, 0.5f, 0)), 0);
    EXPECT_EQ(Painter::pointInConvexPolygon(p.get(), pt(0.0f, 0.0f, 0)), 0);
    EXPECT_EQ(Painter::pointInConvexPolygon(p.get(), pt(1.5f, 0.5f, 0)), 0);
    std::unique_ptr<SoPolygon> two(polygon({pt(0, 0, 0), pt(1, 1, 0)}));
    EXPECT_EQ(Painter::pointInConvexPolygon(two.get(), pt(0.5f, 0.5f, 0)), 0);
}

TEST(ProjectionSeparation, NonPolygonsAreNeverOverlapping) {
    std::unique_ptr<SoPolyLine> a(segment(pt(0, 0, 0), pt(1, 1, 0)));
    std::unique_ptr<SoPolyLine> b(segment(pt(0, 1, 0), pt(1, 0, 0)));
    EXPECT_EQ(Painter::projectionsDisjoint(a.get(), b.get(), 1), 1);
}

TEST(ProjectionSeparation, BoxTestOnlyWhenNotDoneAlready) {
    std::unique_ptr<SoPolygon> p(square(0, 0, 1, 1, 0));
    std::unique_ptr<SoPolygon> far(square(2, 2, 3, 3, 0));
    EXPECT_EQ(Painter::projectionsDisjoint(p.get(), far.get(), 0), 1);
    // Without the box test the outline test must find the separation on its own.
    EXPECT_EQ(Painter::projectionsDisjoint(p.get(), far.get(), 1), 1);
}

TEST(ProjectionSeparation, OverlappingSquaresAndSharedEdges) {
    std::unique_ptr<SoPolygon> p(square(0, 0, 1, 1, 0));
    std::unique_ptr<SoPolygon> over(square(0.5f, 0.5f, 1.5f, 1.5f, 0));
    std::unique_ptr<SoPolygon> beside(square(1, 0, 2, 1, 0));
    EXPECT_EQ(Painter::projectionsDisjoint(p.get(), over.get(), 1), 0);
    EXPECT_EQ(Painter::projectionsDisjoint(p.get(), beside.get(), 1), 1);
}

TEST(ProjectionSeparation, TrianglesApartAcrossADiagonal) {
    // The boxes overlap completely; only the shared diagonal separates the two halves.
    std::unique_ptr<SoPolygon> lower(polygon({pt(0, 0, 0), pt(1, 1, 0), pt(1, 0, 0)}));
    std::unique_ptr<SoPolygon> upper(polygon({pt(0, 0, 0), pt(0, 1, 0), pt(1, 1, 0)}));
    EXPECT_EQ(Painter::projectionsDisjoint(lower.get(), upper.get(), 1), 1);
    std::unique_ptr<SoPolygon> shifted(polygon({pt(0, -0.1f, 0), pt(0, 1, 0), pt(1, 1, 0)}));
    EXPECT_EQ(Painter::projectionsDisjoint(lower.get(), shifted.get(), 1), 0);
}

TEST(ProjectionSeparation, MarkAgainstPolygonTestsThePoint) {
    std::unique_ptr<SoPolygon> p(square(0, 0, 1, 1, 0));
    std::unique_ptr<SoPolyMark> in(mark(pt(0.5f, 0.5f, 0)));
    std::unique_ptr<SoPolyMark> onEdge(mark(pt(1.0f, 0.5f, 0)));
    EXPECT_EQ(Painter::projectionsDisjoint(p.get(), in.get(), 1), 0);
    EXPECT_EQ(Painter::projectionsDisjoint(in.get(), p.get(), 1), 0);
    EXPECT_EQ(Painter::projectionsDisjoint(p.get(), onEdge.get(), 1), 1);
}

TEST(ProjectionSeparation, SegmentAgainstPolygonUsesBothOutlines) {
    std::unique_ptr<SoPolygon> p(square(0, 0, 1, 1, 0));
    std::unique_ptr<SoPolyLine> crossing(segment(pt(-1, 0.5f, 0), pt(2, 0.5f, 0)));
    std::unique_ptr<SoPolyLine> diagonalOutside(segment(pt(1.5f, 0, 0), pt(0.9f, 1.6f, 0)));
    EXPECT_EQ(Painter::projectionsDisjoint(p.get(), crossing.get(), 1), 0);
    // No edge of the square separates them: the segment's own line does.
    EXPECT_EQ(Painter::projectionsDisjoint(p.get(), diagonalOutside.get(), 1), 1);
}

// ---- In depth ----

TEST(Classify, DepthRangesApartDecideByFarDepth) {
    std::unique_ptr<SoPolyMark> near(mark(pt(0, 0, 0.2f)));
    std::unique_ptr<SoPolyMark> far(mark(pt(0, 0, 0.8f)));
    EXPECT_EQ(Painter::classify(near.get(), far.get(), 0), 1);
    EXPECT_EQ(Painter::classify(far.get(), near.get(), 0), 0);
    std::unique_ptr<SoPolygon> farSquare(square(0, 0, 1, 1, 0.8f));
    EXPECT_EQ(Painter::classify(near.get(), farSquare.get(), 1), 1);
}

TEST(Classify, NeitherPolygonDecidesByFarDepthEvenWhenOverlapping) {
    std::unique_ptr<SoPolyLine> a(segment(pt(0, 0, 0.2f), pt(1, 0, 0.6f)));
    std::unique_ptr<SoPolyLine> b(segment(pt(0, 1, 0.4f), pt(1, 1, 0.5f)));
    EXPECT_EQ(Painter::classify(a.get(), b.get(), 0), 0);
    EXPECT_EQ(Painter::classify(b.get(), a.get(), 0), 1);
}

TEST(Classify, CoplanarPolygons) {
    std::unique_ptr<SoPolygon> a(tilted(0, 0, 1, 1, 0.25f));
    std::unique_ptr<SoPolygon> b(tilted(0.5f, 0.5f, 2, 2, 0.25f));
    EXPECT_EQ(Painter::classify(a.get(), b.get(), 0), 2);
    EXPECT_EQ(Painter::classify(a.get(), b.get(), 1), 2);
}

TEST(Classify, PolygonInFrontOfAnothersPlane) {
    // B lies nearer than A's plane everywhere: A prints first (0); asked the other way, 1.
    std::unique_ptr<SoPolygon> a(tilted(0, 0, 1, 1, 0.5f, 0.5f));
    std::unique_ptr<SoPolygon> b(tilted(0, 0, 1, 1, 0.1f, 0.45f));
    EXPECT_EQ(Painter::classify(a.get(), b.get(), 0), 0);
    EXPECT_EQ(Painter::classify(b.get(), a.get(), 0), 1);
    EXPECT_EQ(Painter::classify(a.get(), b.get(), 1), 0);
    EXPECT_EQ(Painter::classify(b.get(), a.get(), 1), 1);
}

TEST(Classify, CrossingPlanesInterpenetrate) {
    std::unique_ptr<SoPolygon> a(tilted(-1, -1, 1, 1, 0.25f));
    std::unique_ptr<SoPolygon> b(tilted(-1, -1, 1, 1, -0.25f));
    EXPECT_EQ(Painter::classify(a.get(), b.get(), 0), 3);
    EXPECT_EQ(Painter::classify(a.get(), b.get(), 1), 3);
}

TEST(Classify, StrictModeTakesEitherVerdictWithinTheTolerance) {
    // B dips 0.00005 behind A's plane at one corner: within tolerance, strictly too.
    std::unique_ptr<SoPolygon> a(square(0, 0, 1, 1, 0.5f));
    std::unique_ptr<SoPolygon> b(
        polygon({pt(0, 0, 0.3f), pt(0, 1, 0.3f), pt(1, 1, 0.3f), pt(1, 0, 0.50005f)}));
    EXPECT_EQ(Painter::classify(a.get(), b.get(), 0), 0);
    EXPECT_EQ(Painter::classify(a.get(), b.get(), 1), 0);
    // A V open towards the viewer: each half lies behind the other's plane.
    std::unique_ptr<SoPolygon> left(tilted(-1, 0, -0.1f, 1, -0.5f));
    std::unique_ptr<SoPolygon> right(tilted(0.1f, 0, 1, 1, 0.5f));
    EXPECT_EQ(Painter::classify(left.get(), right.get(), 1), 3);
}

TEST(Classify, SegmentAgainstPolygon) {
    std::unique_ptr<SoPolygon> g(square(0, 0, 1, 1, 0.5f));
    std::unique_ptr<SoPolyLine> front(segment(pt(0, 0, 0.2f), pt(1, 1, 0.5f)));
    std::unique_ptr<SoPolyLine> behind(segment(pt(0, 0, 0.6f), pt(1, 1, 0.5f)));
    std::unique_ptr<SoPolyLine> through(segment(pt(0, 0, 0.4f), pt(1, 1, 0.6f)));
    std::unique_ptr<SoPolyLine> on(segment(pt(0, 0, 0.5f), pt(1, 1, 0.5f)));
    EXPECT_EQ(Painter::classify(g.get(), front.get(), 0), 0);
    EXPECT_EQ(Painter::classify(front.get(), g.get(), 0), 1);
    EXPECT_EQ(Painter::classify(g.get(), behind.get(), 0), 1);
    EXPECT_EQ(Painter::classify(behind.get(), g.get(), 0), 0);
    EXPECT_EQ(Painter::classify(g.get(), through.get(), 0), 3);
    EXPECT_EQ(Painter::classify(g.get(), on.get(), 0), 0);
    EXPECT_EQ(Painter::classify(on.get(), g.get(), 0), 1);
}
