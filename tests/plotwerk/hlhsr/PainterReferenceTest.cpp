// The fast pairwise pass against the pass written out pair by pair, on random scenes of
// several kinds and one known cycle: both must leave the same records (pieces included) in
// the same order, with the same move counts. The slow pass follows the rules as they read:
// every later record visited one by one, every move count reset at every step, where the
// fast one has its pair index and lazy resets.

#include <Tessara/math/SbRotation.h>

#include <cmath>
#include <functional>
#include <random>

#include "PairCheck.h"
#include "support/DebugErrorRecorder.h"

using namespace hlhsr;

namespace {

bool boxesApart(SoGraphicPrimitive* P, SoGraphicPrimitive* Q) {
    const SbBox2f& p = *P->getBBox();
    const SbBox2f& q = *Q->getBBox();
    return p.getMax()[0] <= q.getMin()[0] || q.getMax()[0] <= p.getMin()[0] ||
           p.getMax()[1] <= q.getMin()[1] || q.getMax()[1] <= p.getMin()[1];
}

bool isPolygon(SoGraphicPrimitive* record) {
    return record->getType() == SoGraphicPrimitive::POLYGON;
}

// How a cut left position i: unchanged, P's own far piece there, or Q's far piece there.
enum Cut { NONE, P_CUT, Q_CUT };

// Some point of record lies beyond 0.0001 on either side of polygon's plane.
bool straddles(SoGraphicPrimitive* polygon, SoGraphicPrimitive* record) {
    if (!isPolygon(polygon)) return false;
    const auto& g = *static_cast<SoPolygon*>(polygon);
    double lo = 0.0, hi = 0.0;
    for (int k = 0; k < record->getNumPoints(); ++k) {
        double d = 0.0;
        for (int c = 0; c < 3; ++c)
            d += g.normal[c] * (double((*record->getPoint(k))[c]) - g.points[0][c]);
        lo = std::min(lo, d), hi = std::max(hi, d);
    }
    return lo < -0.0001 && hi > 0.0001;
}

// The record at k is cut by cutter's plane if it straddles it: far piece at k, near one last.
bool cutAt(SoGraphicPrimitiveList& list, int k, SoGraphicPrimitive* cutter) {
    SoGraphicPrimitive *front, *back, *record = list.getPrimitive(k);
    if (!straddles(cutter, record) || !record->cutBy(*static_cast<SoPolygon*>(cutter), front, back))
        return false;
    delete record;
    list.set(k, back);
    list.add(front);
    return true;
}

Cut split(SoGraphicPrimitiveList& list, int i, int j) {
    SoGraphicPrimitive* P = list.getPrimitive(i);
    SoGraphicPrimitive* Q = list.getPrimitive(j);
    if (isPolygon(Q) && cutAt(list, i, Q)) return P_CUT;
    if (!isPolygon(P) || Q->getType() != SoGraphicPrimitive::POLYLINE || !cutAt(list, j, P))
        return NONE;
    list.swap(i, j);
    return Q_CUT;
}

// chain: the records that came to position i in turn, each to print before the one before.
// Cuts the link P-Q, else the links back along the chain to Q.
bool breakCycle(SoGraphicPrimitiveList& list, int i, int j,
                const std::vector<SoGraphicPrimitive*>& chain) {
    auto at = [&](SoGraphicPrimitive* record) {
        for (int k = 0;; ++k)
            if (list.getPrimitive(k) == record) return k;
    };
    auto link = [&](int earlier, int later) {
        SoGraphicPrimitive* X = list.getPrimitive(earlier);
        return cutAt(list, earlier, list.getPrimitive(later)) || cutAt(list, later, X);
    };
    if (link(i, j)) return true;
    for (size_t t = chain.size() - 1; t > 0 && chain[t] != list.getPrimitive(j); --t)
        if (link(at(chain[t - 1]), at(chain[t]))) return true;
    return false;
}

/// Sorts list by depth, then orders it pair by pair; returns the number of swaps made.
long long referenceOrder(SoGraphicPrimitiveList& list) {
    list.sort(0);
    long long swaps = 0;
    std::vector<SoGraphicPrimitive*> chain;
    for (int i = 0; i < list.getLength(); ++i) {
        // At the start of a step and after every cut: no moves, a chain of the record at i.
        auto restart = [&] {
            for (int k = i; k < list.getLength(); ++k) list.getPrimitive(k)->moveCount = 0;
            chain.assign(1, list.getPrimitive(i));
        };
        restart();
        for (int j = i + 1; j < list.getLength(); ++j) {
            SoGraphicPrimitive* P = list.getPrimitive(i);
            SoGraphicPrimitive* Q = list.getPrimitive(j);
            if (boxesApart(P, Q)) continue;
            if (SoHLHSRPainter::projectionsDisjoint(P, Q, 1)) continue;
            if (P->getZMin() >= Q->getZMax()) continue;
            int r = P->getZMax() <= Q->getZMin() ? 0 : SoHLHSRPainter::classify(Q, P, 0);
            if (r == 1 || r == 2) continue;
            if (r == 0) {
                int s = 1;
                if (Q->moveCount != 0) s = SoHLHSRPainter::classify(P, Q, 1);
                if (s == 1) {
                    if (Q->moveCount > 1) {
                        if (breakCycle(list, i, j, chain)) restart(), j = i;
                        continue;
                    }
                    ++P->moveCount;
                    list.swap(i, j);
                    chain.push_back(list.getPrimitive(i));
                    ++swaps;
                    j = i;  // the loop's increment restarts at i + 1
                    continue;
                }
                if (s == 2) {
                    Q->moveCount = 0;
                    continue;
                }
            }
            const Cut made = split(list, i, j);
            if (made != NONE) restart();
            if (made == Q_CUT) j = i;
        }
    }
    return swaps;
}

using Scene = std::function<void(SoGraphicPrimitiveList&, std::mt19937&)>;

float uniform(std::mt19937& random, float lo, float hi) {
    return std::uniform_real_distribution<float>(lo, hi)(random);
}

SbVec4f randomPoint(std::mt19937& random, float extent) {
    return pt(uniform(random, -extent, extent), uniform(random, -extent, extent),
              uniform(random, 0.0f, 1.0f));
}

// Records between random points over the page, by turns a triangle, a segment and a mark
// (only triangles if kinds is 1).
void randomRecords(SoGraphicPrimitiveList& list, std::mt19937& random, int n, int kinds) {
    for (int k = 0; k < n; ++k) {
        const SbVec4f a = randomPoint(random, 1);
        if (k % kinds == 0)
            list.add(polygon({a, randomPoint(random, 1), randomPoint(random, 1)}, k));
        else if (k % kinds == 1)
            list.add(segment(a, randomPoint(random, 1), k));
        else
            list.add(mark(a, k));
    }
}

// Many small triangles and segments over the page: sparse overlaps, a deep pair index.
void scattered(SoGraphicPrimitiveList& list, std::mt19937& random) {
    for (int k = 0; k < 400; ++k) {
        const SbVec4f c = randomPoint(random, 1);
        const float s = uniform(random, 0.01f, 0.15f);
        auto near = [&] {
            return c + SbVec4f(uniform(random, -s, s), uniform(random, -s, s),
                               uniform(random, -s, s), 0.0f);
        };
        if (k % 5 == 4)
            list.add(segment(near(), near(), k % 256));
        else
            list.add(polygon({near(), near(), near()}, k % 256));
    }
}

// Quads of a tilted plane sharing edges, lines on the plane, and a few stray triangles:
// coplanar verdicts, touching boxes and ties of depth.
void tiled(SoGraphicPrimitiveList& list, std::mt19937& random) {
    const float a = uniform(random, -0.3f, 0.3f), b = uniform(random, -0.3f, 0.3f);
    auto on = [&](float x, float y) { return pt(x, y, 0.5f + a * x + b * y); };
    int k = 0;
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 6; ++j) {
            const float x = -0.75f + 0.25f * i, y = -0.75f + 0.25f * j;
            list.add(polygon(
                {on(x, y), on(x + 0.25f, y), on(x + 0.25f, y + 0.25f), on(x, y + 0.25f)}, k++));
        }
        list.add(segment(on(-0.75f, -0.7f + 0.25f * i), on(0.75f, -0.7f + 0.25f * i), k++));
    }
    for (int t = 0; t < 6; ++t) {
        list.add(polygon(
            {randomPoint(random, 0.8f), randomPoint(random, 0.8f), randomPoint(random, 0.8f)},
            k++));
    }
}

