// The start of every document: header comments, the procedure set of each level and kind,
// and the page set-up lines, byte for byte.

#include <PlotWerk/SoPSVectorOutput.h>

#include <algorithm>
#include <string>
#include <vector>

#include "plotwerk/ps/ExpectedProcedureSet.h"
#include "plotwerk/ps/PSFixture.h"

namespace {

const std::string kBlankOrientation = "%%" + std::string(22, ' ');
const std::string kDefaultBox = "%%BoundingBox: 0 0  538  785";

/// The page set-up after the procedure set, for the default settings in portrait.
const std::vector<std::string> kDefaultSetUp = {"0.068031 0.068031 scale",
                                                "/linecap 0 def",
                                                "linecap setlinecap",
                                                "2 setlinejoin",
                                                "1.50 setmiterlimit",
                                                "15 ps",
                                                "15 ep",
                                                "[] 0 tl",
                                                "417 417 translate"};

class DocumentHeader : public PSTest {
  protected:
    std::vector<std::string> header() {
        action->writeHeader();
        return splitLines(action->text());
    }

    /// Writes a header and returns one of its lines (negative: from the end).
    std::string headerLine(int i) {
        action->mark();
        action->writeHeader();
        return lineAt(i);
    }

    static std::vector<std::string> whole(std::vector<std::string> procedures) {
        procedures.insert(procedures.end(), kDefaultSetUp.begin(), kDefaultSetUp.end());
        return procedures;
    }
};

TEST_F(DocumentHeader, DefaultDocumentStartsWithItsComments) {
    const std::vector<std::string> lines = header();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "%!PS-Adobe-2.0");
    EXPECT_EQ(lines[1], "%%Creator: KYV PlotWerk 3.7");
    EXPECT_EQ(lines[2], "%%Title: PlotWerk");
    // 190 x 277 mm in points, each number right-aligned in four characters.
    EXPECT_EQ(lines[3], kDefaultBox);
    EXPECT_EQ(lines[4], kBlankOrientation);
    EXPECT_EQ(lines[5], "%%EndComments");
    EXPECT_EQ(lines[6], "% color header");
}

TEST_F(DocumentHeader, ColourLevel2DocumentCarriesTheWholeProcedureSet) {
    const std::string text = (action->writeHeader(), action->text());
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    expectSameLines(
        splitLines(text),
        whole(expected::procedureSet(true, 2, "%!PS-Adobe-2.0", kDefaultBox, kBlankOrientation)));
}

TEST_F(DocumentHeader, ColourLevels1And3TakeTheirOwnPolygonProcedures) {
    // Level 1: path pieces instead of one fill; level 3: smooth shading in addition.
    for (unsigned int level : {1u, 3u}) {
        SCOPED_TRACE(level);
        setLevel(level);
        action->mark();
        action->writeHeader();
        const std::string adobe = "%!PS-Adobe-" + std::to_string(level) + ".0";
        expectSameLines(lines(), whole(expected::procedureSet(true, level, adobe, kDefaultBox,
                                                              kBlankOrientation)));
    }
}

TEST_F(DocumentHeader, GreyDocumentsTakeTheGreyProcedureSetAtEveryLevel) {
    setGrey();
    for (unsigned int level = 1; level <= 3; ++level) {
        SCOPED_TRACE(level);
        setLevel(level);
        action->mark();
        action->writeHeader();
        const std::string adobe = "%!PS-Adobe-" + std::to_string(level) + ".0";
        expectSameLines(lines(),
                        whole(expected::procedureSet(false, level, adobe, kDefaultBox, "")));
    }
}

TEST_F(DocumentHeader, TheNumericAccuracySetsTheDrawingUnit) {
    // Factor 1: a unit of 0.24 mm; the nominal width (0.353 mm) becomes 1 unit, the start
    // position (10 mm) 42 units.
    action->getPSVectorOutput()->setNumericAccuracyFactor(1.0f);
    EXPECT_FLOAT_EQ(action->getPSVectorOutput()->getNumericAccuracy(), 1.0f);
    const std::vector<std::string> lines = header();
    ASSERT_GE(lines.size(), 9u);
    const std::vector<std::string> tail(lines.end() - 9, lines.end());
    expectSameLines(
        tail, {"0.680315 0.680315 scale", "/linecap 0 def", "linecap setlinecap", "2 setlinejoin",
               "1.50 setmiterlimit", "1 ps", "1 ep", "[] 0 tl", "42 42 translate"});
}

