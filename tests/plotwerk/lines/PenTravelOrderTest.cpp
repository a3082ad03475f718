// The order a pen plotter draws a hidden-line drawing in: every line still drawn, each kind
// of line together, and far less travel with the pen up than in the order the lines came.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "../../../libPlotWerk/src/hlhsr/lines/SoPenTravelOrder.h"

namespace {

/// How far the pen moves up, from (-1, -1), to draw the lines in their order.
float travel(const std::vector<SoVisibleLine>& lines) {
    float up = 0.0f, x = -1, y = -1;
    for (const SoVisibleLine& l : lines) {
        up += std::hypot(l.points.front()[0] - x, l.points.front()[1] - y);
        x = l.points.back()[0], y = l.points.back()[1];
    }
    return up;
}

/// A line as drawn: a solid one from its left end, either way round; a dashed one as is.
std::vector<SbVec4f> drawn(const SoVisibleLine& l) {
    std::vector<SbVec4f> p = l.points;
    if (l.attributes.linePattern == 0xFFFF && p.back()[0] < p.front()[0])
        std::reverse(p.begin(), p.end());
    return p;
}

// The pieces of one dashed line from the page's corner, last first, then short lines of
// two or three points strewn over the page in `colors` colours, solid and dashed.
TEST(PenTravelOrder, EveryLineDrawnByKindWithLittleTravel) {
    for (int colors : {3, 40}) {
        std::mt19937 random(20261208 + colors);
        std::uniform_real_distribution<float> place(-1, 1), step(-0.05f, 0.05f);
        std::vector<SoVisibleLine> lines;
        for (int k = 9; k >= 0; --k)  // one dashed line's pieces, last first, from the corner
            lines.push_back(
                {{SbVec4f(k / 16.0f - 1, -1, 0, 0), SbVec4f((k + 1) / 16.0f - 1, -1, 0, 0)},
                 {SbColor(1, 1, 1), 0, 0xFF00, 1}});
        for (int i = 0; i < 600; ++i) {
            // Depths as a hidden-line drawing has them: the order reads x and y alone.
            const SbVec4f a(place(random), place(random), place(random), 0);
            std::vector<SbVec4f> points = {a, a + SbVec4f(step(random), step(random), 0, 0)};
            if (i % 3 == 0) points.push_back(points.back() + SbVec4f(step(random), 0, 0, 0));
            lines.push_back({points,
                             {SbColor(float(i % colors) / colors, 0, 0), 0,
                              static_cast<unsigned short>(i % 4 ? 0xFFFF : 0xF0F0), 1}});
        }
        std::vector<SoVisibleLine> ordered = lines;
        float x = -1, y = -1;
        SoPenTravelOrder::arrange(ordered, x, y);
        ASSERT_EQ(ordered.size(), lines.size());
        EXPECT_LT(travel(ordered), travel(lines) / 5) << colors << " colours";
        std::vector<std::vector<SbVec4f>> before, after;
        for (size_t i = 0; i < lines.size(); ++i)
            before.push_back(drawn(lines[i])), after.push_back(drawn(ordered[i]));
        EXPECT_TRUE(std::is_permutation(before.begin(), before.end(), after.begin(), after.end()))
            << "each line once, a dashed one only forwards";
        size_t kinds = 1;  // each kind in one run, if colours are few enough to be pens
        for (size_t i = 1; i < ordered.size(); ++i)
            kinds += !(ordered[i].attributes.color == ordered[i - 1].attributes.color &&
                       ordered[i].attributes.linePattern == ordered[i - 1].attributes.linePattern);
        EXPECT_TRUE(colors > 16 || kinds == 2u * colors + 1) << kinds;
        for (int k = 1; k < 10; ++k)
            EXPECT_EQ(ordered[k].points.front(), ordered[k - 1].points.back()) << "end to end";
    }
}

// A zigzag's pieces, shuffled, some turned round, the pen near their middle: one line where the
// pen may draw on (solid, the drawing's own pattern), apart in a source's pattern or two colours.
TEST(PenTravelOrder, PiecesThatMeetEndToEndBecomeOneLine) {
    const struct {
        unsigned short pattern;
        bool patternsRunOn;
        int colors;
        size_t lines;
    } cases[] = {
        {0xFFFF, false, 1, 1}, {0xFF00, true, 1, 1}, {0xFF00, false, 1, 8}, {0xFFFF, false, 2, 8}};
    for (const auto& c : cases) {
        std::vector<SbVec4f> zigzag;
        for (int k = 0; k <= 8; ++k) zigzag.emplace_back(k / 8.0f - 0.5f, k % 2 * 0.3f, 0, 0);
        std::vector<SoVisibleLine> lines;
        for (int k = 0; k < 8; ++k) {
            lines.push_back({{zigzag[k], zigzag[k + 1]},
                             {SbColor(float(k % c.colors), 0, 0), 0, c.pattern, 1}});
            if (k % 3 == 1) std::reverse(lines.back().points.begin(), lines.back().points.end());
        }
        std::shuffle(lines.begin(), lines.end(), std::mt19937(20261209));
        float x = 0, y = -1;
        SoPenTravelOrder::arrange(lines, x, y, c.patternsRunOn);
        ASSERT_EQ(lines.size(), c.lines) << c.pattern << " " << c.colors;
        if (c.lines != 1) continue;
        std::vector<SbVec4f> reversed(zigzag.rbegin(), zigzag.rend());
        EXPECT_TRUE(lines[0].points == zigzag || lines[0].points == reversed);
    }
}

}  // namespace
