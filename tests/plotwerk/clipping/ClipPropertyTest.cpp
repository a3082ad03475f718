// Clipping as seeded property checks: random triangles and polylines, partly outside the
// view and partly beyond the far plane, each printed piece compared with the piece of its
// input inside the view found independently by sampling. Every cut must land exactly on the
// limit it was cut at, and carry the depth and colour of the input at that place.

#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoMaterial.h>

#include <algorithm>
#include <random>
#include <vector>

#include "ClipScene.h"

using namespace cliptest;

namespace {

constexpr int kRounds = 300;

/// A place in the printed view, with depth scaled to millimetres so that distances mix.
SbVec3f spaceOf(float x, float y, float depth) {
    return SbVec3f(x, y, depth * 100.0f);
}

/// How far inside the view (x, y in [0, 200] mm, depth up to 1) a place is; negative outside.
float insideBy(const SbVec3f& p) {
    return std::min({p[0], kPageSize - p[0], p[1], kPageSize - p[1], 100.0f - p[2]});
}

bool onLimit(const SbVec4f& p) {
    return p[0] == 0.0f || p[0] == kPageSize || p[1] == 0.0f || p[1] == kPageSize || p[2] == 1.0f;
}

/// Distance from q to the segment ab, and where along it the nearest point is.
float distanceToSegment(const SbVec3f& q, const SbVec3f& a, const SbVec3f& b, float& t) {
    const SbVec3f ab = b - a;
    const float length2 = ab.dot(ab);
    t = length2 > 0.0f ? std::clamp((q - a).dot(ab) / length2, 0.0f, 1.0f) : 0.0f;
    return (a + ab * t - q).length();
}

class ClipPropertyTest : public PrintTest {
  protected:
    void SetUp() override {
        root = readScene(ortho() + "MaterialBinding { value PER_VERTEX }");
        ASSERT_NE(root, nullptr);
        scene = static_cast<SoSeparator*>(root->getChild(0));
        material = new SoMaterial;
        coords = new SoCoordinate3;
        scene->addChild(material);
        scene->addChild(coords);
        action = makeAction(kPageSize);
        action->setShadeModel(SoVectorizeAction::SMOOTH);
    }
    void TearDown() override { root->unref(); }

    /// Sets n random vertices of random colours, some outside the view and some beyond the
    /// far plane (world z below -5), and keeps where they land in `places`.
    void randomVertices(int n) {
        std::uniform_real_distribution<float> xy(-2, 2), z(-8, 5), unit(0, 1);
        places.clear();
        colors.clear();
        for (int i = 0; i < n; ++i) {
            const SbVec3f world(xy(rng), xy(rng), z(rng));
            coords->point.set1Value(i, world);
            places.push_back(spaceOf(mm(world[0]), mm(world[1]), 0.5f - world[2] / 10.0f));
            colors.emplace_back(unit(rng), unit(rng), unit(rng));
            material->diffuseColor.set1Value(i, colors.back());
        }
    }

    /// The pieces of `kind` printed for the scene as it is now.
    std::vector<RecordedCall> printed(RecordedCall::Kind kind) {
        action->clear();
        action->apply(root);
        return action->ofKind(kind);
    }

    std::mt19937 rng{20240611};
    SoSeparator* root = nullptr;
    SoSeparator* scene = nullptr;
    SoMaterial* material = nullptr;
    SoCoordinate3* coords = nullptr;
    std::unique_ptr<RecordingAction> action;
    std::vector<SbVec3f> places;
    std::vector<SbColor> colors;
};

/// Barycentric coordinates of (x, y) in the triangle's page projection.
SbVec3f barycentric(const std::vector<SbVec3f>& t, float x, float y) {
    const float d =
        (t[1][1] - t[2][1]) * (t[0][0] - t[2][0]) + (t[2][0] - t[1][0]) * (t[0][1] - t[2][1]);
    const float a = ((t[1][1] - t[2][1]) * (x - t[2][0]) + (t[2][0] - t[1][0]) * (y - t[2][1])) / d;
    const float b = ((t[2][1] - t[0][1]) * (x - t[2][0]) + (t[0][0] - t[2][0]) * (y - t[2][1])) / d;
    return SbVec3f(a, b, 1.0f - a - b);
}

/// Whether (x, y) lies inside the convex polygon, whichever way it turns.
bool insidePolygon(const std::vector<SbVec4f>& p, float x, float y) {
    bool positive = false, negative = false;
    for (size_t k = 0; k < p.size(); ++k) {
        const SbVec4f& a = p[k];
        const SbVec4f& b = p[(k + 1) % p.size()];
        const float cross = (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0]);
        positive |= cross > 0.0f;
        negative |= cross < 0.0f;
    }
    return p.size() >= 3 && !(positive && negative);
}

