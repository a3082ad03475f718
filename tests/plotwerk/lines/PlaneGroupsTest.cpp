// Sets of polygons in one plane: on random flat faces that arrive as fans of triangles (their
// corners a rounding off the plane), each followed by a triangle lifted off the face's plane;
// and on fine fans of thin triangles whose own planes the rounding tips. A search from a
// given object outwards finds what a search from the start finds.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "../../../libPlotWerk/src/hlhsr/lines/SoPlaneGroups.h"

namespace {

using Corners = std::vector<std::array<SoLinePoint, 3>>;

/// Triangles over corners that outlive them, in their sets, filed in rank order.
struct Grouped {
    Grouped(const Corners& corners, double tolerance) {
        for (const auto& triangle : corners)
            polygons.emplace_back(triangle.data(), 3, true, SoLineAttributes{});
        for (SoLineObject& polygon : polygons) objects.push_back(&polygon);
        planes = SoPlaneGroups(objects, tolerance);
        for (int r = 0; r < planes.getNumObjects(); ++r) filed.push_back(planes.objectAt(r));
    }
    std::vector<SoLineObject> polygons;
    std::vector<SoLineObject*> objects;
    SoPlaneGroups planes;
    std::vector<int> filed;
};

TEST(PlaneGroups, AFacesFanIsOneSetAndEveryPairOfSetsIsAskedOnce) {
    constexpr double kTolerance = 1e-4;
    constexpr int kFan = 8, kFaces = 12;  // a face's triangles; the lifted one follows
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> unit(-1, 1);
    Corners corners;
    for (int f = 0; f < kFaces; ++f) {
        const double a = unit(random), b = unit(random), c = unit(random);  // z = ax + by + c
        auto on = [&](double turn, double radius, double lift) {
            const double x = radius * std::cos(turn), y = radius * std::sin(turn);
            return SoLinePoint{x, y, a * x + b * y + c + lift + 0.1 * kTolerance * unit(random)};
        };
        for (int k = 0; k <= kFan; ++k)
            corners.push_back({on(0, 0, k < kFan ? 0 : 3 * kTolerance), on(0.7 * k, 1, 0),
                               on(0.7 * k + 0.7, 1, 0)});
    }
    corners.push_back({SoLinePoint{0, 0, 0}, {0.5, 0.5, 0}, {1, 1, 0}});  // hides nothing
    const Grouped grouped(corners, kTolerance);
    const SoPlaneGroups& planes = grouped.planes;
    const std::vector<int>& filed = grouped.filed;
    const int n = static_cast<int>(corners.size());
    std::vector<int> outside(n * n, 0), asked(n * n, 0);  // per pair o * n + p
    for (int o = 0; o < n; ++o) {
        planes.forEachOutsideSetOf(o, filed, [&](int p) { outside[o * n + p] = 1; });
        // Asked from any object outwards, as from the last hider, the search finds the same.
        const auto pick = [&](int p) { return p % 5 == 3; };
        const int found = planes.findOutsideSetOfNear(o, (o * 7) % n, filed, pick);
        EXPECT_EQ(found < 0, planes.findOutsideSetOf(o, filed, pick) < 0) << o;
        EXPECT_TRUE(found < 0 || (pick(found) && outside[o * n + found])) << o;
        planes.forEachAfterSetOf(o, filed,
                                 [&](int p) { ++asked[std::max(o, p) * n + std::min(o, p)]; });
        for (int p = 0; p < o; ++p) {  // each pair asked by now, if ever
            EXPECT_EQ(asked[o * n + p], outside[o * n + p]) << o << " " << p;
            double off = 0;  // p's corners from o's plane
            for (const SoLinePoint& c : corners[size_t(p)])
                off = std::max(off, std::fabs(grouped.objects[o]->planeDistance(c)));
            const bool oneFan = o / (kFan + 1) == p / (kFan + 1) && o % (kFan + 1) < kFan;
            EXPECT_TRUE(outside[o * n + p] ? !oneFan : off <= kTolerance) << o << " " << p;
        }
    }
}

// A fine disc's fan from a point of its rim: thousands of triangles a few ten-thousandths wide,
// their corners rounded to floats as the page's are, which tips each one's own plane by more
// than the tolerance across the disc.
TEST(PlaneGroups, AFineFanOfThinTrianglesIsOneSet) {
    constexpr double kPi = 3.14159265358979323846;
    constexpr int kTriangles = 10000;
    auto rim = [&](int k) {  // on z = 0.3 x - 0.2 y + 0.1, from the apex at turn 0
        const double turn = k ? 0.1 + (2 * kPi - 0.2) * (k - 1) / kTriangles : 0;
        const double x = 0.9 * std::cos(turn), y = 0.9 * std::sin(turn);
        return SoLinePoint{float(x), float(y), float(0.3 * x - 0.2 * y + 0.1)};
    };
    Corners corners;
    for (int k = 1; k <= kTriangles; ++k) corners.push_back({rim(0), rim(k), rim(k + 1)});
    const Grouped grouped(corners, 1e-4);
    size_t outside = 0;
    for (int o = 0; o < kTriangles; o += 101)
        grouped.planes.forEachOutsideSetOf(o, grouped.filed, [&](int) { ++outside; });
    EXPECT_EQ(outside, 0u);
}

}  // namespace
