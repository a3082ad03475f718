// The plot frame: the escape and initialisation, the palette, the page, line attributes,
// the input windows of viewports and border, the background, and the end of the plot.

#include <PlotWerk/SoVectorizeHPGLAction.h>
#include <Tessara/misc/SoPreferences.h>

#include <sstream>

#include "plotwerk/hpgl/HPGLFixture.h"
#include "support/DebugErrorRecorder.h"

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

namespace {

TEST_F(HPGLTest, DefaultHeaderEntersHPGLWithThePaletteAndThePage) {
    action->writeHeader();
    const std::string text = action->text();
    const std::string start = "\x1b%-1B\nIN;FT;NP256;TR0;\n";
    ASSERT_EQ(text.substr(0, start.size()), start);
    const std::vector<std::string> lines = linesOf(text.substr(start.size()));
    ASSERT_EQ(lines.size(), 258u);
    EXPECT_EQ(lines[0], "PC0,0,0,0");
    EXPECT_EQ(lines[3], "PC3,0,0,255");
    EXPECT_EQ(lines[28], "PC28,0,255,0");
    EXPECT_EQ(lines[37], "PC37,36,36,85");
    EXPECT_EQ(lines[146], "PC146,145,145,170");
    EXPECT_EQ(lines[224], "PC224,255,0,0");
    EXPECT_EQ(lines[255], "PC255,255,255,255");
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(lines[i].rfind("PC" + std::to_string(i) + ",", 0), 0u) << lines[i];
    EXPECT_EQ(lines[256], "PS7600,11080;");
    EXPECT_EQ(lines[257], "LA1,1,2,6,3,1.50");
    EXPECT_EQ(text.back(), '\n');
}

TEST_F(HPGLTest, LandscapeRotatesAndGivesThePageSizeAcross) {
    action->setOrientation(SoVectorizeAction::LANDSCAPE);
    action->writeHeader();
    const std::string text = action->text();
    const std::string start = "\x1b%-1B\nIN;RO90;IP;FT;NP256;TR0;\n";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_NE(text.find("\nPS11080,7600;\n"), std::string::npos);
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
        const std::vector<std::string> lines = linesOf(plot.text());
        EXPECT_EQ(lines.back(), c.expected);
    }
}

TEST_F(HPGLTest, APageGivesItsOwnSizeAndMovesEveryPoint) {
    action->beginPage(SbVec2f(5, 7), SbVec2f(420, 297));
    action->setStartPosition(1.0f, 2.0f);
    action->writeHeader();
    EXPECT_NE(action->text().find("\nPS16800,11880;\n"), std::string::npos);
    action->mark();
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0));
    // (5 + 1) mm and (7 + 2) mm: 240 and 360 plotter units.
    EXPECT_EQ(action->sinceMark(), "PW0.352778PE:?\xC6<=_\xC6O\xCAO\xC0\xBF;\n");
    action->endPage();
}

TEST_F(HPGLTest, FooterSelectsPenZeroAndAdvancesThePage) {
    action->startDocument();
    action->writeFooter();
    EXPECT_EQ(action->sinceMark(), "SPPG;\n");
}

TEST_F(HPGLTest, EveryViewportReplacesTheInputWindow) {
    action->startDocument();
    const SbBox2f limits = action->getClippingLimits();
    EXPECT_FLOAT_EQ(limits.getMin()[0], 400.0f);
    EXPECT_FLOAT_EQ(limits.getMax()[1], 11480.0f);
    action->setHardwareClip();
    action->setHardwareClip();
    const std::string window = "IW400.000000,400.000000,8000.000000,11480.000000;\n";
    EXPECT_EQ(action->sinceMark(), window + window);
}

TEST_F(HPGLTest, TheBorderOpensTheWindowToTheDrawingAndFramesIt) {
    action->setBorder(2.0f, SbColor(1, 1, 1));
    action->startDocument();
    action->printBorder();
    // White swaps to black (pen 0); the frame runs 7600 across and 11080 up from (400, 400).
    EXPECT_EQ(action->sinceMark(),
              "IW400.000000,400.000000,8000.000000,11480.000000;\n"
              "PW0.705556PE:\xBF<=_\xCB_\xCB_l\xC2\xBF\xBFOY\xC4`l\xC2\xBF\xBFPY\xC4;\n");
}

TEST_F(HPGLTest, NoBorderWritesNothing) {
    action->setBorder(0.0f);
    action->startDocument();
    action->printBorder();
    EXPECT_EQ(action->sinceMark(), "");
}

TEST_F(HPGLTest, TheBackgroundFillsTheDrawing) {
    action->setStartPosition(0.0f, 0.0f);
    action->setDrawingDimensions(1.0f, 1.0f);
    action->setBackgroundColor(1, SbColor(1, 0, 0));
    action->startDocument();
    action->printBackground();
    EXPECT_EQ(action->sinceMark(), "SP224PU0,0PMPEO\xC0\xBF\xBFO\xC0P\xC0\xBF;PM2FP\n");
    action->setBackgroundColor(0);
    action->mark();
    action->printBackground();
    EXPECT_EQ(action->sinceMark(), "");
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

TEST_F(HPGLTest, RegistersUnderItsNameBelowTheVectorizeAction) {
    const SoType type = SoVectorizeHPGLAction::getClassTypeId();
    EXPECT_EQ(type.getName(), SbName("SoVectorizeHPGLAction"));
    EXPECT_EQ(type.getParent(), SoVectorizeAction::getClassTypeId());
    EXPECT_EQ(action->getTypeId(), type);
    EXPECT_EQ(action->getVectorOutput(), action->getHPGLVectorOutput());
}

TEST(HPGLRegistrationTest, MessagesNameTheBackend) {
    SoPlotWerk::init();
    SoVectorizeHPGLAction::exitClass();
    {
        DebugErrorRecorder recorder;
        SoVectorizeHPGLAction::exitClass();
        EXPECT_TRUE(
            recorder.contains("SoVectorizeHPGLAction::exitClass", "Unable to remove type ("));
        recorder.clear();
        SoVectorizeHPGLAction action;
        EXPECT_TRUE(recorder.contains(
            "SO_ACTION_CONSTRUCTOR",
            "Can't construct an action of type SoVectorizeHPGLAction until initClass() has "
            "been called. Check SoDB::init() has been called."));
        EXPECT_FALSE(SoVectorizeHPGLAction::getClassTypeId().isBad());
    }
    SoPlotWerk::finish();
    EXPECT_TRUE(SoType::fromName("SoVectorizeHPGLAction").isBad());
}

TEST_F(HPGLTest, ACopyGoesOnWithTheSamePlotState) {
    startAtCorner();
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0));
    HPGLTestAction copy;
    static_cast<SoVectorizeHPGLAction&>(copy) = *action;
    copy.mark();
    copy.line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0));
    // Same pen, width and line type: nothing is selected again.
    EXPECT_EQ(copy.sinceMark(), "PE<=\xBF\xBFO\xC0\xBF;\n");
    EXPECT_NE(copy.getHPGLVectorOutput(), action->getHPGLVectorOutput());
}

}  // namespace
