// Every point of a random triangle, segment or point lies in a cell of its spans at every
// level; a slanted sliver touches cells along its length, not its box.

#include <cmath>
#include <random>

#include "../../../libPlotWerk/src/hlhsr/SoCellGrid.h"
#include "HlhsrFixture.h"

using namespace hlhsr;

TEST(CellGrid, EveryPointOfAnOutlineLiesInACellOfItsSpans) {
    std::mt19937 random(17);
    std::uniform_real_distribution<float> unit(0, 1);
    std::vector<SoCellGrid::Span> spans;
    for (int round = 0; round < 400; ++round) {
        const float origin[2] = {-2 * unit(random), -2 * unit(random)};
        const float scale[2] = {1 + 600 * unit(random), 1 + 600 * unit(random)};
        const int cells[2] = {1 << (round % 9), 1 << (round % 7)}, level = round % 4;
        const SoCellGrid grid(origin[0], origin[1], scale[0], scale[1], cells[0], cells[1]);
        const int corners = 1 + round % 3;
        std::vector<SbVec4f> p;
        for (int k = 0; k < corners; ++k)
            p.push_back(pt(4 * unit(random) - 2.5f, 4 * unit(random) - 2.5f, 0));
        ASSERT_TRUE(grid.outlineSpans(p.data(), corners, level, spans));
        for (int sample = 0; sample < 200; ++sample) {
            double w[3] = {unit(random), unit(random), unit(random)}, at[2] = {0, 0};
            int cell[2];
            for (int axis = 0; axis < 2; ++axis) {
                for (int k = 0; k < 3; ++k)
                    at[axis] += w[k] / (w[0] + w[1] + w[2]) * p[std::min(k, corners - 1)][axis];
                const double g = std::floor((at[axis] - origin[axis]) * double(scale[axis]));
                cell[axis] = static_cast<int>(std::clamp(g, 0.0, cells[axis] - 1.0)) >> level;
            }
            bool in = false;
            for (const SoCellGrid::Span& s : spans)
                in |= s.row == cell[1] && s.first <= cell[0] && cell[0] <= s.last;
            EXPECT_TRUE(in) << "round " << round << ": " << at[0] << ", " << at[1];
        }
    }
    const SbVec4f sliver[3] = {pt(0, 0, 0), pt(1, 0.999f, 0), pt(1, 1, 0)};
    ASSERT_TRUE(SoCellGrid(0, 0, 1024, 1024, 1024, 1024).outlineSpans(sliver, 3, 0, spans));
    EXPECT_LE(SoCellGrid::cellsOf(spans), 4u * 1024u);  // its box holds a million
    const SbVec4f notFinite[2] = {pt(0, 0, 0), pt(NAN, 1, 0)};
    EXPECT_FALSE(SoCellGrid(0, 0, 1, 1, 1, 1).outlineSpans(notFinite, 2, 0, spans));
}
