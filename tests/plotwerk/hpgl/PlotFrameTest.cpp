// The plot frame: the escape and initialisation, the palette, the page, line attributes,
// the input windows of viewports and border, the background, and the end of the plot.

#include <PlotWerk/SoVectorizeHPGLAction.h>

#include <cstring>
#include <sstream>

#include "../../../libPlotWerk/src/frame/SoColorCube.h"
#include "plotwerk/hpgl/HPGLFixture.h"
#include "support/DebugErrorRecorder.h"

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

Points xy(const std::vector<HPGLPoint>& points) {
    Points out;
    for (const HPGLPoint& p : points) out.emplace_back(p.x, p.y);
    return out;
}

namespace {

// The escape into HP-GL/2 and the initialisation are fixed bytes; the palette is the colour
// cube, and in landscape the plot is turned and the page given across.
TEST_F(HPGLTest, TheHeaderEntersHPGLWithTheCubePaletteAndThePage) {
    struct Case {
        SoVectorizeAction::Orientation orientation;
        const char* start;
        std::vector<double> size;
        int rotation;
    };
    const Case cases[] = {
        {SoVectorizeAction::PORTRAIT, "\x1b%-1B\nIN;FT;NP256;TR0;\n", {7600, 11080}, 0},
        {SoVectorizeAction::LANDSCAPE, "\x1b%-1B\nIN;RO90;IP;FT;NP256;TR0;\n", {11080, 7600}, 90},
    };
    for (const Case& c : cases) {
        HPGLTestAction plotter;
        plotter.setOrientation(c.orientation);
        plotter.writeHeader();
        const std::string text = plotter.text();
        EXPECT_EQ(text.substr(0, std::strlen(c.start)), c.start);
        const HPGLPlot plot = HPGLDecoder::decode(text);
        ASSERT_TRUE(plot.clean()) << plot.errors.front();
        EXPECT_EQ(plot.plotSize, c.size);
        EXPECT_EQ(plot.rotation, c.rotation);
        EXPECT_EQ(plot.pens, 256);
        ASSERT_EQ(plot.palette.size(), 256u);
        for (const auto& [pen, colour] : plot.palette) {
            int rgb[3];
            SoColorCube::colorOf(pen, rgb);
            EXPECT_EQ(std::vector<double>({colour.r, colour.g, colour.b}),
                      std::vector<double>({1.0 * rgb[0], 1.0 * rgb[1], 1.0 * rgb[2]}))
                << "pen " << pen;
        }
    }
}

TEST_F(HPGLTest, APenTableReplacesThePalette) {
    const SbColor colors[2] = {SbColor(1, 0, 0), SbColor(0.5f, 0.25f, 1.0f)};
    const float widths[2] = {0.35f, 0.7f};
    action->setPenDescription(2, colors, widths);
    action->writeHeader();
    EXPECT_EQ(action->text(),
              "\x1b%-1B\nIN;FT;NP2;TR0;\nPC0,255,0,0\nPC1,127,63,255\nPS7600,11080;\n"
              "LA1,1,2,6,3,1.50\n");
}

TEST_F(HPGLTest, LineAttributesFollowTheEndAndJoinStyles) {
    struct Case {
        SoVectorizeAction::EndLineStyle end;
        SoVectorizeAction::JoinLineStyle join;
        float miter;
        const char* expected;
    };
    const Case cases[] = {
        {SoVectorizeAction::BUTT_END, SoVectorizeAction::MITERED_JOIN, 1.5f, "LA1,1,2,6,3,1.50"},
        {SoVectorizeAction::SQUARE_END, SoVectorizeAction::ROUND_JOIN, 4.0f, "LA1,2,2,1,3,4.00"},
        {SoVectorizeAction::ROUND_END, SoVectorizeAction::BEVELED_JOIN, 2.25f, "LA1,3,2,2,3,2.25"},
        {SoVectorizeAction::ROUND_END, SoVectorizeAction::NO_JOIN, 1.0f, "LA1,3,2,5,3,1.00"},
    };
    for (const Case& c : cases) {
        HPGLTestAction plot;
        plot.setLineEndStyle(c.end);
        plot.setLineJoinsStyle(c.join);
        plot.setMiterLimit(c.miter);
        plot.writeHeader();
        EXPECT_EQ(linesOf(plot.text()).back(), c.expected);
    }
}

// (5 + 1) mm and (7 + 2) mm from the sheet's corner: 240 and 360 plotter units.
TEST_F(HPGLTest, APageGivesItsOwnSizeAndMovesEveryPoint) {
    action->beginPage(SbVec2f(5, 7), SbVec2f(420, 297));
    action->setStartPosition(1.0f, 2.0f);
    action->writeHeader();
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0));
    action->endPage();
    const HPGLPlot plot = decoded();
    EXPECT_EQ(plot.plotSize, (std::vector<double>{16800, 11880}));
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(xy(plot.polylines[0].points), (Points{{240, 360}, {280, 360}}));
}

