// The clear-text metafile frame: descriptors, colour modes and the colour table, the extent,
// clipping, border and the end of the metafile; the number format of reals.

#include <sstream>

#include "../../../libPlotWerk/src/cgm/SoCGMClearTextElements.h"
#include "plotwerk/cgm/CGMTestAction.h"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

const char* const kDescriptor =
    "BEGMF 'PlotWerk CGM OUTPUT';\n"
    "MFVERSION 1;\n"
    "MFDESC 'PlotWerk CGM METAFILE OUTPUT';\n"
    "MFELEMLIST 'DRAWINGPLUS';\n"
    "VDCTYPE REAL;\n"
    "INTEGERPREC -32767 32767;\n"
    "REALPREC -32767. 32767. 8;\n"
    "INDEXPREC -32767 32767;\n"
    "COLRPREC 255;\n"
    "COLRINDEXPREC 255;\n"
    "COLRVALUEEXT 0 0 0 255 255 255;\n"
    "MAXCOLRINDEX 255;\n"
    "FONTLIST\n"
    "'Times-Roman', \n"
    "'Times-Italic', \n"
    "'Times-Bold', \n"
    "'Times-BoldItalic', \n"
    "'Helvetica', \n"
    "'Helvetica-Oblique', \n"
    "'Helvetica-Bold', \n"
    "'Helvetica-BoldOblique', \n"
    "'Courier', \n"
    "'Courier-Oblique', \n"
    "'Courier-Bold', \n"
    "'Courier-BoldOblique', \n"
    "'Symbol';\n"
    "\n"
    "BEGPIC 'Clear Text Image from PlotWerk';\n"
    "SCALEMODE METRIC 1.;\n"
    "LINEWIDTHMODE ABS;\n"
    "MARKERSIZEMODE ABS;\n"
    "EDGEWIDTHMODE ABS;\n";

TEST_F(CGMTest, AFreshOutputIsClearTextVersionOneInDirectColour) {
    action->setStartPosition(10.0f, 10.0f);
    action->writeHeader();
    EXPECT_EQ(action->text(), std::string(kDescriptor) +
                                  "COLRMODE DIRECT;\n"
                                  "VDCEXT 10. 10. 200. 287.;\n"
                                  "BEGPICBODY;VDCREALPREC -32767. 32767. 8;\n"
                                  "EDGEVIS OFF;");
}

TEST_F(CGMTest, TheVersionIsWrittenAsGiven) {
    setVersion(3);
    action->writeHeader();
    EXPECT_NE(action->text().find("\nMFVERSION 3;\n"), std::string::npos);
}

TEST_F(CGMTest, ABackgroundInDirectColourIsTheBackgroundColour) {
    action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    action->setBackgroundColor(1, SbColor(1.0f, 0.5f, 0.0f));
    action->writeHeader();
    EXPECT_NE(action->text().find("EDGEWIDTHMODE ABS;\nBACKCOLR 255 127 0;\nCOLRMODE DIRECT;\n"),
              std::string::npos);
}

TEST_F(CGMTest, IndexedColourWritesTheColourCubeAsTable) {
    setIndexed();
    action->writeHeader();
    const std::string text = action->text();
    EXPECT_EQ(text.find("BACKCOLR"), std::string::npos);
    const std::size_t table = text.find("EDGEVIS OFF;COLRTABLE 0\n");
    ASSERT_NE(table, std::string::npos);
    EXPECT_NE(text.find("COLRMODE INDEXED;\n"), std::string::npos);
    const std::vector<std::string> lines = linesOf(text.substr(table));
    ASSERT_EQ(lines.size(), 258u);
    EXPECT_EQ(lines[1], "0 0 0");          // the background slot: black without a background
    EXPECT_EQ(lines[2], "0 0 0");          // cube colour 0
    EXPECT_EQ(lines[3], "0 0 85");         // cube colour 1
    EXPECT_EQ(lines[39], "36 36 85");      // cube colour 37
    EXPECT_EQ(lines[255], "255 255 85");   // cube colour 253
    EXPECT_EQ(lines[256], "255 255 255");  // white
    EXPECT_EQ(lines[257], ";");
}