TEST_F(DocumentHeader, LineEndsJoinsAndMiterLimitMapOntoPostScript) {
    struct Case {
        int end, join;
        float miter;
        const char* cap;
        const char* joinLine;
        const char* miterLine;
    };
    const Case cases[] = {{0, 0, 1.5f, "/linecap 0 def", "2 setlinejoin", "1.50 setmiterlimit"},
                          {1, 1, 2.25f, "/linecap 2 def", "0 setlinejoin", "2.25 setmiterlimit"},
                          {2, 2, 10.0f, "/linecap 1 def", "0 setlinejoin", "10.00 setmiterlimit"},
                          {3, 3, 1.0f, "/linecap 1 def", "2 setlinejoin", "1.00 setmiterlimit"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cap);
        action->setLineEndStyle(static_cast<SoVectorizeAction::EndLineStyle>(c.end));
        action->setLineJoinsStyle(static_cast<SoVectorizeAction::JoinLineStyle>(c.join));
        action->setMiterLimit(c.miter);
        action->mark();
        action->writeHeader();
        const std::vector<std::string> all = lines();
        ASSERT_GE(all.size(), 9u);
        EXPECT_EQ(all[all.size() - 8], c.cap);
        EXPECT_EQ(all[all.size() - 7], "linecap setlinecap");
        EXPECT_EQ(all[all.size() - 6], c.joinLine);
        EXPECT_EQ(all[all.size() - 5], c.miterLine);
    }
}

TEST_F(DocumentHeader, BoundingBoxIsThePageInWholePoints) {
    action->setDrawingDimensions(100.0f, 50.0f);
    EXPECT_EQ(headerLine(3), "%%BoundingBox: 0 0  283  141");

    // Wider numbers are not cut to four characters.
    action->setDrawingDimensions(5000.0f, 5000.0f);
    action->mark();
    action->writeHeader();
    EXPECT_EQ(lineAt(3), "%%BoundingBox: 0 0 14173 14173");

    // Inside a page the page's own size counts, not the drawing's.
    action->beginPage(SbVec2f(0, 0), SbVec2f(210, 297));
    action->mark();
    action->writeHeader();
    EXPECT_EQ(lineAt(3), "%%BoundingBox: 0 0  595  841");
    action->endPage();
}

TEST_F(DocumentHeader, PortraitTranslatesToTheStartPositionOrThePagePosition) {
    action->setStartPosition(20.0f, 5.0f);
    EXPECT_EQ(headerLine(-1), "833 208 translate");
    action->beginPage(SbVec2f(30.0f, 40.0f), SbVec2f(210, 297));
    action->mark();
    action->writeHeader();
    EXPECT_EQ(lineAt(-1), "1250 1667 translate");
    action->endPage();
}

TEST_F(DocumentHeader, LandscapeSwapsTheOriginAndRotates) {
    action->setStartPosition(20.0f, 5.0f);
    action->setDrawingDimensions(150.0f, 100.0f);
    action->setOrientation(SoVectorizeAction::LANDSCAPE);
    const std::vector<std::string> lines = header();
    ASSERT_GE(lines.size(), 3u);
    const std::vector<std::string> tail(lines.end() - 3, lines.end());
    expectSameLines(tail, {"208 833 translate", "90 rotate", "0 -4167 translate"});
}

