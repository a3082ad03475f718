// The outline of points in a plane: its corners are points of the set, no point lies beyond
// any of its edges, and no corner lies on the line of its neighbours.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "views/ConvexOutline.h"

TEST(ConvexOutline, HoldsEveryPointAndTurnsAtEveryCorner) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int trial = 0; trial < 60; ++trial) {
        std::vector<std::array<double, 2>> points;
        const int kind = trial % 3;  // a cloud, a flat strip on two lines, points on a circle
        for (int i = 0; i < 200; ++i) {
            const double t = unit(random), s = unit(random);
            points.push_back(kind == 0   ? std::array<double, 2>{t, s}
                             : kind == 1 ? std::array<double, 2>{t, s < 0 ? 0.0 : 0.1}
                                         : std::array<double, 2>{std::cos(3 * t), std::sin(3 * t)});
        }
        points.push_back({NAN, 0.0});
        points.push_back(points[7]);
        std::vector<size_t> corners = ConvexOutline::cornersOf(points);
        ASSERT_GE(corners.size(), 3u);
        // Counter-clockwise: each corner turns left, and no point lies right of an edge.
        for (size_t k = 0; k < corners.size(); ++k) {
            const auto &a = points[corners[k]], &b = points[corners[(k + 1) % corners.size()]],
                       &c = points[corners[(k + 2) % corners.size()]];
            EXPECT_GT((b[0] - a[0]) * (c[1] - b[1]) - (b[1] - a[1]) * (c[0] - b[0]), 0) << trial;
            for (const auto& p : points)
                EXPECT_FALSE((b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0]) < -1e-12)
                    << trial;
        }
    }
}
