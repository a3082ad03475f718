// Cutting a polygon or a segment by another polygon's plane: which pieces, which points,
// which colours, and when nothing is cut.

#include "HlhsrFixture.h"

using namespace hlhsr;

namespace {

const SbColor A(0.1f, 0.2f, 0.3f), B(0.4f, 0.5f, 0.6f);

/// The plane x = 0.5: its positive side (x > 0.5) is the front one.
SoPolygon* cutterAtHalf() {
    return polygon({pt(0.5f, -1, 0), pt(0.5f, 2, 0), pt(0.5f, 2, 3)});
}

std::vector<SbVec4f> pointsOf(SoGraphicPrimitive* record) {
    std::vector<SbVec4f> points;
    for (int i = 0; i < record->getNumPoints(); ++i) points.push_back(*record->getPoint(i));
    return points;
}

SbVec3f xyz(const SbVec4f& p) {
    return SbVec3f(p[0], p[1], p[2]);
}

/// The area of a flat polygon in space.
double area(const std::vector<SbVec4f>& points) {
    SbVec3f sum(0, 0, 0);
    for (size_t k = 1; k + 1 < points.size(); ++k)
        sum += (xyz(points[k]) - xyz(points[0])).cross(xyz(points[k + 1]) - xyz(points[0]));
    return sum.length() / 2.0;
}

}  // namespace

TEST(PolygonSplit, RandomPiecesLieOnTheirSidesAndMakeUpThePolygon) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    int cuts = 0;
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const RandomConvex shape = randomConvex(random);
        const std::vector<SbColor> colors(shape.corners.size(), A);
        auto p = std::make_unique<SoPolygon>();
        p->set(static_cast<int>(colors.size()), shape.corners.data(), colors.data(), 1, 2.0f, 3.0f,
               0x00FF, 4, 1, SbString("s1"), SbString("s2"), nullptr, 0.0f, 1.5f, 2.5f);
        p->id = round;
        std::vector<SbVec4f> through;
        for (int k = 0; k < 3; ++k) through.push_back(pt(unit(random), unit(random), unit(random)));
        std::unique_ptr<SoPolygon> cutter(polygon(through));
        // The front side, seen independently: towards the viewer, at smaller depths.
        SbVec3f n = (xyz(through[1]) - xyz(through[0])).cross(xyz(through[2]) - xyz(through[0]));
        n.normalize();
        if (n[2] > 0) n.negate();
        auto side = [&](const SbVec4f& q) { return n.dot(xyz(q) - xyz(through[0])); };
        float lo = HUGE_VALF, hi = -HUGE_VALF;
        for (const SbVec4f& q : shape.corners) {
            lo = std::min(lo, side(q));
            hi = std::max(hi, side(q));
        }
        SoPolygon *front = nullptr, *back = nullptr;
        const int made = p->split(*cutter, front, back);
        std::unique_ptr<SoPolygon> f(front), b(back);
        if (lo > 1e-4f || hi < -1e-4f) {
            EXPECT_EQ(made, 0) << "wholly on one side";
        }
        if (lo > -1e-3f || hi < 1e-3f) continue;
        ASSERT_EQ(made, 1);
        ++cuts;
        for (const SbVec4f& q : pointsOf(f.get())) {
            EXPECT_GT(side(q), -1e-5f);
        }
        for (const SbVec4f& q : pointsOf(b.get())) {
            EXPECT_LT(side(q), 1e-5f);
        }
        EXPECT_NEAR(area(pointsOf(f.get())) + area(pointsOf(b.get())), area(shape.corners), 1e-5);
        // The pieces print as the polygon would; the offset of its capture is not theirs.
        for (SoPolygon* piece : {f.get(), b.get()}) {
            EXPECT_EQ(piece->id, round);
            EXPECT_EQ(*piece->getColor(piece->numPoints - 1), A);
            EXPECT_EQ(piece->multicolor, 1);
            EXPECT_EQ(piece->lineWidth, 2.0f);
            EXPECT_EQ(piece->markerSize, 3.0f);
            EXPECT_EQ(piece->linePattern, 0x00FF);
            EXPECT_EQ(piece->linePatternScaleFactor, 4);
            EXPECT_EQ(piece->drawStyle, 1);
            EXPECT_EQ(piece->string2, SbString("s2"));
            EXPECT_EQ(piece->offsetUnits, 0.0f);
        }
    }
    EXPECT_GT(cuts, 50);
}

