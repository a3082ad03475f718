// The clear-text reader: lexical rules, numbers, every element kind it decodes, the colour
// selection mode, precisions as ranges, and statements it must reject.

#include <gtest/gtest.h>

#include "CGMBytes.h"

using namespace cgmbytes;

namespace {

/// The elements between BEGPICBODY and ENDPIC of a clear-text body in a minimal metafile.
CGMMetafile readBody(const std::string& body, const std::string& descriptor = "") {
    return CGMClearTextReader::read("BEGMF 'm'; BEGPIC 'p'; " + descriptor + " BEGPICBODY;\n" +
                                    body + "\nENDPIC; ENDMF;");
}

struct Statement {
    const char* text;
    const char* keyword;
    int elementClass, id;
    Values params;
};

void expectStatement(const Statement& s, const std::string& descriptor = "") {
    const CGMMetafile mf = readBody(s.text, descriptor);
    ASSERT_TRUE(mf.clean()) << s.text << "\n" << mf.errorText();
    const std::vector<CGMElement> body = bodyOf(mf);
    ASSERT_EQ(body.size(), 1u) << s.text;
    EXPECT_EQ(body[0].keyword, s.keyword) << s.text;
    EXPECT_EQ(body[0].elementClass, s.elementClass) << s.text;
    EXPECT_EQ(body[0].id, s.id) << s.text;
    EXPECT_EQ(body[0].params, s.params) << s.text;
}

}  // namespace

TEST(ClearText, SeparatorsCommentsQuotesAndCase) {
    const CGMMetafile mf = CGMClearTextReader::read(
        "begmf 'Lex';\n% a comment; with a semicolon %\nMFVERSION 1/\nbeg_pic \"it's\" ;"
        "BegPicBody;\nline 0,0, 10 ,20\n  (30,40);\nTEXT 1,2 final 'He said ''hi''';"
        "ENDPIC;ENDMF;");
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    ASSERT_EQ(mf.elements.size(), 8u);
    EXPECT_EQ(mf.elements[0].params, Values{S("Lex")});
    EXPECT_EQ(mf.elements[1].params, Values{I(1)});
    EXPECT_EQ(mf.elements[2].keyword, "BEGPIC");
    EXPECT_EQ(mf.elements[2].params, Values{S("it's")});
    EXPECT_EQ(mf.elements[4].params, (Values{P(0, 0), P(10, 20), P(30, 40)}));
    EXPECT_EQ(mf.elements[5].params, (Values{P(1, 2), I(1), S("He said 'hi'")}));
    EXPECT_EQ(mf.elements[7].keyword, "ENDMF");
}

TEST(ClearText, NumberFormsAndMalformedNumbers) {
    const CGMMetafile mf = readBody(
        "CHAREXPAN 12.; CHARSPACE 1.5; MITRELIMIT 1e-05.; CHARHEIGHT -3; LINEWIDTH .5;"
        "MARKERSIZE 1.5E+3; LINETYPE -2; LINECOLR 2#101; MARKERTYPE 16#1f; EDGEWIDTH +7;");
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    const std::vector<CGMElement> b = bodyOf(mf);
    ASSERT_EQ(b.size(), 10u);
    const Values expected[] = {{R(12)},   {R(1.5)}, {R(1e-05)}, {R(-3)}, {R(0.5)},
                               {R(1500)}, {I(-2)},  {X(5)},     {I(31)}, {R(7)}};
    for (std::size_t i = 0; i < b.size(); ++i) EXPECT_EQ(b[i].params, expected[i]) << b[i];

    const CGMMetafile bad =
        readBody("CHAREXPAN 1.2.3; LINETYPE 1.5; CHARSPACE 1e; LINECOLR 2#102; CHARHEIGHT -;");
    EXPECT_TRUE(bad.hasError("CHAREXPAN: expected a number, found '1.2.3'")) << bad.errorText();
    EXPECT_TRUE(bad.hasError("LINETYPE: expected an integer, found '1.5'")) << bad.errorText();
    EXPECT_TRUE(bad.hasError("CHARSPACE: expected a number, found '1e'")) << bad.errorText();
    EXPECT_TRUE(bad.hasError("LINECOLR: expected an integer, found '2#102'")) << bad.errorText();
    EXPECT_TRUE(bad.hasError("CHARHEIGHT: expected a number, found '-'")) << bad.errorText();
    EXPECT_TRUE(bodyOf(bad).empty());
}

