// Cutting a polygon or a segment by another polygon's plane: which pieces, which points,
// which colours, and when nothing is cut.

#include "HlhsrFixture.h"

using namespace hlhsr;

namespace {

const SbColor A(0.1f, 0.2f, 0.3f), B(0.4f, 0.5f, 0.6f), C(0.7f, 0.8f, 0.9f), D(1, 0, 1);

/// The plane x = 0.5 (unit normal +x): its positive side is x > 0.5.
SoPolygon* cutterAtHalf() {
    return polygon({pt(0.5f, -1, 0), pt(0.5f, 2, 0), pt(0.5f, 2, 3)});
}

std::vector<SbVec4f> pointsOf(SoGraphicPrimitive* record) {
    std::vector<SbVec4f> points;
    for (int i = 0; i < record->getNumPoints(); ++i) points.push_back(*record->getPoint(i));
    return points;
}

void expectNear(const std::vector<SbVec4f>& actual, const std::vector<SbVec4f>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t k = 0; k < actual.size(); ++k) {
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual[k][c], expected[k][c], 1e-6f) << k;
    }
}

}  // namespace

TEST(PolygonSplit, CutterPlaneIsUnitAndUnreversed) {
    std::unique_ptr<SoPolygon> cutter(cutterAtHalf());
    EXPECT_EQ(cutter->normal, SbVec3f(1, 0, 0));
}

TEST(PolygonSplit, SquareCutInTwoWithTheCrossingPointsOnBothSides) {
    std::unique_ptr<SoPolygon> cutter(cutterAtHalf());
    auto* square = new SoPolygon;
    const std::vector<SbVec4f> corners = {pt(0, 0, 1), pt(0, 1, 1), pt(1, 1, 1), pt(1, 0, 1)};
    const SbColor colors[4] = {A, B, C, D};
    square->set(4, corners.data(), colors, 1, 2.0f, 3.0f, 0x00FF, 4, 0, SbString("s1"),
                SbString("s2"), nullptr, 0.0f, 1.5f, 2.5f);
    std::unique_ptr<SoPolygon> p(square);
    SoPolygon *front = nullptr, *back = nullptr;
    ASSERT_EQ(p->split(*cutter, front, back), 1);
    std::unique_ptr<SoPolygon> f(front), b(back);
    EXPECT_EQ(pointsOf(f.get()),
              (std::vector<SbVec4f>{pt(0.5f, 1, 1), pt(1, 1, 1), pt(1, 0, 1), pt(0.5f, 0, 1)}));
    EXPECT_EQ(pointsOf(b.get()),
              (std::vector<SbVec4f>{pt(0, 0, 1), pt(0, 1, 1), pt(0.5f, 1, 1), pt(0.5f, 0, 1)}));
    // Colours are the split polygon's, index by index, the last one the first's.
    for (SoPolygon* piece : {f.get(), b.get()}) {
        EXPECT_EQ(*piece->getColor(0), A);
        EXPECT_EQ(*piece->getColor(1), B);
        EXPECT_EQ(*piece->getColor(2), C);
        EXPECT_EQ(*piece->getColor(3), A);
        EXPECT_EQ(piece->multicolor, 1);
        EXPECT_EQ(piece->lineWidth, 2.0f);
        EXPECT_EQ(piece->markerSize, 3.0f);
        EXPECT_EQ(piece->linePattern, 0x00FF);
        EXPECT_EQ(piece->linePatternScaleFactor, 4);
        EXPECT_EQ(piece->string1, SbString("s1"));
        EXPECT_EQ(piece->offsetFactor, 0.0f);
        EXPECT_EQ(piece->offsetUnits, 0.0f);
        EXPECT_EQ(piece->normal, SbVec3f(0, 0, -1));
    }
}

TEST(PolygonSplit, TriangleGivesATriangleAndAQuadrilateral) {
    std::unique_ptr<SoPolygon> cutter(cutterAtHalf());
    std::unique_ptr<SoPolygon> p(polygon({pt(0, 0, 0.5f), pt(0, 1, 0.5f), pt(1, 0, 0.5f)}));
    SoPolygon *front = nullptr, *back = nullptr;
    ASSERT_EQ(p->split(*cutter, front, back), 1);
    std::unique_ptr<SoPolygon> f(front), b(back);
    // The slanted edge's cut point goes through a normalised direction: near, not exact.
    expectNear(pointsOf(f.get()), {pt(0.5f, 0.5f, 0.5f), pt(1, 0, 0.5f), pt(0.5f, 0, 0.5f)});
    expectNear(pointsOf(b.get()),
               {pt(0, 0, 0.5f), pt(0, 1, 0.5f), pt(0.5f, 0.5f, 0.5f), pt(0.5f, 0, 0.5f)});
}

