// Binary elements one by one under the default precisions: their class and id, keyword and
// decoded parameters; cell arrays and pattern tables in each list form.

#include <gtest/gtest.h>

#include "CGMBytes.h"

using namespace cgmbytes;

namespace {

struct Case {
    std::string raw;  // the whole element
    const char* keyword;
    int elementClass, id;
    Values params;
};

/// Decodes one element inside a picture body and checks it against the case.
void expectElement(const Case& c, const std::string& descriptor = "") {
    const CGMMetafile mf = CGMBinaryDecoder::decode(picture(descriptor, c.raw));
    ASSERT_TRUE(mf.clean()) << c.keyword << "\n" << mf.errorText();
    const std::vector<CGMElement> body = bodyOf(mf);
    ASSERT_EQ(body.size(), 1u) << c.keyword;
    EXPECT_EQ(body[0].keyword, c.keyword);
    EXPECT_EQ(body[0].elementClass, c.elementClass) << c.keyword;
    EXPECT_EQ(body[0].id, c.id) << c.keyword;
    EXPECT_EQ(body[0].params, c.params) << c.keyword;
}

const std::string kHalf = bytes({0, 0, 0x80, 0});  // 0.5 in fixed point 16.16

}  // namespace

TEST(Elements, PrimitivesAndLineAndFillAttributes) {
    const Case cases[] = {
        {element(4, 1, pt(0, 0) + pt(10, 0) + pt(10, 10)),
         "LINE",
         4,
         1,
         {P(0, 0), P(10, 0), P(10, 10)}},
        {element(4, 3, pt(-1, -2)), "MARKER", 4, 3, {P(-1, -2)}},
        {element(4, 7, pt(0, 0) + pt(4, 0) + pt(0, 3)),
         "POLYGON",
         4,
         7,
         {P(0, 0), P(4, 0), P(0, 3)}},
        {element(5, 2, i16(-4)), "LINETYPE", 5, 2, {I(-4)}},
        {element(5, 3, i16(3)), "LINEWIDTH", 5, 3, {R(3)}},
        {element(5, 4, i8(17)), "LINECOLR", 5, 4, {X(17)}},
        {element(5, 6, i16(3)), "MARKERTYPE", 5, 6, {I(3)}},
        {element(5, 7, i16(9)), "MARKERSIZE", 5, 7, {R(9)}},
        {element(5, 8, i8(2)), "MARKERCOLR", 5, 8, {X(2)}},
        {element(5, 22, i16(2)), "INTSTYLE", 5, 22, {I(2)}},
        {element(5, 23, i8(255)), "FILLCOLR", 5, 23, {X(255)}},
        {element(5, 25, i16(6)), "PATINDEX", 5, 25, {I(6)}},
        {element(5, 30, i16(0)), "EDGEVIS", 5, 30, {I(0)}},
        {element(5, 33, i16(1) + i16(2) + i16(3) + i16(-4)),
         "PATSIZE",
         5,
         33,
         {R(1), R(2), R(3), R(-4)}},
        {element(5, 37, i16(2) + i16(3)), "LINECAP", 5, 37, {I(2), I(3)}},
        {element(5, 38, i16(3)), "LINEJOIN", 5, 38, {I(3)}},
        {element(3, 5, pt(-10, -20) + pt(30, 40)), "CLIPRECT", 3, 5, {P(-10, -20), P(30, 40)}},
        {element(3, 6, i16(1)), "CLIP", 3, 6, {I(1)}},
        {element(3, 19, bytes({0, 4, 0, 0})), "MITRELIMIT", 3, 19, {R(4)}},
        {element(5, 34, i8(2) + bytes({255, 0, 0, 0, 0, 255})),
         "COLRTABLE",
         5,
         34,
         {X(2), C(255, 0, 0), C(0, 0, 255)}},
    };
    for (const Case& c : cases) expectElement(c);
}

