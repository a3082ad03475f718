// Syntax, pen-down paths, polygons and symbols: what gets drawn and with which state.

#include <gtest/gtest.h>

#include "HPGLBytes.h"

using namespace hpglbytes;
using Points = std::vector<std::pair<double, double>>;

// Mnemonics may follow each other without ';', with or without parameters.
TEST(Syntax, MnemonicsNeedNoSeparator) {
    const HPGLPlot plot =
        decodeFramed("IN;SP1LTPW0.35PE<=" + pair(0, 0) + pair(10, 0) + ";PU10,20PMPE" +
                     pair(30, 0) + pair(0, 30) + ";PM2FPLT2PU0,0");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_TRUE(plot.polylines[0].lineType.solid);
    EXPECT_EQ(plot.polylines[0].pen.width, 0.35);
    ASSERT_EQ(plot.polygons.size(), 1u);
    ASSERT_EQ(plot.polygons[0].subpaths.size(), 1u);
    EXPECT_EQ(xy(plot.polygons[0].subpaths[0].points),
              (Points{{10, 20}, {40, 20}, {40, 50}, {10, 20}}));
}

// Blanks and line feeds may stand between commands and parameters; decimals, signs and
// leading points are numbers; mnemonics are case-insensitive.
TEST(Syntax, BlanksLineFeedsAndDecimals) {
    const HPGLPlot plot = decodeFramed(" PA 12.5 , -3\n  pd 0.350000,+7 .5 -1.25;\r\n PU ; ");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(xy(plot.polylines[0].points), (Points{{12.5, -3}, {0.35, 7}, {0.5, -1.25}}));
}

// A path runs from the first pen-down move after a lift to the next lift, across commands.
TEST(Paths, PenDownPathSpansCommandsUntilPenUp) {
    const HPGLPlot plot = decodeFramed("SP1PA0,0PD10,0PD10,10PA20,20PU30,30PD40,40PU;PD;PU;");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 2u);
    EXPECT_EQ(xy(plot.polylines[0].points), (Points{{0, 0}, {10, 0}, {10, 10}, {20, 20}}));
    EXPECT_EQ(xy(plot.polylines[1].points), (Points{{30, 30}, {40, 40}}));
}

// PR makes later moves relative until PA; several pairs in one command each move.
TEST(Paths, RelativeAndAbsoluteModes) {
    const HPGLPlot plot = decodeFramed("PA100,100PR;PD10,0,0,10 -20,-10;PA;PD0,0;PU");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(xy(plot.polylines[0].points),
              (Points{{100, 100}, {110, 100}, {110, 110}, {90, 100}, {0, 0}}));
}

// A change of pen, line type or width ends the path without lifting the pen: the next
// drawn move starts a new path at the current position with the new state.
TEST(Paths, StateChangesSplitThePath) {
    const HPGLPlot plot = decodeFramed("SP1PA0,0PD10,0LT2PD20,0PW0.5PD30,0SP2PD40,0PU");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 4u);
    EXPECT_EQ(xy(plot.polylines[1].points), (Points{{10, 0}, {20, 0}}));
    EXPECT_EQ(xy(plot.polylines[3].points), (Points{{30, 0}, {40, 0}}));
    EXPECT_TRUE(plot.polylines[0].lineType.solid);
    EXPECT_FALSE(plot.polylines[1].lineType.solid);
    EXPECT_EQ(plot.polylines[1].pen.width, 0.35);
    EXPECT_EQ(plot.polylines[2].pen.width, 0.5);
    EXPECT_EQ(plot.polylines[3].pen.number, 2);
}