TEST_F(ClipPropertyTest, TrianglesAreCutToTheirPartInsideTheView) {
    scene->addChild(new SoFaceSet);
    std::uniform_real_distribution<float> page(-20, kPageSize + 20);
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        randomVertices(3);
        const SbVec3f edge1 = places[1] - places[0], edge2 = places[2] - places[0];
        if (std::abs(edge1[0] * edge2[1] - edge1[1] * edge2[0]) < 200.0f) continue;  // a sliver
        const std::vector<RecordedCall> polygons = printed(RecordedCall::POLYGON);
        ASSERT_LE(polygons.size(), 1u);
        const std::vector<SbVec4f> out =
            polygons.empty() ? std::vector<SbVec4f>() : polygons[0].points;
        if (!polygons.empty()) {
            EXPECT_EQ(polygons[0].multicolor, 1);
            ASSERT_EQ(polygons[0].colors.size(), out.size());
        }
        for (size_t k = 0; k < out.size(); ++k) {
            const SbVec4f& p = out[k];
            const SbVec3f weights = barycentric(places, p[0], p[1]);
            EXPECT_GE(insideBy(spaceOf(p[0], p[1], p[2])), 0.0f) << "vertex " << k;
            EXPECT_GE(std::min({weights[0], weights[1], weights[2]}), -1e-4f) << "vertex " << k;
            float depth = 0.0f;
            SbColor color(0, 0, 0);
            for (int i = 0; i < 3; ++i) {
                depth += weights[i] * places[i][2] / 100.0f;
                color += colors[i] * weights[i];
            }
            EXPECT_NEAR(p[2], depth, 1e-4f) << "vertex " << k;
            EXPECT_TRUE(polygons[0].colors[k].equals(color, 1e-4f)) << "vertex " << k;
            const bool input = std::max({weights[0], weights[1], weights[2]}) > 1.0f - 1e-5f;
            EXPECT_TRUE(input || onLimit(p)) << "vertex " << k << " is a cut off its limit";
        }
        // Places clear of every boundary are printed exactly when inside triangle and view.
        int wrong = 0;
        for (int s = 0; s < 200; ++s) {
            const float x = page(rng), y = page(rng);
            const SbVec3f weights = barycentric(places, x, y);
            const float depth = weights.dot(SbVec3f(places[0][2], places[1][2], places[2][2]));
            const float inTriangle = std::min({weights[0], weights[1], weights[2]});
            const float inView = insideBy(SbVec3f(x, y, depth));
            if (std::abs(inTriangle) < 1e-3f || std::abs(inView) < 1e-2f) continue;
            wrong += (inTriangle > 0.0f && inView > 0.0f) != insidePolygon(out, x, y);
        }
        EXPECT_EQ(wrong, 0);
        // Run the other way round, as by a neighbour sharing them, edges are cut at the
        // bit-same points.
        const SbVec3f second = coords->point[1];
        coords->point.set1Value(1, coords->point[2]);
        coords->point.set1Value(2, second);
        const std::vector<RecordedCall> reversed = printed(RecordedCall::POLYGON);
        ASSERT_EQ(reversed.size(), polygons.size());
        const std::vector<SbVec4f> back = reversed.empty() ? out : reversed[0].points;
        EXPECT_TRUE(std::is_permutation(out.begin(), out.end(), back.begin(), back.end()));
    }
}

TEST_F(ClipPropertyTest, PolylinesAreSplitIntoTheirRunsInsideTheView) {
    scene->addChild(new SoLineSet);
    constexpr int kPoints = 4;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        randomVertices(kPoints);
        const std::vector<RecordedCall> runs = printed(RecordedCall::POLYLINE);
        std::vector<std::vector<SbVec3f>> runPlaces;
        for (const RecordedCall& run : runs) {
            ASSERT_GE(run.points.size(), 2u);
            EXPECT_EQ(run.multicolor, 1);
            ASSERT_EQ(run.colors.size(), run.points.size());
            runPlaces.emplace_back();
            for (size_t k = 0; k < run.points.size(); ++k) {
                const SbVec4f& p = run.points[k];
                const SbVec3f place = spaceOf(p[0], p[1], p[2]);
                runPlaces.back().push_back(place);
                EXPECT_GE(insideBy(place), 0.0f);
                // It lies on the input, with the depth and colour of the input there.
                float best = 1e30f, bestT = 0.0f;
                int segment = 0;
                for (int j = 0; j + 1 < kPoints; ++j) {
                    float t = 0.0f;
                    const float d = distanceToSegment(place, places[j], places[j + 1], t);
                    if (d < best) {
                        best = d;
                        bestT = t;
                        segment = j;
                    }
                }
                EXPECT_LT(best, 1e-2f) << "point " << k << " is off the input";
                const SbColor expected =
                    colors[segment] + (colors[segment + 1] - colors[segment]) * bestT;
                EXPECT_TRUE(run.colors[k].equals(expected, 1e-3f)) << "point " << k;
                const bool input = (bestT < 1e-5f || bestT > 1.0f - 1e-5f);
                const bool end = k == 0 || k + 1 == run.points.size();
                EXPECT_TRUE(input || (end && onLimit(p))) << "point " << k;
            }
        }
        // Places along the input clear of every limit are printed exactly when inside.
        int wrong = 0;
        for (int j = 0; j + 1 < kPoints; ++j) {
            for (int s = 0; s < 100; ++s) {
                const SbVec3f q = places[j] + (places[j + 1] - places[j]) * ((s + 0.5f) / 100);
                if (std::abs(insideBy(q)) < 1e-2f) continue;
                bool covered = false;
                for (const std::vector<SbVec3f>& run : runPlaces) {
                    for (size_t k = 0; k + 1 < run.size() && !covered; ++k) {
                        float t = 0.0f;
                        covered = distanceToSegment(q, run[k], run[k + 1], t) < 1e-2f;
                    }
                }
                wrong += covered != (insideBy(q) > 0.0f);
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

}  // namespace