TEST(PolygonSplit, WhatIsNotCut) {
    std::unique_ptr<SoPolygon> atHalf(cutterAtHalf());
    std::unique_ptr<SoPolygon> flat(square(0, 0, 1, 1, 0));
    // A vertex on the plane counts as a crossing for both its edges: two crossings and a
    // one-point side, or three crossings, leave the polygon whole.
    const struct {
        const char* what;
        SoPolygon* cutter;
        std::vector<SbVec4f> points;
    } cases[] = {
        {"on one side", atHalf.get(), {pt(0.6f, 0, 0), pt(0.6f, 1, 0), pt(1, 1, 0)}},
        {"touching at a vertex", atHalf.get(), {pt(0, 0, 1), pt(0, 1, 1), pt(0.5f, 0.5f, 1)}},
        {"through a vertex", atHalf.get(), {pt(0, 0, 1), pt(0.5f, 1, 1), pt(1, 0, 1)}},
        // An edge crossing the plane almost along it gives no usable cut point.
        {"edge along the plane",
         flat.get(),
         {pt(0, 0, -1e-5f), pt(0, 1, -1e-5f), pt(1, 1, 1e-5f), pt(1, 0, 1e-5f)}},
    };
    for (const auto& c : cases) {
        std::unique_ptr<SoPolygon> p(polygon(c.points));
        SoPolygon *front = nullptr, *back = nullptr;
        EXPECT_EQ(p->split(*c.cutter, front, back), 0) << c.what;
        EXPECT_EQ(front, nullptr) << c.what;
        EXPECT_EQ(back, nullptr) << c.what;
    }
}

TEST(SegmentSplit, CutWhereTheSegmentMeetsThePlane) {
    std::unique_ptr<SoPolygon> cutter(cutterAtHalf());
    const SbVec4f behind = pt(0, 0, 1), inFront = pt(1, 0, 2), cut = pt(0.5f, 0, 1.5f);
    for (bool frontFirst : {false, true}) {
        const SbVec4f points[2] = {frontFirst ? inFront : behind, frontFirst ? behind : inFront};
        const SbColor colors[2] = {A, B};
        SoPolyLine line;
        line.set(2, points, colors, 1, 2.0f, 0xF0F0, 3, 0.0f);
        SoPolyLine *front = nullptr, *back = nullptr;
        ASSERT_EQ(line.split(*cutter, front, back), 1);
        std::unique_ptr<SoPolyLine> f(front), b(back);
        EXPECT_EQ(pointsOf(f.get()), (std::vector<SbVec4f>{inFront, cut})) << frontFirst;
        EXPECT_EQ(pointsOf(b.get()), (std::vector<SbVec4f>{behind, cut})) << frontFirst;
        for (SoPolyLine* piece : {f.get(), b.get()}) {
            EXPECT_EQ(*piece->getColor(0), A);
            EXPECT_EQ(*piece->getColor(1), B);
            EXPECT_EQ(piece->lineWidth, 2.0f);
            EXPECT_EQ(piece->linePattern, 0xF0F0);
            EXPECT_EQ(piece->linePatternScaleFactor, 3);
        }
    }
    std::unique_ptr<SoPolyLine> parallel(segment(pt(0, 0, 1), pt(0, 1, 1)));
    SoPolyLine *front = nullptr, *back = nullptr;
    EXPECT_EQ(parallel->split(*cutter, front, back), 0);
    EXPECT_EQ(front, nullptr);
}
