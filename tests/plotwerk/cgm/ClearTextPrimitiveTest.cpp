// Clear-text primitives: the attribute elements each writes when its values change, and the
// primitive element with its points.

#include <Tessara/nodes/SoMarkerSet.h>

#include <cmath>
#include <cstdlib>

#include "plotwerk/cgm/CGMTestAction.h"
#include "support/DebugErrorRecorder.h"

namespace {

const SbColor red(1, 0, 0);
const SbColor blue(0, 0, 1);
const SbColor black(0, 0, 0);

TEST_F(CGMTest, APolylineOfWidthZeroTakesTheNominalWidthAndNoLineType) {
    action->startDocument();
    action->line({mm(0, 0), mm(1, 0)}, red, 0.0f);
    EXPECT_EQ(action->sinceMark(),
              "LINEWIDTH 0.352778;\nLINECOLR 255 0 0;\nLINE\n 0., 0. 1., 0.;\n");
}

TEST_F(CGMTest, SevenPointsBreakTheLineAfterTheSixth) {
    action->startDocument();
    std::vector<SbVec4f> points;
    for (int i = 0; i < 7; ++i) points.push_back(mm(static_cast<float>(i), 0.5f));
    action->line(points, red);
    const std::string text = action->sinceMark();
    EXPECT_EQ(text.substr(text.find("LINE\n")),
              "LINE\n 0., 0.5 1., 0.5 2., 0.5 3., 0.5 4., 0.5 5., 0.5\n 6., 0.5;\n");
}

TEST_F(CGMTest, VersionOneChoosesTheNearestStandardLineType) {
    action->startDocument();
    const std::pair<unsigned short, const char*> cases[] = {
        {0x00FF, "LINETYPE 2;\n"}, {0x0F0F, "LINETYPE 2;\n"}, {0x00F7, "LINETYPE 4;\n"},
        {0x5555, "LINETYPE 3;\n"}, {0x0CF3, "LINETYPE 2;\n"}, {0xFFFF, "LINETYPE 1;\n"}};
    for (const auto& c : cases) {
        action->mark();
        action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, c.first);
        EXPECT_EQ(action->sinceMark().substr(0, std::string(c.second).size()), c.second)
            << std::hex << c.first;
    }
}

TEST_F(CGMTest, LineTypesAreWrittenOnlyWhenThePatternChanges) {
    action->startDocument();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0x00FF);
    action->mark();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0x00FF);
    EXPECT_EQ(action->sinceMark(), "LINE\n 0., 0. 1., 0.;\n");
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFFFF);
    action->mark();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0xFFFF, 4);
    EXPECT_EQ(action->sinceMark(), "LINE\n 0., 0. 1., 0.;\n");
}

TEST_F(CGMTest, VersionThreeDefinesItsOwnDashesNumberedDownwards) {
    setVersion(3);
    action->setLinePatternSize(2.0f);
    action->startDocument();
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0x00FF);
    const std::string first = action->sinceMark();
    ASSERT_EQ(first.rfind("LINEEDGETYPEDEF -", 0), 0u) << first;
    const int type = std::atoi(first.c_str() + std::string("LINEEDGETYPEDEF ").size());
    const std::string t = std::to_string(type);
    EXPECT_EQ(first, "LINEEDGETYPEDEF " + t + " 2.00 8 8 ;\nLINETYPE " + t +
                         ";\nLINECAP 2 1;\nLINEJOIN 4;\nMITRELIMIT 1.500000;\n"
                         "LINEWIDTH 0.352778;\nLINECOLR 255 0 0;\nLINE\n 0., 0. 1., 0.;\n");
    action->mark();
    action->setLineEndStyle(SoVectorizeAction::ROUND_END);
    action->setLineJoinsStyle(SoVectorizeAction::ROUND_JOIN);
    action->line({mm(0, 0), mm(1, 0)}, red, 1.0f, 0x0F0F, 2);
    const std::string u = std::to_string(type - 1);
    EXPECT_EQ(action->sinceMark(), "LINEEDGETYPEDEF " + u + " 4.00 4 4 4 4 ;\nLINETYPE " + u +
                                       ";\nLINECAP 5 1;\nLINEJOIN 2;\nMITRELIMIT 1.500000;\n"
                                       "LINE\n 0., 0. 1., 0.;\n");
}

