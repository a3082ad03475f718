// The geometric tests of the painter: on-page separation of outlines and points, and the
// plane-side verdicts that decide which of two records prints first.

#include <random>

#include "PairCheck.h"

using namespace hlhsr;
using Painter = SoHLHSRPainter;

namespace {

// A square standing at z = z0 + slope * x.
SoPolygon* tilted(float x0, float y0, float x1, float y1, float slope, float z0 = 0.5f) {
    return polygon({pt(x0, y0, z0 + slope * x0), pt(x0, y1, z0 + slope * x0),
                    pt(x1, y1, z0 + slope * x1), pt(x1, y0, z0 + slope * x1)});
}

}  // namespace

TEST(ProjectionSeparation, RandomTrianglesAreApartExactlyWhenTheirOutlinesDoNotOverlap) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> at(-1.0f, 1.0f);
    auto triangle = [&] {
        return polygon({pt(at(random), at(random), at(random)),
                        pt(at(random), at(random), at(random)),
                        pt(at(random), at(random), at(random))});
    };
    int apart = 0, overlapping = 0;
    for (int round = 0; round < 400; ++round) {
        std::unique_ptr<SoPolygon> p(triangle()), q(triangle());
        const Outline o = overlap(outlineOf(*q), outlineOf(*p));
        const double area = o.size() < 3 ? 0.0 : twiceArea(o) / 2;
        if (area > 0.0 && area < 1e-6) continue;  // within the painter's sliver
        const int expected = area > 0.0 ? 0 : 1;
        SCOPED_TRACE(testing::Message() << "round " << round << ", overlap " << area);
        EXPECT_EQ(Painter::projectionsDisjoint(p.get(), q.get(), 0), expected);
        EXPECT_EQ(Painter::projectionsDisjoint(q.get(), p.get(), 1), expected);
        ++(expected ? apart : overlapping);
    }
    EXPECT_GT(apart, 50);
    EXPECT_GT(overlapping, 50);
}

TEST(ProjectionSeparation, EdgesPointsAndSegments) {
    std::unique_ptr<SoPolygon> unit(square(0, 0, 1, 1, 0));
    std::unique_ptr<SoPolygon> beside(square(1, 0, 2, 1, 0));
    std::unique_ptr<SoPolygon> lower(polygon({pt(0, 0, 0), pt(1, 1, 0), pt(1, 0, 0)}));
    std::unique_ptr<SoPolygon> upper(polygon({pt(0, 0, 0), pt(0, 1, 0), pt(1, 1, 0)}));
    std::unique_ptr<SoPolygon> twoPoints(polygon({pt(0, 0, 0), pt(1, 1, 0)}));
    std::unique_ptr<SoPolyMark> in(mark(pt(0.5f, 0.5f, 0)));
    std::unique_ptr<SoPolyMark> onEdge(mark(pt(1.0f, 0.5f, 0)));
    std::unique_ptr<SoPolyLine> crossing(segment(pt(-1, 0.5f, 0), pt(2, 0.5f, 0)));
    std::unique_ptr<SoPolyLine> across(segment(pt(0, 1, 0), pt(1, 0, 0)));
    // No edge of the square separates it from this one: the segment's own line does.
    std::unique_ptr<SoPolyLine> outside(segment(pt(1.5f, 0, 0), pt(0.9f, 1.6f, 0)));
    const struct {
        const char* what;
        SoGraphicPrimitive *p, *q;
        int disjoint;
    } cases[] = {
        {"squares sharing an edge", unit.get(), beside.get(), 1},
        {"triangles sharing a diagonal", lower.get(), upper.get(), 1},
        {"mark inside", unit.get(), in.get(), 0},
        {"mark on an edge", unit.get(), onEdge.get(), 1},
        {"mark and a polygon of two points", twoPoints.get(), in.get(), 1},
        {"segment crossing", unit.get(), crossing.get(), 0},
        {"segment outside", unit.get(), outside.get(), 1},
        {"two crossing segments are never compared", crossing.get(), across.get(), 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Painter::projectionsDisjoint(c.p, c.q, 1), c.disjoint) << c.what;
        EXPECT_EQ(Painter::projectionsDisjoint(c.q, c.p, 1), c.disjoint) << c.what;
    }
    EXPECT_EQ(Painter::edgeSeparates(pt(2, 2, 0), pt(2, 2, 0), unit.get()), 0)
        << "an edge without length separates nothing";
}