// Long thin strips in all directions: overlapping in long chains, cyclic more often than not.
void strips(SoGraphicPrimitiveList& list, std::mt19937& random) {
    for (int k = 0; k < 30; ++k) {
        const float angle = uniform(random, 0.0f, 3.14159f);
        const float dx = std::cos(angle), dy = std::sin(angle);
        const SbVec4f c = randomPoint(random, 0.5f);
        const float za = uniform(random, -0.2f, 0.2f), zb = uniform(random, -0.2f, 0.2f);
        auto corner = [&](float along, float across) {
            const float x = c[0] + along * dx - across * dy, y = c[1] + along * dy + across * dx;
            return pt(x, y, c[2] + za * along + zb * across);
        };
        list.add(polygon(
            {corner(-1, -0.05f), corner(1, -0.05f), corner(1, 0.05f), corner(-1, 0.05f)}, k));
    }
}

// Slivers that fill little of their boxes, kept by the cells of their outlines: a fan from one
// corner and long parallel slivers across it, each on a tilted plane of its own.
void slivers(SoGraphicPrimitiveList& list, std::mt19937& random) {
    for (int k = 0; k < 300; ++k) {
        const float a = uniform(random, 0, 1.57f), z = uniform(random, 0.2f, 0.8f), tilt = z - 0.5f;
        const SbVec4f from = k % 2 ? pt(-1, -1, z) : pt(uniform(random, -1, 0.5f), -1, z);
        const SbVec4f to = k % 2 ? pt(-1 + 2 * std::cos(a), -1 + 2 * std::sin(a), z + tilt)
                                 : from + SbVec4f(0.5f, 2, tilt, 0);
        list.add(polygon({from, to, to + SbVec4f(0.01f, -0.005f, 0.02f, 0)}, k % 256));
    }
}

