// The same metafiles written by hand in both encodings decode to equal element lists, and a
// single changed value makes them differ.

#include <gtest/gtest.h>

#include <cstring>

#include "CGMBytes.h"

using namespace cgmbytes;

namespace {

/// An IEEE single, most significant byte first.
std::string f32(float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return i32(static_cast<std::int64_t>(bits));
}

std::string f32s(std::initializer_list<float> values) {
    std::string out;
    for (float v : values) out += f32(v);
    return out;
}

const std::string kOne = bytes({0, 1, 0, 0}), kZero = bytes({0, 0, 0, 0}),
                  kFour = bytes({0, 4, 0, 0});

const char* const kFirstText =
    "BEGMF 'pair'; MFVERSION 1; MFDESC 'two encodings'; VDCTYPE INTEGER;\n"
    "INTEGERPREC -32767 32767; REALPREC -32767. 32767. 8; INDEXPREC -32767 32767;\n"
    "COLRPREC 255; COLRINDEXPREC 255; MAXCOLRINDEX 255; COLRVALUEEXT 0 0 0 255 255 255;\n"
    "MFELEMLIST 'DRAWINGPLUS'; FONTLIST 'Helvetica', 'Courier';\n"
    "BEGPIC 'page 1'; SCALEMODE ABSTRACT 0.; COLRMODE INDEXED; LINEWIDTHMODE ABS;\n"
    "MARKERSIZEMODE ABS; EDGEWIDTHMODE ABS; VDCEXT 0 0 2100 2970; BACKCOLR 255 255 255;\n"
    "BEGPICBODY; CLIPRECT 0 0 2100 2970; CLIP ON;\n"
    "LINETYPE 1; LINEWIDTH 3; LINECOLR 2; LINECAP 2 1; LINEJOIN 2; MITRELIMIT 4.;\n"
    "LINE 100 100 200 100 200 -50;\n"
    "MARKERTYPE 3; MARKERSIZE 12; MARKERCOLR 4; MARKER 10 10 20 20;\n"
    "TEXTFONTINDEX 2; TEXTPREC STROKE; CHAREXPAN 1.; CHARSPACE 0.; TEXTCOLR 1;\n"
    "CHARHEIGHT 40; CHARORI 0 1 1 0; TEXTPATH RIGHT; TEXTALIGN LEFT BASE 0. 0.;\n"
    "TEXT 300 400 FINAL 'Hello, world';\n"
    "INTSTYLE SOLID; FILLCOLR 5; EDGEVIS OFF; POLYGON 0 0 50 0 50 50 0 50;\n"
    "ENDPIC; ENDMF;";

/// kFirstText in the binary encoding, with the polyline's last point as given.
std::string firstBinary(int lastX = 200, int lastY = -50) {
    const std::string header =
        element(1, 1, i16(1)) + element(1, 2, str("two encodings")) + element(1, 3, i16(0)) +
        element(1, 4, i16(16)) + element(1, 5, i16(1) + i16(16) + i16(16)) +
        element(1, 6, i16(16)) + element(1, 7, i16(8)) + element(1, 8, i16(8)) +
        element(1, 9, i8(255)) + element(1, 10, bytes({0, 0, 0, 255, 255, 255})) +
        element(1, 11, i16(1) + i16(-1) + i16(1)) +
        element(1, 13, str("Helvetica") + str("Courier"));
    const std::string descriptor =
        element(2, 1, i16(0) + f32(0)) + element(2, 2, i16(0)) + element(2, 3, i16(0)) +
        element(2, 4, i16(0)) + element(2, 5, i16(0)) + element(2, 6, pt(0, 0) + pt(2100, 2970)) +
        element(2, 7, bytes({255, 255, 255}));
    const std::string body =
        element(3, 5, pt(0, 0) + pt(2100, 2970)) + element(3, 6, i16(1)) + element(5, 2, i16(1)) +
        element(5, 3, i16(3)) + element(5, 4, i8(2)) + element(5, 37, i16(2) + i16(1)) +
        element(5, 38, i16(2)) + element(3, 19, kFour) +
        element(4, 1, pt(100, 100) + pt(200, 100) + pt(lastX, lastY)) + element(5, 6, i16(3)) +
        element(5, 7, i16(12)) + element(5, 8, i8(4)) + element(4, 3, pt(10, 10) + pt(20, 20)) +
        element(5, 10, i16(2)) + element(5, 11, i16(2)) + element(5, 12, kOne) +
        element(5, 13, kZero) + element(5, 14, i8(1)) + element(5, 15, i16(40)) +
        element(5, 16, i16(0) + i16(1) + i16(1) + i16(0)) + element(5, 17, i16(0)) +
        element(5, 18, i16(1) + i16(4) + kZero + kZero) +
        element(4, 4, pt(300, 400) + i16(1) + str("Hello, world")) + element(5, 22, i16(1)) +
        element(5, 23, i8(5)) + element(5, 30, i16(0)) +
        element(4, 7, pt(0, 0) + pt(50, 0) + pt(50, 50) + pt(0, 50));
    return begmf("pair") + header + begpic("page 1") + descriptor + begpicbody() + body + endpic() +
           endmf();
}

const char* const kSecondText =
    "BEGMF 'pair 2'; MFVERSION 1; VDCTYPE REAL; REALPREC -3.4e38 3.4e38 7; COLRPREC 255;\n"
    "BEGPIC 'p'; SCALEMODE METRIC 0.5; COLRMODE DIRECT; LINEWIDTHMODE SCALED;\n"
    "MARKERSIZEMODE ABS; EDGEWIDTHMODE ABS; VDCEXT 0. 0. 210.5 297.25; BACKCOLR 0 0 0;\n"
    "LINEEDGETYPEDEF -1 4.5 2 1;\n"
    "BEGPICBODY; VDCREALPREC -3.4e38 3.4e38 7; COLRTABLE 0 255 0 0 0 255 0;\n"
    "LINEWIDTH 2.5; LINECOLR 255 128 0; LINE 1.5 2.25 -3.75 4.;\n"
    "MARKERSIZE 1.25; MARKER 0.5 0.5; TRANSPCELLCOLR ON 255 255 255;\n"
    "CELLARRAY 0. 0. 30. 20. 30. 0. 2 1 255 1 2 3 4 5 6;\n"
    "PATTABLE 1 1 2 255 9 8 7 6 5 4; PATSIZE 0. 1. 1. 0.; PATINDEX 1; INTSTYLE PAT;\n"
    "FILLCOLR 10 20 30; EDGEVIS ON; EDGEWIDTH 0.75; EDGECOLR 1 1 1;\n"
    "POLYGON 0. 0. 1. 0. 1. 1.;\n"
    "ENDPIC; ENDMF;";

std::string secondBinary() {
    const std::string header = element(1, 1, i16(1)) + element(1, 3, i16(1)) +
                               element(1, 5, i16(0) + i16(9) + i16(23)) + element(1, 7, i16(8));
    // VDC reals stay fixed point 16.16 until the picture body sets their precision
    const std::string descriptor =
        element(2, 1, i16(1) + f32(0.5f)) + element(2, 2, i16(1)) + element(2, 3, i16(1)) +
        element(2, 4, i16(0)) + element(2, 5, i16(0)) +
        element(2, 6, kZero + kZero + bytes({0, 210, 0x80, 0, 0x01, 0x29, 0x40, 0})) +
        element(2, 7, bytes({0, 0, 0})) + element(2, 17, i16(-1) + f32(4.5f) + i16(2) + i16(1));
    const std::string body =
        element(3, 2, i16(0) + i16(9) + i16(23)) +
        element(5, 34, i8(0) + bytes({255, 0, 0, 0, 255, 0})) + element(5, 3, f32(2.5f)) +
        element(5, 4, bytes({255, 128, 0})) + element(4, 1, f32s({1.5f, 2.25f, -3.75f, 4.f})) +
        element(5, 7, f32(1.25f)) + element(4, 3, f32s({0.5f, 0.5f})) +
        element(3, 20, i16(1) + bytes({255, 255, 255})) +
        element(4, 9,
                f32s({0, 0, 30, 20, 30, 0}) + i16(2) + i16(1) + i16(8) + i16(1) +
                    bytes({1, 2, 3, 4, 5, 6})) +
        element(5, 32, i16(1) + i16(1) + i16(2) + i16(8) + bytes({9, 8, 7, 6, 5, 4})) +
        element(5, 33, f32s({0, 1, 1, 0})) + element(5, 25, i16(1)) + element(5, 22, i16(2)) +
        element(5, 23, bytes({10, 20, 30})) + element(5, 30, i16(1)) + element(5, 28, f32(0.75f)) +
        element(5, 29, bytes({1, 1, 1})) + element(4, 7, f32s({0, 0, 1, 0, 1, 1}));
    return begmf("pair 2") + header + begpic() + descriptor + begpicbody() + body + endpic() +
           endmf();
}

}  // namespace

