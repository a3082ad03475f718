// The records the painter orders: the vertex order, colours and normal a polygon keeps, how a
// polygon or a segment is cut by another polygon's plane, and the list that owns the records,
// clamps the ranges it removes, sorts them by depth and drops the copies later ones hide.

#include <algorithm>
#include <cmath>
#include <random>

#include "../../../libPlotWerk/src/hlhsr/SoCoveredCopies.h"
#include "PairCheck.h"

using namespace hlhsr;

namespace {

const SbColor A(0.1f, 0.2f, 0.3f), B(0.4f, 0.5f, 0.6f);

/// A polygon of the given points and colours, with attributes of its own and offsets of its
/// capture.
SoPolygon* shaded(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors) {
    auto* p = new SoPolygon;
    p->set(static_cast<int>(points.size()), points.data(), colors.data(), 1, 2.0f, 3.0f, 0x00FF, 4,
           1, SbString("s1"), SbString("s2"), nullptr, 0.0f, 1.5f, 2.5f);
    return p;
}

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

/// A mark that counts its own destruction.
class CountedMark : public SoPolyMark {
  public:
    CountedMark(int* deletions, int k) : deletions(deletions) {
        const SbVec4f p = pt(0, 0, 0);
        const SbColor c = tag(k);
        set(1, &p, &c, 0, 1.0f, nullptr, 0.0f);
    }
    ~CountedMark() override { ++*deletions; }

  private:
    int* deletions;
};

}  // namespace

// The corners turn either way round and some polygons repeat their first corner at the end.
TEST(PolygonRecord, FacesTheViewerWithItsUnitNormalAndColoursFollowTheirPoints) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        RandomConvex shape = randomConvex(random);
        const bool closed = round % 3 == 0;
        if (closed) shape.corners.push_back(shape.corners[0]);
        const int n = static_cast<int>(shape.corners.size());
        std::vector<SbColor> colors;
        for (int k = 0; k < n; ++k) colors.push_back(tag(k));
        std::unique_ptr<SoPolygon> p(shaded(shape.corners, colors));
        // z = a x + b y + c: the viewer, at smaller depths, sees the side of (a, b, -1).
        SbVec3f expected(shape.a, shape.b, -1.0f);
        expected.normalize();
        SCOPED_TRACE(testing::Message() << "round " << round);
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(p->normal[c], expected[c], 1e-5f);
        }
        ASSERT_EQ(p->numPoints, n);
        EXPECT_EQ(*p->getPoint(0), shape.corners[0]);
        EXPECT_TRUE(!closed || *p->getPoint(n - 1) == shape.corners[0]) << "closing point last";
        Outline page;
        for (int k = 0; k < n; ++k) page.push_back({p->points[k][0], p->points[k][1]});
        EXPECT_LT(twiceArea(page), 0.0) << "clockwise on the page";
        // From four points on, the last point takes the first one's colour before anything else.
        for (int k = 0; k < n; ++k) {
            const int j = static_cast<int>(
                std::find(shape.corners.begin(), shape.corners.end(), *p->getPoint(k)) -
                shape.corners.begin());
            EXPECT_EQ(*p->getColor(k), tag(n >= 4 && j == n - 1 ? 0 : j)) << "point " << k;
        }
    }
    std::unique_ptr<SoPolygon> line(polygon({pt(0, 0, 0), pt(1, 0, 1)}));
    EXPECT_EQ(line->normal, SbVec3f(0, 0, 0)) << "two points span no plane";
}

