// The painter's promise, checked on its result alone: wherever two printed polygons overlap
// on the page, the one printed later is not the deeper one there. Scenes of solids that
// pierce one another, where rounding at shared vertices and cut lines decides verdicts.

#include <Tessara/math/SbRotation.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <random>

#include "HlhsrFixture.h"

using namespace hlhsr;

namespace {

using Point2 = std::array<double, 2>;
using Outline = std::vector<Point2>;

constexpr double kOverlapArea = 1e-6;
constexpr double kDepthSlack = 1e-5;

double signedArea(const Outline& p) {
    double twice = 0.0;
    for (size_t k = 0; k < p.size(); ++k) {
        const Point2& a = p[k];
        const Point2& b = p[(k + 1) % p.size()];
        twice += a[0] * b[1] - b[0] * a[1];
    }
    return twice / 2.0;
}

Outline outlineOf(SoGraphicPrimitive* polygon) {
    Outline p;
    for (int k = 0; k < polygon->getNumPoints(); ++k)
        p.push_back({(*polygon->getPoint(k))[0], (*polygon->getPoint(k))[1]});
    if (signedArea(p) < 0.0) std::reverse(p.begin(), p.end());
    return p;
}

// The part of subject inside the convex, counter-clockwise clipper.
Outline intersection(Outline subject, const Outline& clipper) {
    for (size_t e = 0; e < clipper.size() && !subject.empty(); ++e) {
        const Point2& a = clipper[e];
        const Point2& b = clipper[(e + 1) % clipper.size()];
        auto side = [&](const Point2& p) {
            return (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0]);
        };
        Outline kept;
        for (size_t k = 0; k < subject.size(); ++k) {
            const Point2& p = subject[k];
            const Point2& q = subject[(k + 1) % subject.size()];
            const double sp = side(p), sq = side(q);
            if (sp >= 0.0) kept.push_back(p);
            if ((sp >= 0.0) != (sq >= 0.0)) {
                const double t = sp / (sp - sq);
                kept.push_back({p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])});
            }
        }
        subject = kept;
    }
    return subject;
}

Point2 centroid(const Outline& p, double area) {
    double cx = 0.0, cy = 0.0;
    for (size_t k = 0; k < p.size(); ++k) {
        const Point2& a = p[k];
        const Point2& b = p[(k + 1) % p.size()];
        const double cross = a[0] * b[1] - b[0] * a[1];
        cx += (a[0] + b[0]) * cross;
        cy += (a[1] + b[1]) * cross;
    }
    return {cx / (6.0 * area), cy / (6.0 * area)};
}

double depthAt(SoGraphicPrimitive* record, const Point2& at) {
    const auto* polygon = static_cast<SoPolygon*>(record);
    const SbVec3f& n = polygon->normal;
    const SbVec4f& o = polygon->points[0];
    return o[2] - (n[0] * (at[0] - o[0]) + n[1] * (at[1] - o[1])) / n[2];
}

/// The pairs printed in the wrong order: overlapping by more than kOverlapArea, the later
/// one deeper by more than kDepthSlack at the centre of the overlap.
int wrongPairs(const SoGraphicPrimitiveList& list) {
    std::vector<Outline> outlines;
    for (int i = 0; i < list.getLength(); ++i) outlines.push_back(outlineOf(list.getPrimitive(i)));
    int wrong = 0;
    for (int i = 0; i < list.getLength(); ++i) {
        for (int j = i + 1; j < list.getLength(); ++j) {
            const Outline overlap = intersection(outlines[j], outlines[i]);
            const double area = overlap.size() < 3 ? 0.0 : signedArea(overlap);
            if (area <= kOverlapArea) continue;
            const Point2 c = centroid(overlap, area);
            const double earlier = depthAt(list.getPrimitive(i), c);
            if (depthAt(list.getPrimitive(j), c) > earlier + kDepthSlack) ++wrong;
        }
    }
    return wrong;
}

using Scene = std::function<void(SoGraphicPrimitiveList&, std::mt19937&)>;

float uniform(std::mt19937& random, float lo, float hi) {
    return std::uniform_real_distribution<float>(lo, hi)(random);
}