TEST(EncodingPair, IntegerVdcAndIndexedColour) {
    const CGMMetafile binary = CGMBinaryDecoder::decode(firstBinary());
    const CGMMetafile text = CGMClearTextReader::read(kFirstText);
    ASSERT_TRUE(binary.clean()) << binary.errorText();
    ASSERT_TRUE(text.clean()) << text.errorText();
    EXPECT_EQ(binary.elements.size(), text.elements.size());
    EXPECT_EQ(binary.comparable().size(), 46u);
    EXPECT_EQ(binary.firstDifference(text, 0.0), "");
    EXPECT_EQ(binary.comparable(), text.comparable());
}

TEST(EncodingPair, RealVdcDirectColourAndColourLists) {
    const CGMMetafile binary = CGMBinaryDecoder::decode(secondBinary());
    const CGMMetafile text = CGMClearTextReader::read(kSecondText);
    ASSERT_TRUE(binary.clean()) << binary.errorText();
    ASSERT_TRUE(text.clean()) << text.errorText();
    EXPECT_EQ(binary.comparable().size(), 32u);
    EXPECT_EQ(binary.firstDifference(text, 0.0), "");
    // spot checks that the agreement is on the intended values
    EXPECT_EQ(text.all("VDCEXT")[0].params, (Values{P(0, 0), P(210.5, 297.25)}));
    EXPECT_EQ(binary.all("CELLARRAY")[0].params.back(), C(4, 5, 6));
}

