// The buckets hiding polygons are filed in: every point of a random triangle (some beyond
// the page, some slivers along a row) finds it in its own bucket, and a long thin triangle
// across the page takes few of its box's buckets.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

#include "../../../libPlotWerk/src/hlhsr/lines/SoLineGrid.h"

namespace {

TEST(LineGrid, EveryPointOfAPolygonFindsItInFewBuckets) {
    std::mt19937 random(20261209);
    std::uniform_real_distribution<double> place(-1.3, 1.3), share(0, 1);
    for (int columns : {1, 37, SoLineGrid::ROWS}) {
        SoLineGrid grid(columns);
        std::vector<std::array<SoLinePoint, 3>> corners(300);
        for (size_t k = 0; k < corners.size(); ++k) {
            for (SoLinePoint& p : corners[k]) p = {place(random), place(random), 0.0};
            if (k % 5 == 0) corners[k][2].y = corners[k][0].y + 1e-7;
            grid.addPolygon(int(k), SoLineObject(corners[k].data(), 3, true, {}));
        }
        for (size_t k = 0; k < corners.size(); ++k) {
            for (int i = 0; i < 40; ++i) {  // inside, on an edge, at a corner
                double w[3] = {share(random), i % 4 == 1 ? 0 : share(random), share(random)};
                if (i % 4 == 2) w[0] = w[1] = 0;
                double x = 0, y = 0;
                for (int c = 0; c < 3; ++c)
                    x += corners[k][c].x * w[c] / (w[0] + w[1] + w[2]),
                        y += corners[k][c].y * w[c] / (w[0] + w[1] + w[2]);
                const std::vector<int>& filed = grid.at(x, y);
                EXPECT_NE(std::find(filed.begin(), filed.end(), int(k)), filed.end())
                    << k << " at " << x << " " << y << ", " << columns << " columns";
            }
        }
    }
    const SoLinePoint thin[3] = {{-0.9, -0.9, 0}, {0.9, 0.9, 0}, {0.9, 0.9002, 0}};
    const SoLineGrid grid(SoLineGrid::ROWS);
    size_t buckets = 0;
    grid.forEachBucketOver(SoLineObject(thin, 3, true, {}), 0.0, [&](size_t) { ++buckets; });
    EXPECT_LT(buckets * 50.0, grid.countBucketsIn(-0.9, -0.9, 0.9, 0.9002));
}

}  // namespace