// Moves in polygon mode fill the buffer instead of drawing; PM1 closes a subpath back to its
// first point, which becomes the pen position; FP takes the buffer with the pen of the time.
TEST(Polygons, EncodedSubpathsClosedAndFilled) {
    const HPGLPlot plot =
        decodeFramed("SP3PA100,100PM0PE" + pair(100, 0) + pair(0, 100) + pair(-100, 0) + ";PM1PE<" +
                     pair(200, 200) + pair(50, 0) + pair(0, 50) + ";PM2FP1;");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    EXPECT_TRUE(plot.polylines.empty());
    ASSERT_EQ(plot.polygons.size(), 1u);
    const HPGLPolygon& g = plot.polygons[0];
    EXPECT_FALSE(g.edged);
    EXPECT_EQ(g.fillMethod, 1);
    EXPECT_EQ(g.pen.number, 3);
    ASSERT_EQ(g.subpaths.size(), 2u);
    EXPECT_TRUE(g.subpaths[0].closed);
    EXPECT_EQ(xy(g.subpaths[0].points),
              (Points{{100, 100}, {200, 100}, {200, 200}, {100, 200}, {100, 100}}));
    EXPECT_TRUE(g.subpaths[1].closed);
    EXPECT_EQ(xy(g.subpaths[1].points), (Points{{300, 300}, {350, 300}, {350, 350}, {300, 300}}));
}

// A pen-up move inside polygon mode starts a new subpath; FP and EP both use the buffer,
// which outlives them; the fill type in force goes with each.
TEST(Polygons, PenUpStartsSubpathAndBufferServesFillAndEdge) {
    const HPGLPlot plot =
        decodeFramed("FT10,30PM0PU0,0PD10,0,10,10PU50,50PD60,50,60,60PM2FP;EP;FT;FP");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polygons.size(), 3u);
    for (const HPGLPolygon& g : plot.polygons) {
        ASSERT_EQ(g.subpaths.size(), 2u);
        EXPECT_FALSE(g.subpaths[0].closed);
        EXPECT_EQ(xy(g.subpaths[0].points), (Points{{0, 0}, {10, 0}, {10, 10}}));
        EXPECT_EQ(xy(g.subpaths[1].points), (Points{{50, 50}, {60, 50}, {60, 60}, {50, 50}}));
    }
    EXPECT_FALSE(plot.polygons[0].edged);
    EXPECT_TRUE(plot.polygons[1].edged);
    EXPECT_EQ(plot.polygons[0].fillMethod, 0);
    EXPECT_EQ(plot.polygons[0].fillType.type, 10);
    EXPECT_EQ(plot.polygons[0].fillType.options, std::vector<double>{30});
    EXPECT_EQ(plot.polygons[2].fillType.type, 1);
}

TEST(Polygons, MisuseIsReported) {
    const HPGLPlot inside = decodeFramed("PM0PD10,10FP");
    EXPECT_TRUE(inside.hasError("FP inside polygon mode")) << errorsOf(inside);
    EXPECT_TRUE(inside.hasError("polygon mode still open")) << errorsOf(inside);
    const HPGLPlot empty = decodeFramed("FP");
    EXPECT_TRUE(empty.hasError("empty polygon buffer")) << errorsOf(empty);
    const HPGLPlot stray = decodeFramed("PM1");
    EXPECT_TRUE(stray.hasError("PM1 outside PM0")) << errorsOf(stray);
}

// Every point reached while symbol mode is on is marked, whether drawn, moved to or encoded.
TEST(Symbols, SymbolModeMarksEveryPoint) {
    const HPGLPlot plot =
        decodeFramed("SP2SM*PA10,20,30,40PU50,60PE" + pair(1, 1) + ";SM;PA70,80SM+;PU1,2;");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.symbols.size(), 5u);
    const Points expected = {{10, 20}, {30, 40}, {50, 60}, {51, 61}, {1, 2}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(plot.symbols[i].symbol, i < 4 ? '*' : '+');
        EXPECT_EQ(plot.symbols[i].pen.number, 2);
        EXPECT_EQ(plot.symbols[i].at.x, expected[i].first);
        EXPECT_EQ(plot.symbols[i].at.y, expected[i].second);
    }
}