TEST_F(CGMTest, ASolidPolygonSetsItsInteriorAndFillColour) {
    action->startDocument();
    action->fill({mm(0, 0), mm(1, 0), mm(1, 1)}, red);
    EXPECT_EQ(action->sinceMark(),
              "INTSTYLE SOLID;\nFILLCOLR 255 0 0;\nPOLYGON\n 0., 0. 1., 0. 1., 1.;\n");
    action->mark();
    action->fill({mm(0, 0), mm(1, 0), mm(1, 1)}, red);
    EXPECT_EQ(action->sinceMark(), "INTSTYLE SOLID;\nPOLYGON\n 0., 0. 1., 0. 1., 1.;\n");
}

TEST_F(CGMTest, ColoursAreComparedWithTheLastColourOfAnyKind) {
    action->startDocument();
    action->fill({mm(0, 0), mm(1, 0), mm(1, 1)}, red);
    action->line({mm(0, 0), mm(1, 0)}, blue);
    action->mark();
    // Same fill index as before, but the shared colour is now blue: written again.
    action->fill({mm(0, 0), mm(1, 0), mm(1, 1)}, red);
    EXPECT_NE(action->sinceMark().find("FILLCOLR 255 0 0;\n"), std::string::npos);
}

// A mask with one set bit: the top row's first byte, bit 7, which is the first cell.
std::vector<unsigned char> oneBitMask() {
    std::vector<unsigned char> mask(128, 0);
    mask[31 * 4] = 0x80;
    return mask;
}

TEST_F(CGMTest, PatternTablesAreDefinedOncePerNamesAndColour) {
    action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    action->setBackgroundColor(0, SbColor(0, 1, 0));
    action->startDocument();
    const std::vector<unsigned char> mask = oneBitMask();
    action->fill({mm(0, 0), mm(1, 0), mm(1, 1)}, red, mask.data(), "hatch", "a");
    const std::string first = action->sinceMark();
    std::string cells = "255 0 0 ";
    for (int i = 1; i < 1024; ++i) cells += "0 255 0 ";
    EXPECT_EQ(first, "INTSTYLE PAT;\nPATSIZE 0. 11.288889 11.288889 0.;\nPATTABLE 1 32 32 0 " +
                         cells + ";\nPATINDEX 1;\nPOLYGON\n 0., 0. 1., 0. 1., 1.;\n");
    action->mark();
    action->fill({mm(0, 0), mm(1, 0), mm(1, 1)}, red, mask.data(), "hatch", "a");
    EXPECT_EQ(action->sinceMark().find("PATTABLE"), std::string::npos);
    action->mark();
    action->fill({mm(0, 0), mm(1, 0), mm(1, 1)}, blue, mask.data(), "hatch", "a");
    EXPECT_EQ(action->sinceMark().find("PATTABLE 1 32 32 0 0 0 255 0 255 0 "), 49u);
    action->mark();
    action->fill({mm(0, 0), mm(1, 0), mm(1, 1)}, blue, mask.data(), "dots", "a");
    const std::string other = action->sinceMark();
    EXPECT_NE(other.find("PATTABLE 2 32 32 0 "), std::string::npos);
    EXPECT_NE(other.find("PATINDEX 2;\n"), std::string::npos);
}