TEST(Elements, TextAndTextAttributes) {
    const Case cases[] = {
        {element(4, 4, pt(5, 6) + i16(1) + str("Hi 'there'")),
         "TEXT",
         4,
         4,
         {P(5, 6), I(1), S("Hi 'there'")}},
        {element(5, 10, i16(3)), "TEXTFONTINDEX", 5, 10, {I(3)}},
        {element(5, 11, i16(2)), "TEXTPREC", 5, 11, {I(2)}},
        {element(5, 12, kHalf), "CHAREXPAN", 5, 12, {R(0.5)}},
        {element(5, 13, bytes({0xFF, 0xFF, 0xC0, 0})), "CHARSPACE", 5, 13, {R(-0.25)}},
        {element(5, 14, i8(1)), "TEXTCOLR", 5, 14, {X(1)}},
        {element(5, 15, i16(12)), "CHARHEIGHT", 5, 15, {R(12)}},
        {element(5, 16, i16(0) + i16(1) + i16(1) + i16(0)),
         "CHARORI",
         5,
         16,
         {R(0), R(1), R(1), R(0)}},
        {element(5, 17, i16(0)), "TEXTPATH", 5, 17, {I(0)}},
        {element(5, 18, i16(2) + i16(4) + kHalf + bytes({0, 1, 0, 0})),
         "TEXTALIGN",
         5,
         18,
         {I(2), I(4), R(0.5), R(1)}},
    };
    for (const Case& c : cases) expectElement(c);
}

TEST(Elements, MetafileAndPictureDescriptors) {
    const std::string header = element(1, 1, i16(4)) + element(1, 2, str("by hand")) +
                               element(1, 3, i16(0)) +
                               element(1, 11, i16(2) + i16(-1) + i16(1) + i16(4) + i16(9)) +
                               element(1, 13, str("Helvetica") + str("Times-Roman"));
    const std::string descriptor =
        element(2, 1, i16(0) + bytes({0, 0, 0, 0})) + element(2, 2, i16(0)) +
        element(2, 3, i16(0)) + element(2, 4, i16(0)) + element(2, 5, i16(0)) +
        element(2, 6, pt(0, 0) + pt(1000, 800)) + element(2, 7, bytes({255, 255, 255})) +
        element(2, 17, i16(-1) + i16(20) + i16(3) + i16(1) + i16(2));
    const CGMMetafile mf = CGMBinaryDecoder::decode(picture(descriptor, "", header));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(mf.all("MFDESC")[0].params, Values{S("by hand")});
    EXPECT_EQ(mf.all("VDCTYPE")[0].params, Values{I(0)});
    EXPECT_EQ(mf.all("MFELEMLIST")[0].params, (Values{I(-1), I(1), I(4), I(9)}));
    EXPECT_EQ(mf.all("FONTLIST")[0].params, (Values{S("Helvetica"), S("Times-Roman")}));
    EXPECT_EQ(mf.all("SCALEMODE")[0].params, (Values{I(0), R(0)}));
    EXPECT_EQ(mf.all("VDCEXT")[0].params, (Values{P(0, 0), P(1000, 800)}));
    EXPECT_EQ(mf.all("LINEEDGETYPEDEF")[0].params, (Values{I(-1), R(20), I(3), I(1), I(2)}));
    EXPECT_EQ(mf.all("EDGEWIDTHMODE")[0].elementClass, 2);
    EXPECT_EQ(mf.all("EDGEWIDTHMODE")[0].id, 5);

    const CGMMetafile wrong =
        CGMBinaryDecoder::decode(picture("", "", element(1, 11, i16(3) + i16(-1) + i16(1))));
    EXPECT_TRUE(wrong.hasError("MFELEMLIST: element count 3 does not match its length"))
        << wrong.errorText();
}

namespace {

std::string cellArrayHead(int columns, int rows, int precision, int mode) {
    return pt(0, 0) + pt(30, 20) + pt(30, 0) + i16(columns) + i16(rows) + i16(precision) +
           i16(mode);
}

const Values kCorners = {P(0, 0), P(30, 20), P(30, 0)};

Values cellValues(int columns, int rows, int precision, const Values& cells) {
    Values out = kCorners;
    for (int v : {columns, rows, precision}) out.push_back(I(v));
    out.insert(out.end(), cells.begin(), cells.end());
    return out;
}

}  // namespace