TEST(Classify, VerdictsFromDepthRangesAndPlanes) {
    std::unique_ptr<SoPolyMark> nearMark(mark(pt(0, 0, 0.2f))), farMark(mark(pt(0, 0, 0.8f)));
    std::unique_ptr<SoPolyLine> low(segment(pt(0, 0, 0.2f), pt(1, 0, 0.6f)));
    std::unique_ptr<SoPolyLine> high(segment(pt(0, 1, 0.4f), pt(1, 1, 0.5f)));
    std::unique_ptr<SoPolygon> planeA(tilted(0, 0, 1, 1, 0.25f));
    std::unique_ptr<SoPolygon> planeB(tilted(0.5f, 0.5f, 2, 2, 0.25f));
    std::unique_ptr<SoPolygon> steep(tilted(0, 0, 1, 1, 0.5f, 0.5f));
    std::unique_ptr<SoPolygon> inFront(tilted(0, 0, 1, 1, 0.1f, 0.45f));
    std::unique_ptr<SoPolygon> up(tilted(-1, -1, 1, 1, 0.25f)), down(tilted(-1, -1, 1, 1, -0.25f));
    std::unique_ptr<SoPolygon> flat(square(0, 0, 1, 1, 0.5f));
    // Dips 0.00005 behind the flat square's plane at one corner: within the tolerance.
    std::unique_ptr<SoPolygon> dipping(
        polygon({pt(0, 0, 0.3f), pt(0, 1, 0.3f), pt(1, 1, 0.3f), pt(1, 0, 0.50005f)}));
    // A V open towards the viewer: each half lies behind the other's plane.
    std::unique_ptr<SoPolygon> left(tilted(-1, 0, -0.1f, 1, -0.5f));
    std::unique_ptr<SoPolygon> right(tilted(0.1f, 0, 1, 1, 0.5f));
    std::unique_ptr<SoPolyLine> front(segment(pt(0, 0, 0.2f), pt(1, 1, 0.5f)));
    std::unique_ptr<SoPolyLine> behind(segment(pt(0, 0, 0.6f), pt(1, 1, 0.5f)));
    std::unique_ptr<SoPolyLine> through(segment(pt(0, 0, 0.4f), pt(1, 1, 0.6f)));
    std::unique_ptr<SoPolyLine> on(segment(pt(0, 0, 0.5f), pt(1, 1, 0.5f)));
    // 0: A prints first, 1: B first, 2: coplanar, 3: interpenetrating; asked the other way
    // round, the first two swap.
    const struct {
        const char* what;
        SoGraphicPrimitive *a, *b;
        int strict, verdict;
    } cases[] = {
        {"depths apart, farther first", farMark.get(), nearMark.get(), 0, 0},
        {"no polygon: far depth decides", low.get(), high.get(), 0, 0},
        {"coplanar", planeA.get(), planeB.get(), 0, 2},
        {"coplanar, strict", planeA.get(), planeB.get(), 1, 2},
        {"B in front of A's plane", steep.get(), inFront.get(), 0, 0},
        {"B in front, strict", steep.get(), inFront.get(), 1, 0},
        {"crossing planes", up.get(), down.get(), 0, 3},
        {"crossing planes, strict", up.get(), down.get(), 1, 3},
        {"within the tolerance", flat.get(), dipping.get(), 0, 0},
        {"within the tolerance, strict", flat.get(), dipping.get(), 1, 0},
        {"V open to the viewer, strict", left.get(), right.get(), 1, 3},
        {"segment in front", flat.get(), front.get(), 0, 0},
        {"segment behind", flat.get(), behind.get(), 0, 1},
        {"segment through", flat.get(), through.get(), 0, 3},
        {"segment on the plane", flat.get(), on.get(), 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Painter::classify(c.a, c.b, c.strict), c.verdict) << c.what;
        EXPECT_EQ(Painter::classify(c.b, c.a, c.strict), c.verdict < 2 ? 1 - c.verdict : c.verdict)
            << c.what << ", asked the other way round";
    }
}
