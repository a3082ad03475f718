// Settings: input window, line types, palette, pen widths and the plot-level values.

#include <gtest/gtest.h>

#include "HPGLBytes.h"

using namespace hpglbytes;

// Each IW replaces the previous one; IW; removes it. Paths carry the window of their time.
TEST(State, InputWindowReplacedAndReset) {
    const HPGLPlot plot =
        decodeFramed("SP1IW0,0,100,100PA0,0PD5,5PU;IW10,-20,50.5,60PD7,7PU;IW;PD9,9PU;IW1,2,3,4");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 3u);
    const HPGLWindow& first = plot.polylines[0].window;
    ASSERT_TRUE(first.set);
    EXPECT_EQ(first.upperRight.x, 100);
    const HPGLWindow& second = plot.polylines[1].window;
    ASSERT_TRUE(second.set);
    EXPECT_EQ(second.lowerLeft.x, 10);
    EXPECT_EQ(second.lowerLeft.y, -20);
    EXPECT_EQ(second.upperRight.x, 50.5);
    EXPECT_EQ(second.upperRight.y, 60);
    EXPECT_FALSE(plot.polylines[2].window.set);
    ASSERT_TRUE(plot.window.set);
    EXPECT_EQ(plot.window.lowerLeft.y, 2);

    const HPGLPlot bad = decodeFramed("IW0,0,100");
    EXPECT_TRUE(bad.hasError("IW with 3 parameters")) << errorsOf(bad);
    const HPGLPlot reversed = decodeFramed("IW100,0,0,100");
    EXPECT_TRUE(reversed.hasError("out of order")) << errorsOf(reversed);
}

// LT; is solid; a type alone keeps the last pattern length and mode; LT99 brings back the
// type in force before LT;; UL patterns go with their type.
TEST(State, LineTypesAndUserPatterns) {
    const HPGLPlot plot = decodeFramed(
        "PA0,0PD10,0LT2,5,1PD20,0LT-3PD30,0LT;PD40,0LT99PD50,0UL8,10,20,30LT8PD60,0LT1PD70,0");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 7u);
    const auto& l = plot.polylines;
    EXPECT_TRUE(l[0].lineType.solid);
    EXPECT_FALSE(l[1].lineType.solid);
    EXPECT_EQ(l[1].lineType.type, 2);
    EXPECT_EQ(l[1].lineType.length, 5);
    EXPECT_EQ(l[1].lineType.mode, 1);
    EXPECT_EQ(l[2].lineType.type, -3);
    EXPECT_EQ(l[2].lineType.length, 5);
    EXPECT_EQ(l[2].lineType.mode, 1);
    EXPECT_TRUE(l[3].lineType.solid);
    EXPECT_FALSE(l[4].lineType.solid);
    EXPECT_EQ(l[4].lineType.type, -3);
    EXPECT_EQ(l[5].lineType.type, 8);
    EXPECT_EQ(l[5].lineType.gaps, (std::vector<double>{10, 20, 30}));
    EXPECT_TRUE(l[6].lineType.gaps.empty());

    const HPGLPlot bad = decodeFramed("LT9");
    EXPECT_TRUE(bad.hasError("bad line type 9")) << errorsOf(bad);
}

