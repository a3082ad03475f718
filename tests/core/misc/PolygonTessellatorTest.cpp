// Large polygons are tessellated in pieces: seeded outlines, with a hole or winding twice
// round, wavy or spiky, in a tilted plane, cut into bands or sectors, must still be covered
// exactly by their triangles, and these must be as wide as flipping diagonals can make them.

#include <Tessara/math/SbVec2f.h>
#include <Tessara/misc/SoPolygonTessellator.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <random>
#include <vector>

namespace {

using Contour = std::vector<SbVec2f>;

// Round the centre `turns` times; two turns cross where the last term changes sign. Every
// other corner of a spiky one is drawn in towards the centre.
Contour wavy(std::mt19937& random, int n, float radius, bool clockwise, int turns = 1,
             bool spiky = false) {
    std::uniform_real_distribution<float> noise(-0.02f, 0.02f);
    Contour contour;
    for (int k = 0; k < n; ++k) {
        const float a = (clockwise ? -6.2831853f : 6.2831853f) * float(turns * k) / float(n);
        const float r = radius * (1.0f + 0.25f * std::sin(7.0f * a) + noise(random) +
                                  (turns > 1 ? 0.2f * std::sin(a / 2) : 0.0f));
        const float reach = spiky && k % 2 ? 0.4f * r : r;
        contour.emplace_back(reach * std::cos(a), reach * std::sin(a));
    }
    return contour;
}

double cross(const SbVec2f& a, const SbVec2f& b, const SbVec2f& c) {
    return (double(b[0]) - a[0]) * (double(c[1]) - a[1]) -
           (double(b[1]) - a[1]) * (double(c[0]) - a[0]);
}

// The winding number of p, or none when p lies within `margin` of an edge.
std::optional<int> windingNumber(const std::vector<Contour>& contours, const SbVec2f& p,
                                 float margin) {
    int winding = 0;
    for (const Contour& c : contours)
        for (std::size_t k = 0; k < c.size(); ++k) {
            const SbVec2f &a = c[k], &b = c[(k + 1) % c.size()], ab = b - a;
            const float t = std::fmax(0.0f, std::fmin(1.0f, (p - a).dot(ab) / ab.dot(ab)));
            if ((p - (a + ab * t)).length() < margin) return std::nullopt;
            const double side = cross(a, b, p);
            winding += (a[1] <= p[1] && b[1] > p[1] && side > 0) -
                       (a[1] > p[1] && b[1] <= p[1] && side < 0);
        }
    return winding;
}

}  // namespace

TEST(PolygonTessellator, LargePolygonsCutIntoBandsAreCoveredExactly) {
    std::mt19937 random(11);
    using T = SoPolygonTessellator;
    const struct {
        T::Winding winding;
        bool hole, crossing, spiky;
    } cases[] = {{T::ODD, false, false, false},    {T::NONZERO, true, false, false},
                 {T::ODD, true, false, false},     {T::ODD, false, true, false},
                 {T::NONZERO, false, true, false}, {T::ODD, false, false, true},
                 {T::NONZERO, true, false, true},  {T::ODD, false, true, true}};
    const SbVec3f u(0.6f, 0.0f, 0.8f), v(0.0f, 1.0f, 0.0f), origin(2.0f, -1.0f, 0.5f);
    auto inPlane = [&](const SbVec3f& p) { return SbVec2f((p - origin).dot(u), p[1] - origin[1]); };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.winding << c.hole << c.crossing << c.spiky);
        std::vector<Contour> contours{wavy(random, 1200, 0.8f, false, c.crossing ? 2 : 1, c.spiky)};
        if (c.hole) contours.push_back(wavy(random, 200, 0.3f, true));
        T tess(c.winding, 1000);  // pieces of 250 corners
        tess.beginPolygon();
        for (const Contour& contour : contours) {
            tess.beginContour();
            for (const SbVec2f& p : contour) tess.addVertex(origin + u * p[0] + v * p[1]);
            tess.endContour();
        }
        ASSERT_TRUE(tess.endPolygon());
        const std::vector<int>& ids = tess.getTriangles();
        // New corners are mixes of the corners they come from, which shading relies on. A
        // star's sectors meet in its middle, where no band's line meets an edge.
        int made = 0;
        bool middle = false;
        for (const int id : ids) {
            if (id < tess.getNumInputVertices()) continue;
            middle = middle || inPlane(tess.getPoint(id)).length() < 0.1f;
            const T::CombinedVertex& m = tess.getCombined(id);
            SbVec3f mix(0, 0, 0);
            for (int s = 0; s < 4 && m.sources[s] >= 0; ++s, ++made)
                mix += tess.getPoint(m.sources[s]) * m.weights[s];
            EXPECT_LT((mix - m.point).length(), 1e-4f);
        }
        EXPECT_GT(made, 0);
        EXPECT_TRUE(c.spiky ? middle || c.hole : !middle);
        std::vector<std::array<SbVec2f, 3>> triangles;
        for (std::size_t t = 0; t + 2 < ids.size(); t += 3) {
            triangles.push_back({inPlane(tess.getPoint(ids[t])), inPlane(tess.getPoint(ids[t + 1])),
                                 inPlane(tess.getPoint(ids[t + 2]))});
            const auto& [a, b, d] = triangles.back();
            EXPECT_TRUE(c.crossing || cross(a, b, d) > -1e-6);
        }
        // No sliver is left that a flip could widen: across every shared edge of a convex
        // quadrilateral, the angles facing the edge add up to at most half a turn.
        std::map<std::pair<int, int>, std::vector<int>> facing;
        for (std::size_t t = 0; t + 2 < ids.size(); t += 3)
            for (std::size_t k = 0; k < 3; ++k)
                facing[std::minmax(ids[t + k], ids[t + (k + 1) % 3])].push_back(
                    ids[t + (k + 2) % 3]);
        auto angle = [](const SbVec2f& at, SbVec2f u, SbVec2f v) {
            u -= at, v -= at;
            return std::acos(u.dot(v) / (u.length() * v.length()));
        };
        for (const auto& [side, across] : facing) {
            const SbVec2f a = inPlane(tess.getPoint(side.first)),
                          b = inPlane(tess.getPoint(side.second));
            const SbVec2f p = inPlane(tess.getPoint(across[0])),
                          q = inPlane(tess.getPoint(across.back()));
            const bool convex = across.size() == 2 && cross(p, q, a) * cross(p, q, b) < 0;
            EXPECT_TRUE(!convex || angle(p, a, b) + angle(q, a, b) < 3.1426f);
        }
        std::uniform_real_distribution<float> place(-1.2f, 1.2f);
        for (int k = 0; k < 3000; ++k) {
            const SbVec2f p(place(random), place(random));
            const std::optional<int> winding = windingNumber(contours, p, 1e-3f);
            if (!winding) continue;
            int covering = 0;
            for (const auto& t : triangles) {
                const double a = cross(t[0], t[1], p), b = cross(t[1], t[2], p),
                             d = cross(t[2], t[0], p);
                covering += (a > 0 && b > 0 && d > 0) || (a < 0 && b < 0 && d < 0);
            }
            const bool inside = c.winding == T::ODD ? *winding % 2 != 0 : *winding != 0;
            ASSERT_EQ(covering, inside ? 1 : 0) << p[0] << " " << p[1];
        }
    }
}
