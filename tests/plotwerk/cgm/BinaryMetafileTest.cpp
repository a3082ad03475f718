// Binary metafiles of the action, read back by the decoder written from the standard: the
// descriptor elements in their order, the extent in the default fixed-point reals, and the
// places where the binary encoding orders or repeats elements differently from clear text.

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "plotwerk/cgm/CGMTestAction.h"
#include "support/CGMBinaryDecoder.h"

namespace {

std::vector<std::string> keywords(const CGMMetafile& metafile) {
    std::vector<std::string> names;
    for (const CGMElement& e : metafile.elements) names.push_back(e.keyword);
    return names;
}

class CGMBinaryTest : public CGMTest {
  protected:
    void SetUp() override {
        CGMTest::SetUp();
        action->getCGMVectorOutput()->setBinary(1);
    }
    /// The picture body after the header's last element, up to the end of the picture (the
    /// buffer reaches the file when the metafile ends).
    std::vector<CGMElement> pictureBody() {
        action->writeFooter();
        const CGMMetafile whole = CGMBinaryDecoder::decode(action->text());
        EXPECT_TRUE(whole.clean()) << whole.errorText();
        std::vector<CGMElement> elements;
        bool inBody = false;
        for (const CGMElement& e : whole.elements) {
            if (e.keyword == "ENDPIC") break;
            if (inBody) elements.push_back(e);
            if (e.keyword == "EDGEVIS") inBody = true;
        }
        return elements;
    }
};

TEST_F(CGMBinaryTest, TheHeaderHasEveryDescriptorElementInOrder) {
    action->setStartPosition(10.0f, 20.0f);
    action->setDrawingDimensions(100.0f, 50.0f);
    action->setBackgroundColor(1, SbColor(0.0f, 0.0f, 1.0f));
    action->writeHeader();
    action->writeFooter();
    const CGMMetafile metafile = CGMBinaryDecoder::decode(action->text());
    ASSERT_TRUE(metafile.clean()) << metafile.errorText();
    const std::vector<std::string> expected = {
        "BEGMF",    "MFVERSION", "MFDESC",    "MFELEMLIST",    "VDCTYPE",        "INTEGERPREC",
        "REALPREC", "INDEXPREC", "COLRPREC",  "COLRINDEXPREC", "COLRVALUEEXT",   "MAXCOLRINDEX",
        "FONTLIST", "BEGPIC",    "SCALEMODE", "LINEWIDTHMODE", "MARKERSIZEMODE", "EDGEWIDTHMODE",
        "BACKCOLR", "COLRMODE",  "VDCEXT",    "BEGPICBODY",    "VDCREALPREC",    "EDGEVIS",
        "ENDPIC",   "ENDMF"};
    EXPECT_EQ(keywords(metafile), expected);
    const CGMElement extent = metafile.all("VDCEXT").at(0);
    ASSERT_EQ(extent.params.size(), 2u);
    // Written before VDC REAL PRECISION: fixed point, exact to 1/65535.
    EXPECT_TRUE(extent.params[0].near(CGMValue::makePoint(10, 20), 1e-4)) << extent;
    EXPECT_TRUE(extent.params[1].near(CGMValue::makePoint(110, 70), 1e-4)) << extent;
    // Black and white swap by default; blue stays blue.
    EXPECT_EQ(metafile.all("BACKCOLR").at(0).params.at(0), CGMValue::makeColour(0, 0, 255));
    EXPECT_EQ(metafile.all("BEGPIC").at(0).params.at(0).text, "Binary Image from PlotWerk");
    EXPECT_EQ(metafile.all("FONTLIST").at(0).params.size(), 13u);
}

TEST_F(CGMBinaryTest, IndexedColourEndsTheHeaderWithTheColourTable) {
    setIndexed();
    action->writeHeader();
    action->writeFooter();
    const CGMMetafile metafile = CGMBinaryDecoder::decode(action->text());
    ASSERT_TRUE(metafile.clean()) << metafile.errorText();
    EXPECT_TRUE(metafile.all("BACKCOLR").empty());
    const CGMElement table = metafile.all("COLRTABLE").at(0);
    ASSERT_EQ(table.params.size(), 257u);  // the first index, then 256 colours
    EXPECT_EQ(table.params[0], CGMValue::makeIndex(0));
    EXPECT_EQ(table.params[3], CGMValue::makeColour(0, 0, 85));
    EXPECT_EQ(table.params[256], CGMValue::makeColour(255, 255, 255));
}

TEST_F(CGMBinaryTest, TextCarriesOrientationAndHeightEveryTime) {
    action->writeHeader();
    action->label(10, 20, "a");
    action->label(10, 30, "b");
    const std::vector<CGMElement> body = pictureBody();
    std::vector<std::string> names;
    for (const CGMElement& e : body) names.push_back(e.keyword);
    const std::vector<std::string> expected = {
        "TEXTCOLR",  "CHARORI",   "CHARHEIGHT", "TEXTFONTINDEX", "TEXTPREC", "TEXTPATH",
        "CHARSPACE", "CHAREXPAN", "TEXTALIGN",  "TEXT",          "CHARORI",  "CHARHEIGHT",
        "TEXTPREC",  "TEXTPATH",  "CHARSPACE",  "CHAREXPAN",     "TEXT"};
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(body[2].params.at(0).near(CGMValue::makeReal(2.54), 1e-5)) << body[2];
    EXPECT_TRUE(body[9].params.at(0).near(CGMValue::makePoint(10, 20), 1e-5)) << body[9];
}

TEST_F(CGMBinaryTest, VersionThreeSwitchesTransparencyOffAfterEveryPolygon) {
    setVersion(3);
    action->writeHeader();
    action->fill({mm(0, 0), mm(1, 0), mm(1, 1)}, SbColor(1, 0, 0));
    const std::vector<CGMElement> body = pictureBody();
    std::vector<std::string> names;
    for (const CGMElement& e : body) names.push_back(e.keyword);
    EXPECT_EQ(names,
              (std::vector<std::string>{"INTSTYLE", "FILLCOLR", "POLYGON", "TRANSPCELLCOLR"}));
    EXPECT_EQ(body[3].params.at(0).integer, 0);
}

TEST_F(CGMBinaryTest, PointsCarryThePageOffset) {
    action->setStartPosition(10.0f, 20.0f);
    action->writeHeader();
    action->line({mm(0, 0), mm(1.5f, 2.5f)}, SbColor(0, 0, 0));
    const std::vector<CGMElement> body = pictureBody();
    ASSERT_FALSE(body.empty());
    const CGMElement& line = body.back();
    ASSERT_EQ(line.keyword, "LINE");
    EXPECT_EQ(line.params.at(0), CGMValue::makePoint(10, 20));
    EXPECT_EQ(line.params.at(1), CGMValue::makePoint(11.5, 22.5));
}

TEST_F(CGMBinaryTest, BinaryFilesAreOpenedAsBinaryAndFailuresFallBackToStandardOutput) {
    SoCGMVectorOutput output;
    output.setBinary(1);
    EXPECT_EQ(output.openFile("/nonexistent-directory/x.cgm"), 0);
    EXPECT_EQ(output.getFilePointer(), stdout);
    char name[] = "/tmp/plotwerk_cgm_XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_EQ(output.openFile(SbString(name)), 1);
    EXPECT_NE(output.getFilePointer(), stdout);
    output.closeFile();
    std::remove(name);
}

}  // namespace