TEST(PolygonSplit, APolygonOnOneSideIsNotCut) {
    std::unique_ptr<SoPolygon> cutter(cutterAtHalf());
    std::unique_ptr<SoPolygon> p(square(0.6f, 0, 1, 1, 0.5f));
    SoPolygon *front = nullptr, *back = nullptr;
    EXPECT_EQ(p->split(*cutter, front, back), 0);
    EXPECT_EQ(front, nullptr);
    EXPECT_EQ(back, nullptr);
}

TEST(PolygonSplit, TouchingAtAVertexIsNotCut) {
    // The vertex on the plane counts as a crossing for both its edges; two crossings and
    // a one-point side, or three crossings, leave the polygon whole.
    std::unique_ptr<SoPolygon> cutter(cutterAtHalf());
    std::unique_ptr<SoPolygon> touching(polygon({pt(0, 0, 1), pt(0, 1, 1), pt(0.5f, 0.5f, 1)}));
    std::unique_ptr<SoPolygon> through(polygon({pt(0, 0, 1), pt(0.5f, 1, 1), pt(1, 0, 1)}));
    SoPolygon *front = nullptr, *back = nullptr;
    EXPECT_EQ(touching->split(*cutter, front, back), 0);
    EXPECT_EQ(through->split(*cutter, front, back), 0);
}

TEST(PolygonSplit, EdgeAlongThePlaneFailsTheCut) {
    // An edge crossing the plane almost along it gives no usable cut point.
    std::unique_ptr<SoPolygon> cutter(square(0, 0, 1, 1, 0));
    std::unique_ptr<SoPolygon> p(polygon(
        {pt(0, 0, -0.00001f), pt(0, 1, -0.00001f), pt(1, 1, 0.00001f), pt(1, 0, 0.00001f)}));
    SoPolygon *front = nullptr, *back = nullptr;
    EXPECT_EQ(p->split(*cutter, front, back), 0);
}

TEST(SegmentSplit, CutWhereTheSegmentMeetsThePlane) {
    std::unique_ptr<SoPolygon> cutter(cutterAtHalf());
    const SbVec4f points[2] = {pt(0, 0, 1), pt(1, 0, 2)};
    const SbColor colors[2] = {A, B};
    SoPolyLine line;
    line.set(2, points, colors, 1, 2.0f, 0xF0F0, 3, 0.0f);
    SoPolyLine *front = nullptr, *back = nullptr;
    ASSERT_EQ(line.split(*cutter, front, back), 1);
    std::unique_ptr<SoPolyLine> f(front), b(back);
    // p0 is behind the plane: the front piece runs from p1.
    EXPECT_EQ(pointsOf(f.get()), (std::vector<SbVec4f>{pt(1, 0, 2), pt(0.5f, 0, 1.5f)}));
    EXPECT_EQ(pointsOf(b.get()), (std::vector<SbVec4f>{pt(0, 0, 1), pt(0.5f, 0, 1.5f)}));
    for (SoPolyLine* piece : {f.get(), b.get()}) {
        EXPECT_EQ(*piece->getColor(0), A);
        EXPECT_EQ(*piece->getColor(1), B);
        EXPECT_EQ(piece->lineWidth, 2.0f);
        EXPECT_EQ(piece->linePattern, 0xF0F0);
        EXPECT_EQ(piece->linePatternScaleFactor, 3);
        EXPECT_EQ(piece->multicolor, 1);
    }
}

TEST(SegmentSplit, FirstPointInFrontLeadsTheFrontPiece) {
    std::unique_ptr<SoPolygon> cutter(cutterAtHalf());
    std::unique_ptr<SoPolyLine> line(segment(pt(1, 0, 0), pt(0, 0, 0)));
    SoPolyLine *front = nullptr, *back = nullptr;
    ASSERT_EQ(line->split(*cutter, front, back), 1);
    std::unique_ptr<SoPolyLine> f(front), b(back);
    EXPECT_EQ(pointsOf(f.get()), (std::vector<SbVec4f>{pt(1, 0, 0), pt(0.5f, 0, 0)}));
    EXPECT_EQ(pointsOf(b.get()), (std::vector<SbVec4f>{pt(0, 0, 0), pt(0.5f, 0, 0)}));
}

TEST(SegmentSplit, ParallelSegmentIsNotCut) {
    std::unique_ptr<SoPolygon> cutter(cutterAtHalf());
    std::unique_ptr<SoPolyLine> line(segment(pt(0, 0, 1), pt(0, 1, 1)));
    SoPolyLine *front = nullptr, *back = nullptr;
    EXPECT_EQ(line->split(*cutter, front, back), 0);
    EXPECT_EQ(front, nullptr);
}
