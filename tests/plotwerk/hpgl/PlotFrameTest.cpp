// The plot frame: the escape and initialisation, the palette, the page, line attributes,
// the input windows of viewports and border, the end of the plot, and a copy in mid-plot.

#include "../../../libPlotWerk/src/frame/SoColorCube.h"
#include "plotwerk/hpgl/HPGLFixture.h"

namespace {

// The escape into HP-GL/2 and the initialisation are fixed bytes; the palette is the colour
// cube; in landscape the plot is turned and the page given across; the line attributes
// follow the action's end and join styles.
TEST_F(HPGLTest, TheHeaderEntersHPGLWithTheCubePaletteThePageAndLineAttributes) {
    using A = SoVectorizeAction;
    struct Case {
        A::Orientation orientation;
        A::EndLineStyle end;
        A::JoinLineStyle join;
        float miter;
        const char* attributes;
    };
    const Case cases[] = {
        {A::PORTRAIT, A::BUTT_END, A::NO_JOIN, 1.5f, "LA1,1,2,6,3,1.50"},
        {A::LANDSCAPE, A::SQUARE_END, A::MITERED_JOIN, 4.0f, "LA1,2,2,1,3,4.00"},
        {A::PORTRAIT, A::TRIANGULAR_END, A::MITERED_BEVELED_JOIN, 2.25f, "LA1,3,2,2,3,2.25"},
        {A::PORTRAIT, A::ROUND_END, A::BEVELED_JOIN, 1.0f, "LA1,4,2,5,3,1.00"},
        {A::PORTRAIT, A::BUTT_END, A::TRIANGULAR_JOIN, 1.0f, "LA1,1,2,3,3,1.00"},
        {A::PORTRAIT, A::BUTT_END, A::ROUND_JOIN, 1.0f, "LA1,1,2,4,3,1.00"},
    };
    for (const Case& c : cases) {
        const bool landscape = c.orientation == A::LANDSCAPE;
        HPGLTestAction plotter;
        plotter.setOrientation(c.orientation);
        plotter.setLineEndStyle(c.end);
        plotter.setLineJoinsStyle(c.join);
        plotter.setMiterLimit(c.miter);
        plotter.writeHeader();
        const std::string text = plotter.text();
        const std::string start =
            landscape ? "\x1b%-1B\nIN;RO90;IP;FT;NP256;TR0;\n" : "\x1b%-1B\nIN;FT;NP256;TR0;\n";
        EXPECT_EQ(text.substr(0, start.size()), start);
        EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1),
                  c.attributes + std::string("\n"));
        const HPGLPlot plot = HPGLDecoder::decode(text);
        ASSERT_TRUE(plot.clean()) << plot.errors.front();
        const std::vector<double> size = {landscape ? 11080.0 : 7600.0,
                                          landscape ? 7600.0 : 11080.0};
        EXPECT_EQ(plot.plotSize, size);
        EXPECT_EQ(plot.rotation, landscape ? 90 : 0);
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
    // A colour draws with the nearest pen, by its place in the table.
    action->line({mm(0, 0), mm(1, 0)}, SbColor(0.1f, 0.2f, 0.9f));
    EXPECT_EQ(decoded().polylines.at(0).pen.number, 1);
}

// Every viewport replaces the input window; the border opens it to the whole drawing and
// frames that, white swapped to black (pen 0); the footer ends the page.
TEST_F(HPGLTest, ViewportsAndTheBorderSetTheInputWindow) {
    action->setBorder(2.0f, SbColor(1, 1, 1));
    action->setStartPosition(5.0f, 10.0f);
    action->startDocument();
    action->setHardwareClip();
    action->setHardwareClip();
    action->printBorder();
    action->setBorder(0.0f);
    action->printBorder();
    action->writeFooter();
    const std::string text = action->sinceMark();
    const std::string window = "IW200.000000,400.000000,7800.000000,11480.000000;\n";
    EXPECT_EQ(text.substr(0, 3 * window.size()), window + window + window);
    EXPECT_EQ(text.substr(text.size() - 6), "SPPG;\n");
    const HPGLPlot plot = decoded();
    EXPECT_EQ(plot.pages, 1);
    ASSERT_EQ(plot.polylines.size(), 1u);
    const HPGLPolyline& frame = plot.polylines[0];
    EXPECT_EQ(frame.pen.number, 0);
    EXPECT_NEAR(frame.pen.width, 2.0 * 25.4 / 72.0, 1e-5);
    EXPECT_EQ(xy(frame.points),
              (Points{{200, 400}, {7800, 400}, {7800, 11480}, {200, 11480}, {200, 400}}));
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
