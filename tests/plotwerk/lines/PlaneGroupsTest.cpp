// Sets of polygons in one plane: on random flat faces that arrive as fans of triangles (their
// corners a rounding off the plane), each followed by a triangle lifted off the face's plane;
// and on fine fans of thin triangles whose own planes the rounding tips.

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
    const Grouped grouped(corners, kTolerance);
    const SoPlaneGroups& planes = grouped.planes;
    const std::vector<int>& filed = grouped.filed;
    const int n = kFaces * (kFan + 1);
    std::vector<int> outside(n * n, 0), asked(n * n, 0);  // per pair o * n + p
    for (int o = 0; o < n; ++o) {
        planes.forEachOutsideSetOf(o, filed, [&](int p) { outside[o * n + p] = 1; });
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
    constexpr double kTolerance = 1e-4, kPi = 3.14159265358979323846;
    constexpr int kTriangles = 10000;
    std::mt19937 random(20261211);
    std::uniform_real_distribution<double> unit(-1, 1);
    for (int trial = 0; trial < 3; ++trial) {
        const double a = unit(random) / 2, b = unit(random) / 2, c = unit(random) / 2;
        auto rim = [&](int k) {
            const double turn = 0.1 + (2 * kPi - 0.2) * k / kTriangles;
            const double x = 0.9 * std::cos(turn), y = 0.9 * std::sin(turn);
            return SoLinePoint{float(x), float(y), float(a * x + b * y + c)};
        };
        const double apexX = 0.9, apexY = 0;
        const SoLinePoint apex{apexX, apexY, float(a * apexX + b * apexY + c)};
        Corners corners;
        for (int k = 0; k < kTriangles; ++k) corners.push_back({apex, rim(k), rim(k + 1)});
        const Grouped grouped(corners, kTolerance);
        size_t outside = 0;
        for (int o = 0; o < kTriangles; o += 101)
            grouped.planes.forEachOutsideSetOf(o, grouped.filed, [&](int) { ++outside; });
        EXPECT_EQ(outside, 0u) << trial;
    }
}

}  // namespace