// PC colours go with the pen; pens without one take the default palette; PC with a pen
// alone restores its default; pens beyond NP are errors.
TEST(State, PaletteAndPenCount) {
    const HPGLPlot plot =
        decodeFramed("NP4PC1,10,20,30PC2,255,0,0;SP1PA0,0PD1,1SP3PD2,2PC1SP1PD3,3SP2PD4,4PU;SP5");
    ASSERT_EQ(plot.errors.size(), 1u) << errorsOf(plot);
    EXPECT_TRUE(plot.hasError("SP: pen 5 out of range 0..3"));
    EXPECT_EQ(plot.pens, 4);
    ASSERT_EQ(plot.polylines.size(), 4u);
    const auto colour = [&](std::size_t i) {
        const HPGLColour& c = plot.polylines[i].pen.colour;
        return std::vector<double>{c.r, c.g, c.b};
    };
    EXPECT_EQ(colour(0), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(colour(1), (std::vector<double>{0, 255, 0}));  // pen 3: green
    EXPECT_EQ(colour(2), (std::vector<double>{0, 0, 0}));    // pen 1 reset: black
    EXPECT_EQ(colour(3), (std::vector<double>{255, 0, 0}));
    EXPECT_EQ(plot.palette.size(), 1u);
    EXPECT_EQ(plot.palette.count(2), 1u);

    const HPGLPlot outside = decodeFramed("PC1,256,0,0");
    EXPECT_TRUE(outside.hasError("outside the range")) << errorsOf(outside);
    const HPGLPlot ranged = decodeFramed("CR0,100,0,100,0,100PC1,100,50,0");
    EXPECT_TRUE(ranged.clean()) << errorsOf(ranged);
    EXPECT_EQ(ranged.palette.at(1).g, 50);
}

// PW without a pen sets every pen; with one, that pen only; PW; restores 0.35 mm.
TEST(State, PenWidthsPerPenAndForAll) {
    const HPGLPlot plot =
        decodeFramed("SP1PA0,0PD1,0PW0.5PD2,0PW0.1,2SP2PD3,0SP1PD4,0PWSP2PD5,0WU1PD6,0");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 6u);
    const auto& l = plot.polylines;
    EXPECT_EQ(l[0].pen.width, 0.35);
    EXPECT_EQ(l[1].pen.width, 0.5);
    EXPECT_EQ(l[2].pen.width, 0.1);
    EXPECT_EQ(l[3].pen.width, 0.5);
    EXPECT_EQ(l[4].pen.width, 0.35);
    EXPECT_FALSE(l[4].pen.widthRelative);
    EXPECT_TRUE(l[5].pen.widthRelative);
}

// Plot-level settings are kept as given, even when a later IN resets the state.
TEST(State, PlotSettingsAreRecordedAsGiven) {
    const HPGLPlot plot = decodeFramed(
        "IN;RO90PS20000,15000.5LA1,4,2,4,3,7TR0FT10,30IP0,0,4000,3000PA0,0PD1,1PU;PG;IN;");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    EXPECT_EQ(plot.rotation, 90);
    EXPECT_EQ(plot.plotSize, (std::vector<double>{20000, 15000.5}));
    EXPECT_EQ(plot.lineAttributes.ends, 4);
    EXPECT_EQ(plot.lineAttributes.joins, 4);
    EXPECT_EQ(plot.lineAttributes.miterLimit, 7);
    EXPECT_FALSE(plot.transparency);
    EXPECT_EQ(plot.fillType.type, 10);
    EXPECT_EQ(plot.inputPoints, (std::vector<double>{0, 0, 4000, 3000}));
    EXPECT_EQ(plot.pages, 1);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(plot.polylines[0].attributes.ends, 4);

    const HPGLPlot badRotation = decodeFramed("RO45");
    EXPECT_TRUE(badRotation.hasError("RO: bad angle 45")) << errorsOf(badRotation);
    const HPGLPlot badJoin = decodeFramed("LA2,7");
    EXPECT_TRUE(badJoin.hasError("bad line join 7")) << errorsOf(badJoin);
}

// User scaling is legal: it is noted and recorded, and the coordinates stay as written.
TEST(State, ScalingIsNotedNotAnError) {
    const HPGLPlot plot = decodeFramed("SC0,100,0,100PA50,50PD60,60PU;SC;");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    EXPECT_TRUE(plot.scalingUsed);
    EXPECT_TRUE(plot.scaling.empty());
    ASSERT_EQ(plot.notes.size(), 1u);
    EXPECT_NE(plot.notes[0].find("SC"), std::string::npos);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(plot.polylines[0].points[1].x, 60);

    const HPGLPlot none = decodeFramed("SC;PA0,0");
    EXPECT_FALSE(none.scalingUsed);
    EXPECT_TRUE(none.notes.empty());
}

// CO comments are kept and do not disturb the commands around them.
TEST(State, CommentsAreKept) {
    const HPGLPlot plot = decodeFramed("CO\"made by hand; PD here\";PA0,0PD1,1");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    EXPECT_EQ(plot.comments, std::vector<std::string>{"made by hand; PD here"});
    EXPECT_EQ(plot.polylines.size(), 1u);
}