TEST_F(CGMTest, VersionThreePatternsAreTransparentWhereTheMaskIsClear) {
    setVersion(3);
    setIndexed();
    action->startDocument();
    const std::vector<unsigned char> mask = oneBitMask();
    action->fill({mm(0, 0), mm(1, 0), mm(1, 1)}, red, mask.data(), "hatch", "a");
    const std::string text = action->sinceMark();
    std::string cells = "225 ";
    for (int i = 1; i < 1024; ++i) cells += "0 ";
    EXPECT_EQ(text,
              "INTSTYLE PAT;\nPATSIZE 0. 11.288889 11.288889 0.;\nTRANSPCELLCOLR ON  0;\n"
              "PATTABLE 1 32 32 0 " +
                  cells +
                  ";\nPATINDEX 1;\nPOLYGON\n 0., 0. 1., 0. 1., 1.;\n"
                  "TRANSPCELLCOLR OFF  0;\n");
}

TEST_F(CGMTest, DotsWriteTypeAndSizeEveryTimeAndTheirColourWhenItChanges) {
    action->startDocument();
    action->dots({mm(1, 2), mm(3, 4)}, {red}, 2.0f);
    EXPECT_EQ(action->sinceMark(),
              "MARKERTYPE 1;\nMARKERSIZE 0.705556;\nMARKERCOLR 255 0 0;\nMARKER\n 1. 2. 3. 4.;\n");
    action->mark();
    action->dots({mm(1, 2)}, {red}, 0.0f);
    EXPECT_EQ(action->sinceMark(), "MARKERTYPE 1;\nMARKERSIZE 0.352778;\nMARKER\n 1. 2.;\n");
}

TEST_F(CGMTest, DotsOfManyColoursAreRunsOfOneColour) {
    action->startDocument();
    std::vector<SbVec4f> points;
    std::vector<SbColor> colors;
    for (int i = 0; i < 7; ++i) {
        points.push_back(mm(static_cast<float>(i), 0));
        colors.push_back(red);
    }
    points.push_back(mm(9, 9));
    colors.push_back(blue);
    action->dots(points, colors);
    EXPECT_EQ(action->sinceMark(),
              "MARKERTYPE 1;\nMARKERSIZE 0.352778;\nMARKERCOLR 255 0 0;\n"
              "MARKER\n 0. 0. 1. 0. 2. 0. 3. 0. 4. 0.\n 5. 0. 6. 0.;\n"
              "MARKERCOLR 0 0 255;\nMARKER\n 9. 9.;\n");
}

TEST_F(CGMTest, BitmapMarkersAreCellArraysAndSkipUndefinedIndices) {
    const unsigned char bits[2] = {0xA0, 0x40};  // 3 x 2: row 0 "1 0 1", row 1 " 0 1 0"
    SoMarkerSet::addMarker(90, SbVec2s(3, 2), bits, false);
    auto* markers = new SoMarkerSet;
    markers->ref();
    markers->markerIndex.setValues(0, 2, std::vector<int32_t>{90, 91}.data());
    action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    action->startDocument();
    const SbVec4f points[3] = {mm(10, 10), mm(20, 20), mm(30, 30)};
    action->printPolyMark(points, 3, &red, 0, markers);
    const std::string text = action->sinceMark();
    // Two cell arrays: index 91 is not defined, and the third point takes index 90 again.
    std::size_t count = 0;
    for (std::size_t at = text.find("CELLARRAY"); at != std::string::npos;
         at = text.find("CELLARRAY", at + 1))
        ++count;
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(text.substr(0, text.find(';') + 2),
              "CELLARRAY 9.47083 10.3528 10.5292 9.64722 10.5292 10.3528 3 2 0\n"
              " 0 0 0 255 0 0 0 0 0\n 255 0 0 0 0 0 255 0 0\n;\n");
    markers->unref();
    SoMarkerSet::removeMarker(90);
}