TEST_F(CGMTest, IndexedColourMapsWhiteToTheLastEntryAndBlackToTheFirstCubeEntry) {
    setIndexed();
    action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    action->startDocument();
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 1, 1));
    action->line({mm(0, 0), mm(1, 0)}, SbColor(0, 0, 0));
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0));
    const std::string text = action->sinceMark();
    EXPECT_NE(text.find("LINECOLR 255;\n"), std::string::npos);
    EXPECT_NE(text.find("LINECOLR 1;\n"), std::string::npos);
    EXPECT_NE(text.find("LINECOLR 225;\n"), std::string::npos);
}

TEST_F(CGMTest, IndexedBackgroundAndPensFillTheTable) {
    setIndexed();
    action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    action->setBackgroundColor(1, SbColor(0.0f, 0.0f, 1.0f));
    const SbColor pens[2] = {SbColor(1, 0, 0), SbColor(0, 1, 0)};
    const float widths[2] = {0.35f, 0.5f};
    action->setPenDescription(2, pens, widths);
    action->writeHeader();
    const std::string text = action->text();
    EXPECT_EQ(text.substr(text.find("COLRTABLE")), "COLRTABLE 0\n0 0 255\n255 0 0\n0 255 0\n;\n");
    EXPECT_EQ(text.find("BACKCOLR"), std::string::npos);
}

TEST_F(CGMTest, TheExtentIsThePageOfAPage) {
    action->beginPage(SbVec2f(10, 20), SbVec2f(100, 50));
    action->writeHeader();
    EXPECT_NE(action->text().find("\nVDCEXT 10. 20. 110. 70.;\n"), std::string::npos);
    action->writeFooter();
    action->endPage();
}

TEST_F(CGMTest, TheFooterEndsPictureAndMetafile) {
    action->startDocument();
    action->writeFooter();
    EXPECT_EQ(action->sinceMark(), "\nENDPIC;ENDMF;");
}

TEST_F(CGMTest, ClippingIsTheViewportOnTheSheet) {
    action->setStartPosition(10.0f, 10.0f);
    action->startDocument();
    action->setHardwareClip();
    EXPECT_EQ(action->sinceMark(), "CLIPRECT 10. 10. 200. 287.;\n");
    const SbBox2f limits = action->getClippingLimits();
    EXPECT_FLOAT_EQ(limits.getMin()[0], 10.0f);
    EXPECT_FLOAT_EQ(limits.getMax()[1], 287.0f);
}

TEST_F(CGMTest, TheBorderClipsToTheDrawingAndFramesIt) {
    action->setStartPosition(10.0f, 10.0f);
    action->setBorder(2.0f, SbColor(1, 1, 1));
    action->startDocument();
    action->printBorder();
    EXPECT_EQ(action->sinceMark(),
              "CLIPRECT 10. 10. 200. 287.;\n"
              "LINEWIDTH 0.705556;\n"
              "LINECOLR 0 0 0;\n"
              "LINE\n 10., 10. 200., 10. 200., 287. 10., 287. 10., 10.;\n");
    action->setBorder(0.0f);
    action->mark();
    action->printBorder();
    action->printBackground();
    EXPECT_EQ(action->sinceMark(), "");
}

TEST_F(CGMTest, EachMetafileStartsWithAFreshAttributeCache) {
    action->startDocument();
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0), 2.0f, 0x00FF);
    action->writeFooter();
    action->startDocument();
    action->line({mm(0, 0), mm(1, 0)}, SbColor(1, 0, 0), 2.0f, 0x00FF);
    EXPECT_EQ(action->sinceMark(),
              "LINETYPE 2;\nLINEWIDTH 0.705556;\nLINECOLR 255 0 0;\nLINE\n 0., 0. 1., 0.;\n");
}

TEST(CGMNumbers, RealsAlwaysCarryAPoint) {
    EXPECT_STREQ(SoCGMClearTextElements::RSHORT(0, 0.0f), "0.");
    EXPECT_STREQ(SoCGMClearTextElements::RSHORT(1, 0.5f), "0.5");
    EXPECT_STREQ(SoCGMClearTextElements::RSHORT(2, 1234567.0f), "1.23457e+06");
    EXPECT_STREQ(SoCGMClearTextElements::RSHORT(3, 0.00001f), "1e-05.");
    EXPECT_STREQ(SoCGMClearTextElements::RSHORT(0, -12.0f), "-12.");
    // Four slots: one element's numbers stay valid together.
    const char* a = SoCGMClearTextElements::RSHORT(0, 1.0f);
    const char* b = SoCGMClearTextElements::RSHORT(1, 2.0f);
    EXPECT_STREQ(a, "1.");
    EXPECT_STREQ(b, "2.");
}

}  // namespace