TEST(EncodingPair, OneChangedValueIsFound) {
    const CGMMetafile binary = CGMBinaryDecoder::decode(firstBinary(200, -51));
    const CGMMetafile text = CGMClearTextReader::read(kFirstText);
    ASSERT_TRUE(binary.clean()) << binary.errorText();
    const std::string difference = binary.firstDifference(text, 0.5);
    EXPECT_NE(difference.find("LINE(4,1) (100,100) (200,100) (200,-51) vs"), std::string::npos)
        << difference;
    EXPECT_EQ(binary.firstDifference(text, 1.0), "");  // within the tolerance

    // 0.1 is 6553/65536 in fixed point 16.16: equal only within a tolerance
    const CGMMetafile fixed =
        CGMBinaryDecoder::decode(picture("", element(5, 12, bytes({0, 0, 0x19, 0x99}))));
    const CGMMetafile decimal = CGMClearTextReader::read(
        "BEGMF 't'; BEGPIC 'p'; BEGPICBODY; CHAREXPAN 0.1; ENDPIC; ENDMF;");
    ASSERT_TRUE(fixed.clean() && decimal.clean()) << fixed.errorText() << decimal.errorText();
    EXPECT_NE(fixed.firstDifference(decimal, 0.0), "");
    EXPECT_EQ(fixed.firstDifference(decimal, 1.0 / 65536), "");
}