TEST_F(DocumentHeader, OnlyLevel3LandscapeKeepsTheOrientationComment) {
    struct Case {
        unsigned int level;
        SoVectorizeAction::Orientation orientation;
        std::string line;
    };
    const Case cases[] = {{3, SoVectorizeAction::LANDSCAPE, "%%Orientation: Landscape"},
                          {2, SoVectorizeAction::LANDSCAPE, kBlankOrientation},
                          {1, SoVectorizeAction::LANDSCAPE, kBlankOrientation},
                          {3, SoVectorizeAction::PORTRAIT, kBlankOrientation}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        setLevel(c.level);
        action->setOrientation(c.orientation);
        action->mark();
        action->writeHeader();
        EXPECT_EQ(lineAt(4), c.line);
    }

    // Grey documents have no such comment at all.
    action->setOrientation(SoVectorizeAction::LANDSCAPE);
    setGrey();
    action->mark();
    action->writeHeader();
    const std::vector<std::string> grey = lines();
    ASSERT_GE(grey.size(), 6u);
    expectSameLines(std::vector<std::string>(grey.begin(), grey.begin() + 6),
                    {"%!PS-Adobe-3.0", "%%Creator: KYV PlotWerk 1.0", "%%Title: PlotWerk",
                     kDefaultBox, "%%EndComments", "% black & white header"});
}

TEST_F(DocumentHeader, EachDocumentPatchesAFreshCopyOfTheHeader) {
    setLevel(3);
    action->writeHeader();  // portrait: the comment is blanked in this document only
    action->writeFooter();
    action->setOrientation(SoVectorizeAction::LANDSCAPE);
    action->setDrawingDimensions(100.0f, 50.0f);
    action->mark();
    action->writeHeader();
    const std::vector<std::string> second = lines();
    ASSERT_GE(second.size(), 5u);
    EXPECT_EQ(second[0], "%!PS-Adobe-3.0");
    EXPECT_EQ(second[3], "%%BoundingBox: 0 0  283  141");
    EXPECT_EQ(second[4], "%%Orientation: Landscape");

    // And back: a portrait document after a landscape one blanks the comment again.
    action->setOrientation(SoVectorizeAction::PORTRAIT);
    setLevel(1);
    action->mark();
    action->writeHeader();
    EXPECT_EQ(lineAt(0), "%!PS-Adobe-1.0");
    EXPECT_EQ(lineAt(4), kBlankOrientation);
}

TEST_F(DocumentHeader, FooterShowsThePage) {
    action->writeHeader();
    action->mark();
    action->writeFooter();
    EXPECT_EQ(action->sinceMark(), "showpage\n");
}

TEST(PSVectorOutput, DefaultsClampingAndCopies) {
    SoPSVectorOutput output;
    EXPECT_EQ(output.getColored(), 1);
    EXPECT_EQ(output.getLevel(), 2u);
    EXPECT_FLOAT_EQ(output.getNumericAccuracy(), 0.1f);
    output.setLevel(0);
    EXPECT_EQ(output.getLevel(), 1u);
    output.setLevel(7);
    EXPECT_EQ(output.getLevel(), 3u);
    output.setLevel(2);
    EXPECT_EQ(output.getLevel(), 2u);

    output.setColored(0);
    output.setLevel(3);
    output.setNumericAccuracyFactor(0.5f);
    SoPSVectorOutput copy(output);
    EXPECT_EQ(copy.getColored(), 0);
    EXPECT_EQ(copy.getLevel(), 3u);
    EXPECT_FLOAT_EQ(copy.getNumericAccuracy(), 0.5f);
    SoPSVectorOutput assigned;
    assigned = output;
    EXPECT_EQ(assigned.getColored(), 0);
    EXPECT_EQ(assigned.getLevel(), 3u);
    EXPECT_FLOAT_EQ(assigned.getNumericAccuracy(), 0.5f);
}

TEST_F(DocumentHeader, ClampedLevelsReachTheHeader) {
    setLevel(0);
    EXPECT_EQ(headerLine(0), "%!PS-Adobe-1.0");
    setLevel(9);
    action->mark();
    action->writeHeader();
    const std::vector<std::string> all = lines();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0], "%!PS-Adobe-3.0");
    // Level 3 brings the smooth-shading procedure.
    EXPECT_NE(std::find(all.begin(), all.end(), "/pfags {"), all.end());
}

}  // namespace