TEST_F(CGMTest, TextSetsItsAttributesThenTheString) {
    action->startDocument();
    action->label(10, 20, "Hi");
    EXPECT_EQ(action->sinceMark(),
              "TEXTCOLR 0 0 0;\nCHARHEIGHT 2.54;\nTEXTFONTINDEX 5;\n"
              "TEXTPREC STROKE;\nTEXTPATH RIGHT;\nCHARSPACE 0.;\nCHAREXPAN 1.;\n"
              "TEXTALIGN LEFT NORMVERT 0. 0.;\nTEXT 10. 20. FINAL\n'Hi';\n");
    action->mark();
    action->label(10, 25, "again", 3, static_cast<float>(M_PI / 2));
    EXPECT_EQ(action->sinceMark(),
              "TEXTPREC STROKE;\nTEXTPATH RIGHT;\nCHARSPACE 0.;\nCHAREXPAN 1.;\n"
              "TEXTALIGN CTR NORMVERT 0. 0.;\nCHARORI -1. -4.37114e-08 -4.37114e-08 1.;\n"
              "TEXT 10. 25. FINAL\n'again';\n");
}

TEST_F(CGMTest, AFontOutsideTheTableKeepsTheFontIndex) {
    action->startDocument();
    action->label(0, 0, "a", 1, 0.0f, 12.0f, black, "Courier");
    action->mark();
    action->label(0, 0, "b", 1, 0.0f, 12.0f, black, "Fancy Script");
    EXPECT_EQ(action->sinceMark().find("TEXTFONTINDEX"), std::string::npos);
    action->mark();
    action->label(0, 0, "c", 1, 0.0f, 12.0f, black, "Courier");
    EXPECT_NE(action->sinceMark().find("TEXTFONTINDEX 9;\n"), std::string::npos);
}

TEST_F(CGMTest, Latin1UnicodeAndApostropheTexts) {
    action->startDocument();
    action->label(0, 0, "90\xC2\xB0");
    action->label(0, 0, "5 \xE2\x82\xAC");
    action->label(0, 0, "it's");
    const std::string text = action->sinceMark();
    EXPECT_NE(text.find("'it''s';\n"), std::string::npos);
    EXPECT_NE(text.find("'90\xB0';\n"), std::string::npos);
    EXPECT_NE(text.find("'5 \xE2\x82\xAC';\n"), std::string::npos);
}

TEST_F(CGMTest, ImagesAreCellArraysOfTheirPixelsFromTheLastRow) {
    action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    action->setPixelImageSize(1.0f);
    action->startDocument();
    std::vector<unsigned char> grey(2 * 11);
    for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<unsigned char>(i * 10);
    SbVec2s source(11, 2);
    SbVec2s shown(11, 2);
    action->printImage(mm(5, 5), grey.data(), source, shown, 1, SoImage::LEFT, SoImage::BOTTOM);
    std::string expected = "CELLARRAY 5. 7. 16. 5. 16. 7. 11 2 0\n";
    for (int i = 0; i < 22; ++i) {
        const int pixel = i < 11 ? 11 + i : i - 11;  // the last row first
        const int g = static_cast<int>(static_cast<float>(pixel * 10) / 255.0f * 255.0f);
        expected += " " + std::to_string(g) + " " + std::to_string(g) + " " + std::to_string(g);
        if (i == 19) expected += "\n";
    }
    expected += ";\n";
    EXPECT_EQ(action->sinceMark(), expected);
}

TEST_F(CGMTest, AnImageOutsideTheClipWritesNothing) {
    action->startDocument();
    const unsigned char pixels[3] = {1, 2, 3};
    SbVec2s size(1, 1);
    action->printImage(mm(500, 5), pixels, size, size, 3, SoImage::LEFT, SoImage::BOTTOM);
    action->printImage(mm(5, -50), pixels, size, size, 3, SoImage::LEFT, SoImage::BOTTOM);
    EXPECT_EQ(action->sinceMark(), "");
}

}  // namespace

namespace {

TEST_F(CGMTest, NonFiniteCoordinatesAreReportedAndTheMetafileStaysReadable) {
    action->startDocument();
    DebugErrorRecorder recorder;
    const float nan = std::nanf("");
    action->line({mm(nan, 1), mm(2, INFINITY)}, red);
    EXPECT_NE(action->sinceMark().find("LINE\n 0., 1. 2., 0.;\n"), std::string::npos);
    EXPECT_TRUE(recorder.contains("RSHORT", "Non-finite real written as 0"));
}

}  // namespace