// Degenerate records: repeated points, collinear polygons, single-point polygons, huge
// coordinates, equal depths.
void degenerate(SoGraphicPrimitiveList& list, std::mt19937& random) {
    for (int k = 0; k < 40; ++k) {
        const SbVec4f a = randomPoint(random, 1), b = randomPoint(random, 1);
        const std::vector<SbVec4f> shapes[] = {
            {a, a, b},
            {a, (a + b) * 0.5f, b},
            {a},
            {pt(-1e30f, a[1], 0.5f), pt(1e30f, a[1] + 0.1f, 0.5f), pt(a[0], b[1], 0.5f)},
            {a, b, randomPoint(random, 1), randomPoint(random, 1)},
        };
        list.add(polygon(shapes[k % 5], k));
    }
}

// Boxes turned at random through one another, every third a thin slab: six faces each.
void boxesAndSlabs(SoGraphicPrimitiveList& list, std::mt19937& random) {
    for (int box = 0; box < 6; ++box) {
        const SbVec3f half(uniform(random, 0.1f, 0.4f), box % 3 ? 0.3f : 0.02f, 0.2f);
        const SbVec3f centre(uniform(random, -0.3f, 0.3f), uniform(random, -0.3f, 0.3f), 0.5f);
        const SbRotation turn(SbVec3f(uniform(random, -1, 1), uniform(random, -1, 1), 1),
                              uniform(random, 0.0f, 3.1f));
        for (int face = 0; face < 6; ++face) {
            const int axis = face / 2, u = (axis + 1) % 3, v = (axis + 2) % 3;
            std::vector<SbVec4f> corners;
            for (int corner : {0, 1, 3, 2}) {
                SbVec3f p = half;
                p[axis] *= face % 2 ? 1 : -1;
                p[u] *= corner & 1 ? 1 : -1;
                p[v] *= corner & 2 ? 1 : -1;
                turn.multVec(p, p);
                p += centre;
                corners.push_back(pt(p[0], p[1], p[2]));
            }
            list.add(polygon(corners, 6 * box + face));
        }
    }
}