/// A strip of the plane z = a x + b y + c.
SoPolygon* strip(const std::vector<SbVec2f>& corners, float a, float b, float c, int k) {
    std::vector<SbVec4f> points;
    for (const SbVec2f& p : corners) points.push_back(pt(p[0], p[1], a * p[0] + b * p[1] + c));
    return polygon(points, k);
}

// Each strip lies in front of the next one's plane where they overlap: no order of the
// three is right until one is cut.
void cyclicStrips(SoGraphicPrimitiveList& list, std::mt19937&) {
    list.add(strip({{-1.0f, 0.4f}, {11.0f, 0.4f}, {11.0f, -0.4f}, {-1.0f, -0.4f}}, 0.18f, -0.15f,
                   4.5f, 0));
    list.add(strip({{10.2f, -1.1f}, {4.1f, 8.6f}, {4.8f, 9.1f}, {10.9f, -0.6f}}, 0.18f, 0.22f,
                   4.14f, 1));
    list.add(strip({{5.9f, 8.6f}, {-0.2f, -1.1f}, {-0.9f, -0.6f}, {5.2f, 9.1f}}, 0.29f, -0.18f,
                   4.87f, 2));
}

void piercingTriangles(SoGraphicPrimitiveList& list, std::mt19937& random) {
    auto any = [&] {
        return pt(uniform(random, -1, 1), uniform(random, -1, 1), uniform(random, 0, 1));
    };
    for (int k = 0; k < 40; ++k) list.add(polygon({any(), any(), any()}, k));
}

// Boxes of random proportions, every third one a thin slab, turned at random and placed so
// that most pierce others: the six faces of each, as a mesh gives them.
void boxesAndSlabs(SoGraphicPrimitiveList& list, std::mt19937& random) {
    int k = 0;
    for (int box = 0; box < 6; ++box) {
        const SbVec3f centre(uniform(random, -0.3f, 0.3f), uniform(random, -0.3f, 0.3f),
                             uniform(random, 0.4f, 0.6f));
        SbVec3f half(uniform(random, 0.1f, 0.4f), uniform(random, 0.1f, 0.4f),
                     uniform(random, 0.1f, 0.3f));
        if (box % 3 == 2) half[1] = 0.02f;
        const SbRotation turn(
            SbVec3f(uniform(random, -1, 1), uniform(random, -1, 1), uniform(random, -1, 1)),
            uniform(random, 0.0f, 3.14159f));
        auto corner = [&](int x, int y, int z) {
            SbVec3f p(x ? half[0] : -half[0], y ? half[1] : -half[1], z ? half[2] : -half[2]);
            turn.multVec(p, p);
            p += centre;
            return pt(p[0], p[1], p[2]);
        };
        for (int axis = 0; axis < 3; ++axis) {
            for (int side = 0; side < 2; ++side) {
                std::vector<SbVec4f> face;
                for (const auto& uv : {std::array<int, 2>{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
                    int c[3];
                    c[axis] = side;
                    c[(axis + 1) % 3] = uv[0];
                    c[(axis + 2) % 3] = uv[1];
                    face.push_back(corner(c[0], c[1], c[2]));
                }
                list.add(polygon(face, k++));
            }
        }
    }
}

struct SceneCase {
    const char* name;
    Scene scene;
    int seeds;
};

const SceneCase kScenes[] = {
    {"three cyclic strips", cyclicStrips, 1},
    {"piercing triangles", piercingTriangles, 25},
    {"boxes and slabs", boxesAndSlabs, 25},
};

}  // namespace

TEST(PainterExactness, NoLaterPolygonIsDeeperWhereTheyOverlap) {
    for (const SceneCase& scene : kScenes) {
        long long pieces = 0;
        for (int seed = 1; seed <= scene.seeds; ++seed) {
            SCOPED_TRACE(testing::Message() << scene.name << ", seed " << seed);
            SoGraphicPrimitiveList list;
            std::mt19937 random(seed);
            scene.scene(list, random);
            SoHLHSRVectorize engine(nullptr, 1);
            SoHLHSRPainter painter(list, engine);
            painter.run();
            pieces += painter.getPiecesMade();
            EXPECT_EQ(wrongPairs(list), 0);
        }
        EXPECT_GT(pieces, 0) << scene.name << ": nothing pierced anything";
    }
}