TEST(ClearText, PrimitiveAndAttributeStatements) {
    const Statement statements[] = {
        {"LINE 0 0 10 0 10 10;", "LINE", 4, 1, {P(0, 0), P(10, 0), P(10, 10)}},
        {"MARKER -1,-2;", "MARKER", 4, 3, {P(-1, -2)}},
        {"POLYGON 0 0, 4 0, 0 3;", "POLYGON", 4, 7, {P(0, 0), P(4, 0), P(0, 3)}},
        {"TEXT 5 6 NOTFINAL 'abc';", "TEXT", 4, 4, {P(5, 6), I(0), S("abc")}},
        {"LINETYPE -4;", "LINETYPE", 5, 2, {I(-4)}},
        {"LINEWIDTH 3;", "LINEWIDTH", 5, 3, {R(3)}},
        {"LINECOLR 17;", "LINECOLR", 5, 4, {X(17)}},
        {"MARKERTYPE 3;", "MARKERTYPE", 5, 6, {I(3)}},
        {"MARKERSIZE 9.;", "MARKERSIZE", 5, 7, {R(9)}},
        {"MARKERCOLR 2;", "MARKERCOLR", 5, 8, {X(2)}},
        {"TEXTFONTINDEX 3;", "TEXTFONTINDEX", 5, 10, {I(3)}},
        {"TEXTPREC STROKE;", "TEXTPREC", 5, 11, {I(2)}},
        {"CHAREXPAN 0.5;", "CHAREXPAN", 5, 12, {R(0.5)}},
        {"CHARSPACE -0.25;", "CHARSPACE", 5, 13, {R(-0.25)}},
        {"TEXTCOLR 1;", "TEXTCOLR", 5, 14, {X(1)}},
        {"CHARHEIGHT 12;", "CHARHEIGHT", 5, 15, {R(12)}},
        {"CHARORI 0 1 1 0;", "CHARORI", 5, 16, {R(0), R(1), R(1), R(0)}},
        {"TEXTPATH RIGHT;", "TEXTPATH", 5, 17, {I(0)}},
        {"TEXTALIGN CTR BASE 0.5 1.;", "TEXTALIGN", 5, 18, {I(2), I(4), R(0.5), R(1)}},
        {"TEXTALIGN RIGHT NORMVERT 0. 0.;", "TEXTALIGN", 5, 18, {I(3), I(0), R(0), R(0)}},
        {"INTSTYLE PAT;", "INTSTYLE", 5, 22, {I(2)}},
        {"FILLCOLR 255;", "FILLCOLR", 5, 23, {X(255)}},
        {"PATINDEX 6;", "PATINDEX", 5, 25, {I(6)}},
        {"EDGEVIS OFF;", "EDGEVIS", 5, 30, {I(0)}},
        {"PATSIZE 1 2 3 -4;", "PATSIZE", 5, 33, {R(1), R(2), R(3), R(-4)}},
        {"COLRTABLE 2 255 0 0 0 0 255;", "COLRTABLE", 5, 34, {X(2), C(255, 0, 0), C(0, 0, 255)}},
        {"LINECAP 2 3;", "LINECAP", 5, 37, {I(2), I(3)}},
        {"LINEJOIN 3;", "LINEJOIN", 5, 38, {I(3)}},
        {"CLIPRECT -10 -20 30 40;", "CLIPRECT", 3, 5, {P(-10, -20), P(30, 40)}},
        {"CLIP ON;", "CLIP", 3, 6, {I(1)}},
        {"MITRELIMIT 4.;", "MITRELIMIT", 3, 19, {R(4)}},
        {"TRANSPCELLCOLR ON 7;", "TRANSPCELLCOLR", 3, 20, {I(1), X(7)}},
        {"ESCAPE 12 'abc';", "ESCAPE", 6, 1, {CGMValue::makeData("12 'abc'")}},
    };
    for (const Statement& s : statements) expectStatement(s);
}