// A tilted face amid a cloud of marks and segments, many behind it: the face goes back
// past them one at a time, and segments cut by it leave pieces.
void cloudAboutAFace(SoGraphicPrimitiveList& list, std::mt19937& random, int records) {
    list.add(polygon({pt(-0.3f, -0.3f, 0.4f), pt(0.3f, -0.3f, 0.6f), pt(0.3f, 0.3f, 0.6f),
                      pt(-0.3f, 0.3f, 0.4f)}));
    for (int k = 1; k < records; ++k) {
        const SbVec4f a = randomPoint(random, 1);
        list.add(k % 5 ? static_cast<SoGraphicPrimitive*>(mark(a, k % 256))
                       : segment(a, randomPoint(random, 1), k % 256));
    }
}

// Four triangles whose verdicts would push one of them back and forth for ever: the cycle
// is cut instead.
void pushedBackTwice(SoGraphicPrimitiveList& list, std::mt19937&) {
    list.add(polygon({pt(0.5f, 0.7f, 0.7f), pt(0.4f, 0.6f, 0.3f), pt(-0.8f, -0.7f, 0.2f)}, 0));
    list.add(polygon({pt(-0.9f, -1, 1), pt(-0.1f, 0.3f, 0.2f), pt(0.7f, -1, 0.9f)}, 1));
    list.add(polygon({pt(-1, -0.4f, 0.6f), pt(0.3f, -0.4f, 0.5f), pt(0.5f, 0.3f, 0.4f)}, 2));
    list.add(polygon({pt(0.4f, 0.8f, 0.4f), pt(0.4f, -0.7f, 0.7f), pt(0, 0.1f, 0)}, 3));
}

void expectSameLists(SoGraphicPrimitiveList& fast, SoGraphicPrimitiveList& slow) {
    ASSERT_EQ(fast.getLength(), slow.getLength());
    for (int i = 0; i < fast.getLength(); ++i) {
        SoGraphicPrimitive* f = fast.getPrimitive(i);
        SoGraphicPrimitive* s = slow.getPrimitive(i);
        ASSERT_EQ(f->getType(), s->getType()) << "at " << i;
        ASSERT_EQ(f->id, s->id) << "at " << i;
        ASSERT_EQ(f->moveCount, s->moveCount) << "at " << i;
        ASSERT_EQ(f->getNumPoints(), s->getNumPoints()) << "at " << i;
        for (int k = 0; k < f->getNumPoints(); ++k) {
            ASSERT_EQ(*f->getPoint(k), *s->getPoint(k)) << "at " << i << " point " << k;
        }
    }
}

/// A kind of scene, the seeds it is tried on, and what it must exercise, or the agreement
/// proves nothing. checkPairs: the result must also be right as a picture (where no record
/// is degenerate).
struct SceneKind {
    const char* name;
    Scene scene;
    int seeds;
    bool checkPairs;
    bool needsSwaps, needsPieces;
};

}  // namespace

TEST(PainterAgreement, FastPassLeavesTheListTheRulesLeave) {
    const SceneKind kinds[] = {
        // Large triangles through one another: swaps, splits and cycles everywhere.
        {"interpenetrating triangles", [](auto& l, auto& r) { randomRecords(l, r, 40, 1); }, 10,
         true, true, true},
        {"triangles, segments and marks", [](auto& l, auto& r) { randomRecords(l, r, 60, 3); }, 25,
         false, true, true},
        {"scattered small records", scattered, 10, false, true, false},
        {"tiled plane with lines", tiled, 15, false, false, false},
        {"crossing strips", strips, 15, true, true, false},
        {"boxes and slabs", boxesAndSlabs, 25, true, false, true},
        {"degenerate records", degenerate, 15, false, false, false},
        {"slivers", slivers, 4, true, true, false},
        {"a record pushed back twice", pushedBackTwice, 1, true, true, true},
        {"a cloud about a face", [](auto& l, auto& r) { cloudAboutAFace(l, r, 400); }, 4, false,
         true, true},
    };
    for (const SceneKind& kind : kinds) {
        long long swaps = 0, pieces = 0, pairs = 0;
        for (int seed = 1; seed <= kind.seeds; ++seed) {
            SCOPED_TRACE(testing::Message() << kind.name << ", seed " << seed);
            SoGraphicPrimitiveList fast, slow;
            std::mt19937 first(seed), second(seed);
            kind.scene(fast, first);
            kind.scene(slow, second);
            SoHLHSRVectorize engine(nullptr, 1);
            SoHLHSRPainter painter(fast, engine);
            painter.run();
            const long long referenceSwaps = referenceOrder(slow);
            expectSameLists(fast, slow);
            if (kind.checkPairs) {
                EXPECT_EQ(wrongPairs(fast), 0);
            }
            EXPECT_EQ(painter.getSwapsMade(), referenceSwaps);
            swaps += referenceSwaps;
            pieces += painter.getPiecesMade();
            pairs += painter.getPairsTested();
        }
        SCOPED_TRACE(kind.name);
        EXPECT_GT(pairs, 0);
        if (kind.needsSwaps) {
            EXPECT_GT(swaps, 0);
        }
        if (kind.needsPieces) {
            EXPECT_GT(pieces, 0);
        }
    }
}