TEST(PolygonSplit, RandomPiecesLieOnTheirSidesAndMakeUpThePolygon) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    int cuts = 0;
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const RandomConvex shape = randomConvex(random);
        const std::vector<SbColor> colors(shape.corners.size(), A);
        std::unique_ptr<SoPolygon> p(shaded(shape.corners, colors));
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
        // A segment across the plane is cut where it meets it, both pieces running its way
        // and its pattern running on from the one into the other.
        const SbVec4f ends[2] = {pt(unit(random), unit(random), unit(random)),
                                 pt(unit(random), unit(random), unit(random))};
        if (side(ends[0]) * side(ends[1]) < -1e-4f) {
            const SbColor colors[2] = {A, B};
            SoPolyLine line;
            line.set(2, ends, colors, 1, 2.0f, 0xF0F0, 3, 0.0f);
            line.patternPhase = unit(random) + 1.0f;
            line.patternLength = unit(random) + 1.0f;
            SoPolyLine *front = nullptr, *back = nullptr;
            ASSERT_EQ(line.split(*cutter, front, back), 1);
            std::unique_ptr<SoPolyLine> f(front), b(back);
            const bool firstInFront = side(ends[0]) > 0;
            const SoPolyLine& first = firstInFront ? *f : *b;
            const SoPolyLine& second = firstInFront ? *b : *f;
            EXPECT_EQ(first.points[0], ends[0]);
            EXPECT_EQ(second.points[1], ends[1]);
            EXPECT_EQ(first.points[1], second.points[0]);
            EXPECT_NEAR(side(first.points[1]), 0.0f, 1e-5f);
            EXPECT_EQ(first.colors[0], A) << "the end keeps its colour";
            EXPECT_EQ(first.patternPhase, line.patternPhase);
            EXPECT_FLOAT_EQ(second.patternPhase, first.patternPhase + first.patternLength);
            EXPECT_NEAR(first.patternLength + second.patternLength, line.patternLength, 1e-5f);
            for (SoPolyLine* piece : {f.get(), b.get()}) {
                EXPECT_EQ(piece->lineWidth, 2.0f);
                EXPECT_EQ(piece->linePattern, 0xF0F0);
                EXPECT_EQ(piece->linePatternScaleFactor, 3);
            }
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

TEST(SegmentSplit, ASegmentAlongThePlaneIsNotCut) {
    std::unique_ptr<SoPolygon> cutter(cutterAtHalf());
    std::unique_ptr<SoPolyLine> parallel(segment(pt(0, 0, 1), pt(0, 1, 1)));
    SoPolyLine *front = nullptr, *back = nullptr;
    EXPECT_EQ(parallel->split(*cutter, front, back), 0);
    EXPECT_EQ(front, nullptr);
}

// A range is clamped to the list; what it takes out is deleted, the rest with the list.
TEST(RecordList, RemovalDeletesExactlyTheClampedRange) {
    const struct {
        int start, n;
        std::vector<int> left;
    } cases[] = {
        {1, 2, {0, 3, 4, 5}}, {0, 2, {2, 3, 4, 5}},        {4, -1, {0, 1, 2, 3}},
        {3, 10, {0, 1, 2}},   {-1, 1, {0, 1, 2, 3, 4, 5}}, {6, 1, {0, 1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        int deletions = 0;
        {
            SoGraphicPrimitiveList list;
            for (int k = 0; k < 6; ++k) list.add(new CountedMark(&deletions, k));
            list.remove(c.start, c.n);
            EXPECT_EQ(tagsOf(list), c.left) << "remove(" << c.start << ", " << c.n << ")";
            EXPECT_EQ(deletions, 6 - static_cast<int>(c.left.size()));
            EXPECT_EQ(list.getPrimitive(list.getLength()), nullptr);
            list.removeAt(0);
            EXPECT_EQ(deletions, 7 - static_cast<int>(c.left.size()));
        }
        EXPECT_EQ(deletions, 6);
    }
}

TEST(RecordList, SortFromAnIndexIsAStableSortFarthestFirst) {
    // Few distinct depths: many ties, pieces of one record sharing its id, and depths that are
    // not a number, which sort as the nearest.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> depth(0, 20);
    for (int round = 0; round < 40; ++round) {
        SoGraphicPrimitiveList list;
        std::vector<std::pair<float, SoGraphicPrimitive*>> expected;
        const int n = 1 + round * 9;
        for (int k = 0; k < n; ++k) {
            const int d = depth(random);
            const float z = d == 20 ? std::nanf("") : d / 20.0f;
            list.add(mark(pt(0, 0, z)));
            list.getPrimitive(k)->id = k / 2;
            expected.emplace_back(d == 20 ? -1.0f : z, list.getPrimitive(k));
        }
        const int from = std::uniform_int_distribution<int>(0, n)(random);
        list.sort(from);
        std::stable_sort(expected.begin() + from, expected.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (int k = 0; k < n; ++k) ASSERT_EQ(list.getPrimitive(k), expected[k].second) << k;
    }
}

// What a later record with the same points hides of an earlier one, with others between.
TEST(RecordList, ALaterCopyTakesOutOnlyWhatItHidesCompletely) {
    static const unsigned char hatch[128] = {0x55};
    const SbVec4f a = pt(0, 0, 0.5f), b = pt(1, 0, 0.5f), c = pt(0, 1, 0.5f);
    // A fill, hatched, or an outline or segment of a width with its pattern.
    const auto make = [&](char kind, float width, unsigned short pattern, int k) {
        auto* p =
            kind == 's' ? nullptr : polygon({a, b, kind == 'm' ? pt(0, 1, 0.5000001f) : c}, k);
        if (kind == 'h') p->pattern = hatch;
        if (kind == 'o') p->drawStyle = 1, p->lineWidth = width, p->linePattern = pattern;
        if (p) return static_cast<SoPrimitiveMultiPoints*>(p);
        SoPolyLine* s = width < 0 ? segment(b, a, k) : segment(a, b, k);
        s->lineWidth = std::abs(width), s->linePattern = pattern;
        return static_cast<SoPrimitiveMultiPoints*>(s);
    };
    const struct {
        char earlier, later;
        float earlierWidth, laterWidth;
        unsigned short laterPattern;
        bool hidden;
    } cases[] = {
        {'f', 'f', 0, 0, 0xFFFF, true},  {'h', 'f', 0, 0, 0xFFFF, true},
        {'f', 'h', 0, 0, 0xFFFF, false}, {'f', 'o', 0, 9, 0xFFFF, false},
        {'o', 'o', 2, 2, 0xFFFF, true},  {'o', 'o', 3, 2, 0xFFFF, false},
        {'o', 'o', 2, 2, 0x0F0F, false}, {'o', 'f', 2, 0, 0xFFFF, false},
        {'s', 's', 2, 2, 0xFFFF, true},  {'s', 's', 2, -2, 0xFFFF, false},
        {'s', 's', 2, 2, 0x0F0F, false}, {'f', 'm', 0, 0, 0xFFFF, false},
    };
    for (const auto& t : cases) {
        SoGraphicPrimitiveList list;
        list.add(make(t.earlier, t.earlierWidth, 0x00FF, 1));
        list.add(mark(a, 3)), list.add(square(-1, -1, 0, 0, 0.5f, 4));
        list.add(make(t.later, t.laterWidth, t.laterPattern, 2));
        std::vector<int> left = {1, 3, 4, 2};
        if (t.hidden) left.erase(left.begin());
        EXPECT_EQ(SoCoveredCopies::remove(list), t.hidden ? 1 : 0);
        EXPECT_EQ(tagsOf(list), left) << &t - cases;
    }
    SoGraphicPrimitiveList list;  // beneath a hatched copy, a solid one still hides the first
    for (char kind : {'f', 'f', 'h'}) list.add(make(kind, 0, 0xFFFF, list.getLength() + 1));
    SoCoveredCopies::remove(list);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{2, 3}));
}