TEST(ClearText, DescriptorStatements) {
    const CGMMetafile mf = CGMClearTextReader::read(
        "BEGMF 'd'; MFVERSION 4; MFDESC 'by hand'; VDCTYPE REAL; MAXCOLRINDEX 255;"
        "COLRVALUEEXT 0 0 0 255 255 255; MFELEMLIST 'DRAWINGPLUS CellArray';"
        "FONTLIST 'Helvetica', 'Times-Roman'; BEGPIC 'p'; SCALEMODE METRIC 0.25;"
        "COLRMODE INDEXED; LINEWIDTHMODE ABS; MARKERSIZEMODE SCALED; EDGEWIDTHMODE MM;"
        "VDCEXT 0. 0. 1000. 800.; BACKCOLR 255 255 255; LINEEDGETYPEDEF -1 20. 3 1 2;"
        "BEGPICBODY; ENDPIC; ENDMF;");
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(mf.all("VDCTYPE")[0].params, Values{I(1)});
    EXPECT_EQ(mf.all("MAXCOLRINDEX")[0].params, Values{X(255)});
    EXPECT_EQ(mf.all("COLRVALUEEXT")[0].params, (Values{C(0, 0, 0), C(255, 255, 255)}));
    EXPECT_EQ(mf.all("MFELEMLIST")[0].params, (Values{I(-1), I(1), I(4), I(9)}));
    EXPECT_EQ(mf.all("FONTLIST")[0].params, (Values{S("Helvetica"), S("Times-Roman")}));
    EXPECT_EQ(mf.all("SCALEMODE")[0].params, (Values{I(1), R(0.25)}));
    EXPECT_EQ(mf.all("MARKERSIZEMODE")[0].params, Values{I(1)});
    EXPECT_EQ(mf.all("EDGEWIDTHMODE")[0].params, Values{I(3)});
    EXPECT_EQ(mf.all("VDCEXT")[0].params, (Values{P(0, 0), P(1000, 800)}));
    EXPECT_EQ(mf.all("BACKCOLR")[0].params, Values{C(255, 255, 255)});
    EXPECT_EQ(mf.all("LINEEDGETYPEDEF")[0].params, (Values{I(-1), R(20), I(3), I(1), I(2)}));
}

TEST(ClearText, PrecisionsAreRecordedAsRanges) {
    const CGMMetafile mf = CGMClearTextReader::read(
        "BEGMF 'r'; INTEGERPREC -32767 32767; REALPREC -32767. 32767. 8; INDEXPREC -127 127;"
        "COLRPREC 255; COLRINDEXPREC 65535; BEGPIC 'p'; BEGPICBODY; VDCINTEGERPREC -32767, "
        "32767; VDCREALPREC -32767. 32767. 4; ENDPIC; ENDMF;");
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(mf.all("INTEGERPREC")[0].params, (Values{I(-32767), I(32767)}));
    EXPECT_EQ(mf.all("REALPREC")[0].params, (Values{R(-32767), R(32767), I(8)}));
    EXPECT_EQ(mf.all("INDEXPREC")[0].params, (Values{I(-127), I(127)}));
    EXPECT_EQ(mf.all("COLRPREC")[0].params, Values{I(255)});
    EXPECT_EQ(mf.all("COLRINDEXPREC")[0].params, Values{I(65535)});
    EXPECT_EQ(mf.all("VDCINTEGERPREC")[0].params, (Values{I(-32767), I(32767)}));
    EXPECT_EQ(mf.all("VDCREALPREC")[0].params, (Values{R(-32767), R(32767), I(4)}));
    for (const CGMElement& e : mf.elements)
        EXPECT_EQ(e.encodingDependent(), e.keyword.find("PREC") != std::string::npos) << e;
}

TEST(ClearText, ColourSelectionModeDecidesColourParameters) {
    const CGMMetafile mf = CGMClearTextReader::read(
        "BEGMF 'c'; BEGPIC 'direct'; COLRMODE DIRECT; BEGPICBODY; LINECOLR 255 0 0;"
        "FILLCOLR 1 2 3; TRANSPCELLCOLR OFF 4 5 6; ENDPIC; BEGPIC 'indexed'; BEGPICBODY;"
        "LINECOLR 3; ENDPIC; ENDMF;");
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(mf.all("LINECOLR")[0].params, Values{C(255, 0, 0)});
    EXPECT_EQ(mf.all("FILLCOLR")[0].params, Values{C(1, 2, 3)});
    EXPECT_EQ(mf.all("TRANSPCELLCOLR")[0].params, (Values{I(0), C(4, 5, 6)}));
    EXPECT_EQ(mf.all("LINECOLR")[1].params, Values{X(3)});  // a new picture is indexed again
}