TEST(CellArray, PackedRowsOfIndicesAndColoursArePaddedToSixteenBits) {
    // 3 columns of 8-bit indices: each row 3 bytes and one padding byte
    expectElement({element(4, 9, cellArrayHead(3, 2, 8, 1) + bytes({1, 2, 3, 0, 4, 5, 6, 0})),
                   "CELLARRAY", 4, 9, cellValues(3, 2, 8, {X(1), X(2), X(3), X(4), X(5), X(6)})});
    // 1-bit indices: 10110 and 01001, each row in one word
    expectElement(
        {element(4, 9, cellArrayHead(5, 2, 1, 1) + bytes({0xB0, 0, 0x48, 0})), "CELLARRAY", 4, 9,
         cellValues(5, 2, 1, {X(1), X(0), X(1), X(1), X(0), X(0), X(1), X(0), X(0), X(1)})});
    // precision 0: the colour index precision (8 bits by default)
    expectElement({element(4, 9, cellArrayHead(2, 1, 0, 1) + bytes({7, 8})), "CELLARRAY", 4, 9,
                   cellValues(2, 1, 0, {X(7), X(8)})});

    const std::string direct = element(2, 2, i16(1));
    // 4-bit components A, 5, F: 12 bits padded to 16
    expectElement({element(4, 9, cellArrayHead(1, 1, 4, 1) + bytes({0xA5, 0xF0})), "CELLARRAY", 4,
                   9, cellValues(1, 1, 4, {C(10, 5, 15)})},
                  direct);
    expectElement({element(4, 9, cellArrayHead(1, 2, 8, 1) + bytes({1, 2, 3, 0, 4, 5, 6, 0})),
                   "CELLARRAY", 4, 9, cellValues(1, 2, 8, {C(1, 2, 3), C(4, 5, 6)})},
                  direct);
}

TEST(CellArray, RunLengthRows) {
    // row 1: 3 x 7, 2 x 9 (6 bytes); row 2: 5 x 1 (3 bytes and a padding byte)
    const std::string runs = i16(3) + i8(7) + i16(2) + i8(9) + i16(5) + i8(1) + i8(0);
    expectElement(
        {element(4, 9, cellArrayHead(5, 2, 8, 0) + runs), "CELLARRAY", 4, 9,
         cellValues(5, 2, 8, {X(7), X(7), X(7), X(9), X(9), X(1), X(1), X(1), X(1), X(1)})});
}

TEST(CellArray, BadListsAreReported) {
    const CGMMetafile mf = CGMBinaryDecoder::decode(
        picture("", element(4, 9, cellArrayHead(5, 1, 8, 0) + i16(6) + i8(1) + i8(0)) +
                        element(4, 9, cellArrayHead(2, 1, 3, 1) + bytes({0, 0})) +
                        element(4, 9, cellArrayHead(2, 1, 8, 2) + bytes({0, 0})) +
                        element(4, 9, cellArrayHead(4, 1, 8, 1) + bytes({1, 2}))));
    EXPECT_TRUE(mf.hasError("run of 6 cells does not fit the row")) << mf.errorText();
    EXPECT_TRUE(mf.hasError("local colour precision 3 is not allowed")) << mf.errorText();
    EXPECT_TRUE(mf.hasError("unknown cell representation mode 2")) << mf.errorText();
    EXPECT_TRUE(mf.hasError("CELLARRAY: parameters end early")) << mf.errorText();
    EXPECT_TRUE(bodyOf(mf).empty());
}

TEST(PatternTable, ColoursPackedWithOrWithoutRowPadding) {
    const Values expected = {I(1), I(3), I(2), I(8), X(1), X(2), X(3), X(4), X(5), X(6)};
    expectElement({element(5, 32, i16(1) + i16(3) + i16(2) + i16(8) + bytes({1, 2, 3, 4, 5, 6})),
                   "PATTABLE", 5, 32, expected});
    expectElement(
        {element(5, 32, i16(1) + i16(3) + i16(2) + i16(8) + bytes({1, 2, 3, 0, 4, 5, 6, 0})),
         "PATTABLE", 5, 32, expected});
    expectElement({element(5, 32, i16(2) + i16(1) + i16(1) + i16(0) + bytes({9, 8, 7})),
                   "PATTABLE",
                   5,
                   32,
                   {I(2), I(1), I(1), I(0), C(9, 8, 7)}},
                  element(2, 2, i16(1)));
}