// Large triangles that all pierce all make work without bound: the pass stops at its limit,
// says so once, and loses no record (each cut adds one). What it did not place prints in
// depth order, not where its steps left it (near pieces of cuts at the very end).
TEST(PainterAgreement, OrderingStopsAtItsWorkLimitKeepingEveryRecord) {
    long long fullPairs = 0;
    for (const long long limit : {0LL, 2000LL}) {
        SoGraphicPrimitiveList list;
        std::mt19937 random(7);
        randomRecords(list, random, 40, 1);
        SoHLHSRVectorize engine(nullptr, 1);
        SoHLHSRPainter painter(list, engine);
        painter.setWorkLimit(limit);
        DebugErrorRecorder recorder;
        painter.run();
        EXPECT_EQ(list.getLength(), 40 + painter.getPiecesMade() / 2);
        EXPECT_EQ(recorder.size(), limit ? 1u : 0u);
        if (limit) {
            EXPECT_LT(painter.getPairsTested(), fullPairs / 2);
            EXPECT_LT(painter.getRecordsPlaced(), list.getLength());
            for (int k = painter.getRecordsPlaced() + 1; k < list.getLength(); ++k) {
                EXPECT_GE(list.getPrimitive(k - 1)->getZMax(), list.getPrimitive(k)->getZMax());
            }
        } else {
            fullPairs = painter.getPairsTested();
        }
    }
}

// Scenes where the index, looking at a share of all records for each one, made the work
// grow with their square: a long row of records, as a line of 3D text seen from the front;
// a face that goes back past a cloud of records behind it one at a time; slivers whose boxes
// overlap where they do not.
TEST(PainterAgreement, OrderingTakesWorkInProportionToTheScene) {
    const std::pair<const char*, Scene> cases[] = {
        {"a long row",
         [](auto& list, auto&) {
             // One steep plane: all span the same depths, as glyphs' sides do; neighbours overlap.
             for (int k = 0; k < 4000; ++k) {
                 const float x = 0.001f * k;
                 list.add(polygon({pt(x, 0, 0.5f), pt(x + 0.0015f, 0, 0.5f), pt(x, 0.002f, 1.1f)},
                                  k % 256));
             }
         }},
        {"a cloud about a face", [](auto& l, auto& r) { cloudAboutAFace(l, r, 100000); }},
        {"a cylinder end on, its ends fans from one corner",
         [](auto& list, auto&) {
             const int sides = 3000;
             auto rim = [&](int k, float z) {
                 const float a = 6.2831853f * static_cast<float>(k) / sides;
                 return pt(std::cos(a), std::sin(a), z);
             };
             for (int k = 0; k < sides; ++k) {
                 list.add(polygon({rim(k, 0.2f), rim(k + 1, 0.2f), rim(k + 1, 0.8f)}, k % 256));
                 for (float z : {0.2f, 0.8f})
                     list.add(polygon({rim(0, z), rim(k, z), rim(k + 1, z)}));
             }
         }},
    };
    for (const auto& [name, scene] : cases) {
        SCOPED_TRACE(name);
        SoGraphicPrimitiveList list;
        std::mt19937 random(5);
        scene(list, random);
        const int records = list.getLength();
        SoHLHSRVectorize engine(nullptr, 1);
        SoHLHSRPainter painter(list, engine);
        painter.setWorkLimit(200LL * records);
        DebugErrorRecorder recorder;
        painter.run();
        EXPECT_EQ(recorder.size(), 0u);
        EXPECT_EQ(painter.getRecordsPlaced(), list.getLength());
        EXPECT_GT(painter.getPairsTested(), records / 20);
    }
}