TEST(ClearText, CellArraysAndPatternTables) {
    expectStatement(
        {"CELLARRAY 0,0 30,20 30,0 3 2 255 (1 2 3 4 5 6);",
         "CELLARRAY",
         4,
         9,
         {P(0, 0), P(30, 20), P(30, 0), I(3), I(2), I(8), X(1), X(2), X(3), X(4), X(5), X(6)}});
    expectStatement({"CELLARRAY 0 0 30 20 30 0 1 1 15 10 5 15;",
                     "CELLARRAY",
                     4,
                     9,
                     {P(0, 0), P(30, 20), P(30, 0), I(1), I(1), I(4), C(10, 5, 15)}},
                    "COLRMODE DIRECT;");
    expectStatement({"CELLARRAY 0 0 30 20 30 0 2 1 0 7 8;",
                     "CELLARRAY",
                     4,
                     9,
                     {P(0, 0), P(30, 20), P(30, 0), I(2), I(1), I(0), X(7), X(8)}});
    expectStatement({"PATTABLE 1 3 2 255 1 2 3 4 5 6;",
                     "PATTABLE",
                     5,
                     32,
                     {I(1), I(3), I(2), I(8), X(1), X(2), X(3), X(4), X(5), X(6)}});
    const CGMMetafile bad = readBody("CELLARRAY 0 0 1 1 1 0 2 2 255 1 2 3; PATTABLE 1 1 1 3 7 8;");
    EXPECT_TRUE(bad.hasError("CELLARRAY: 3 colours for 2x2 cells")) << bad.errorText();
    EXPECT_TRUE(bad.hasError("PATTABLE: 2 colours for 1x1 cells")) << bad.errorText();
}

TEST(ClearText, BadStatementsAreReportedAndSkipped) {
    const CGMMetafile mf = readBody(
        "FOO 1; INTSTYLE STRIPED; LINE 1; LINETYPE 1 2; TEXT 0 0 FINAL 12; LINECOLR 4; "
        "MFELEMLIST 'NOSUCH'; 12 LINE;");
    EXPECT_TRUE(mf.hasError("unknown element FOO")) << mf.errorText();
    EXPECT_TRUE(mf.hasError("INTSTYLE: unknown enumeration value 'STRIPED'"));
    EXPECT_TRUE(mf.hasError("LINE: parameters end early"));
    EXPECT_TRUE(mf.hasError("LINETYPE: unexpected parameter '2'"));
    EXPECT_TRUE(mf.hasError("TEXT: expected a string, found '12'"));
    EXPECT_TRUE(mf.hasError("MFELEMLIST: unknown element name NOSUCH"));
    EXPECT_TRUE(mf.hasError("expected an element keyword, found '12'"));
    EXPECT_EQ(mf.errors.size(), 7u) << mf.errorText();
    const std::vector<CGMElement> body = bodyOf(mf);
    ASSERT_EQ(body.size(), 1u);  // decoding went on after each bad statement
    EXPECT_EQ(body[0].params, Values{X(4)});
}

TEST(ClearText, StructuralErrors) {
    EXPECT_TRUE(CGMClearTextReader::read("BEGMF 'x'; ENDMF").hasError("ENDMF: missing ';'"));
    EXPECT_TRUE(CGMClearTextReader::read("BEGMF 'x; ENDMF;").hasError("unterminated string"));
    EXPECT_TRUE(
        CGMClearTextReader::read("BEGMF 'x'; % no end ENDMF;").hasError("unterminated comment"));
    EXPECT_TRUE(CGMClearTextReader::read("BEGMF 'x'; ENDMF; LINE 0 0;").hasError("after ENDMF"));
    EXPECT_TRUE(CGMClearTextReader::read("LINE 0 0; ENDMF;").hasError("does not begin with BEGMF"));
    EXPECT_TRUE(CGMClearTextReader::read("BEGMF 'x';").hasError("missing ENDMF"));
    EXPECT_TRUE(CGMClearTextReader::read("").hasError("no BEGMF"));
    const CGMMetafile stray = CGMClearTextReader::read("BEGMF 'x'; ENDMF @;");
    EXPECT_TRUE(stray.hasError("line 1: unexpected character '@'")) << stray.errorText();
    const CGMMetafile lines = CGMClearTextReader::read("BEGMF 'x';\n\nLINETYPE a;\nENDMF;");
    EXPECT_TRUE(lines.hasError("line 3: LINETYPE")) << lines.errorText();
}