TEST_F(HPGLTest, EveryViewportReplacesTheInputWindowAndTheFooterEndsThePage) {
    action->startDocument();
    const SbBox2f limits = action->getClippingLimits();
    EXPECT_FLOAT_EQ(limits.getMin()[0], 400.0f);
    EXPECT_FLOAT_EQ(limits.getMax()[1], 11480.0f);
    action->setHardwareClip();
    action->setHardwareClip();
    action->writeFooter();
    const std::string window = "IW400.000000,400.000000,8000.000000,11480.000000;\n";
    EXPECT_EQ(action->sinceMark(), window + window + "SPPG;\n");
}

// White swaps to black (pen 0); the frame runs round the drawing, which the window opens.
TEST_F(HPGLTest, TheBorderOpensTheWindowToTheDrawingAndFramesIt) {
    action->setBorder(2.0f, SbColor(1, 1, 1));
    action->startDocument();
    action->printBorder();
    const HPGLPlot plot = decoded();
    ASSERT_EQ(plot.polylines.size(), 1u);
    const HPGLPolyline& frame = plot.polylines[0];
    EXPECT_EQ(frame.pen.number, 0);
    EXPECT_NEAR(frame.pen.width, 2.0 * 25.4 / 72.0, 1e-5);
    EXPECT_EQ(xy(frame.points),
              (Points{{400, 400}, {8000, 400}, {8000, 11480}, {400, 11480}, {400, 400}}));
    ASSERT_TRUE(frame.window.set);
    EXPECT_EQ(xy({frame.window.lowerLeft, frame.window.upperRight}),
              (Points{{400, 400}, {8000, 11480}}));
    action->setBorder(0.0f);
    action->mark();
    action->printBorder();
    EXPECT_EQ(action->sinceMark(), "");
}

TEST_F(HPGLTest, TheBackgroundFillsTheDrawing) {
    action->setStartPosition(0.0f, 0.0f);
    action->setDrawingDimensions(1.0f, 1.0f);
    action->setBackgroundColor(1, SbColor(1, 0, 0));
    action->startDocument();
    action->printBackground();
    action->setBackgroundColor(0);
    action->mark();
    action->printBackground();
    EXPECT_EQ(action->sinceMark(), "");
    const HPGLPlot plot = decoded();
    ASSERT_EQ(plot.polygons.size(), 1u);
    EXPECT_EQ(plot.polygons[0].pen.number, SoColorCube::indexOf(255, 0, 0));
    ASSERT_EQ(plot.polygons[0].subpaths.size(), 1u);
    EXPECT_EQ(xy(plot.polygons[0].subpaths[0].points),
              (Points{{0, 0}, {40, 0}, {40, 40}, {0, 40}, {0, 0}}));
}

TEST_F(HPGLTest, TheHeaderForgetsThePreviousPlotsSettings) {
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0), 2.0f, 0xFF00);
    action->label(0, 0, "a");
    action->writeFooter();
    action->startDocument();
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0), 2.0f, 0xFF00);
    const std::string again = action->sinceMark();
    EXPECT_EQ(again.rfind("UL8,", 0), 0u);
    EXPECT_NE(again.find("PW0.705556PE:?\xC6<="), std::string::npos);
}

TEST(HPGLRegistrationTest, RegistersBelowTheVectorizeActionAndMessagesNameTheBackend) {
    SoPlotWerk::init();
    const SoType type = SoType::fromName("SoVectorizeHPGLAction");
    EXPECT_EQ(type, SoVectorizeHPGLAction::getClassTypeId());
    EXPECT_EQ(type.getParent(), SoVectorizeAction::getClassTypeId());
    {
        HPGLTestAction action;
        EXPECT_EQ(action.getTypeId(), type);
        EXPECT_EQ(action.getVectorOutput(), action.getHPGLVectorOutput());
    }
    SoVectorizeHPGLAction::exitClass();
    {
        DebugErrorRecorder recorder;
        SoVectorizeHPGLAction::exitClass();
        EXPECT_TRUE(recorder.contains("SoVectorizeHPGLAction::exitClass"));
        recorder.clear();
        SoVectorizeHPGLAction action;
        EXPECT_TRUE(recorder.contains("SO_ACTION_CONSTRUCTOR", "SoVectorizeHPGLAction"));
        EXPECT_FALSE(SoVectorizeHPGLAction::getClassTypeId().isBad());
    }
    SoPlotWerk::finish();
    EXPECT_TRUE(SoType::fromName("SoVectorizeHPGLAction").isBad());
}

// Same pen, width and line type: the copy selects nothing again, on its own output.
TEST_F(HPGLTest, ACopyGoesOnWithTheSamePlotState) {
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0));
    HPGLTestAction copy;
    static_cast<SoVectorizeHPGLAction&>(copy) = *action;
    copy.mark();
    copy.line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0));
    EXPECT_EQ(copy.sinceMark(), "PE<=\xBF\xBFO\xC0\xBF;\n");
    EXPECT_NE(copy.getHPGLVectorOutput(), action->getHPGLVectorOutput());
}

}  // namespace
