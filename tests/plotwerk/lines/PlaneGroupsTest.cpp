// Sets of polygons in one plane, on random flat faces that arrive as fans of triangles (their
// corners a rounding off the plane), each followed by a triangle lifted off the face's plane.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "../../../libPlotWerk/src/hlhsr/lines/SoPlaneGroups.h"

namespace {

TEST(PlaneGroups, AFacesFanIsOneSetAndEveryPairOfSetsIsAskedOnce) {
    constexpr double kTolerance = 1e-4;
    constexpr int kFan = 8, kFaces = 12;  // a face's triangles; the lifted one follows
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::vector<std::array<SoLinePoint, 3>> corners;
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
    std::vector<SoLineObject> polygons;
    for (const auto& triangle : corners)
        polygons.emplace_back(triangle.data(), 3, true, SoLineAttributes{});
    std::vector<SoLineObject*> objects;
    for (SoLineObject& polygon : polygons) objects.push_back(&polygon);
    const SoPlaneGroups planes(objects, kTolerance);
    std::vector<int> filed;
    for (int r = 0; r < planes.getNumObjects(); ++r) filed.push_back(planes.objectAt(r));
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
                off = std::max(off, std::fabs(objects[o]->planeDistance(c)));
            const bool oneFan = o / (kFan + 1) == p / (kFan + 1) && o % (kFan + 1) < kFan;
            EXPECT_TRUE(outside[o * n + p] ? !oneFan : off <= kTolerance) << o << " " << p;
        }
    }
}

}  // namespace
