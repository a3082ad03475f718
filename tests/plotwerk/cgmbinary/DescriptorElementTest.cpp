#include <cstring>

#include "CGMBinaryFixture.h"

namespace cgmtest {
namespace {

using Descriptor = CGMBinaryTest;

Bytes text(const char* s) {
    return Bytes(s, s + std::strlen(s));
}

TEST_F(Descriptor, BeginMetafileWithItsName) {
    elements.Pbegmf(SbString("PlotWerk CGM OUTPUT"), false);
    elements.Pendmf();
    const Bytes bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 2u + 20u + 2u);
    EXPECT_EQ(hex(slice(bytes, 0, 3)), "00 34 13");
    EXPECT_EQ(slice(bytes, 3, 19), text("PlotWerk CGM OUTPUT"));
    // 20 parameter bytes are even: END METAFILE follows without a pad byte.
    EXPECT_EQ(hex(slice(bytes, 22, 2)), "00 40");
}

TEST_F(Descriptor, BeginPictureIsFollowedByAPadByte) {
    elements.Pbegpic(SbString("Binary Image from PlotWerk"));
    elements.Pbegpicbody();
    elements.Pendpic();
    const Bytes bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 2u + 27u + 1u + 2u + 2u);
    EXPECT_EQ(hex(slice(bytes, 0, 3)), "00 7B 1A");
    EXPECT_EQ(slice(bytes, 3, 26), text("Binary Image from PlotWerk"));
    EXPECT_EQ(hex(slice(bytes, 29, 5)), "00 00 80 00 A0");
}

TEST_F(Descriptor, BeginMetafileRestoresTheDefaults) {
    writer.setIntegerPrecision(4);
    writer.setRealPrecision(2);
    writer.setVdcType(1);
    writer.setLineWidthMode(0);
    elements.Pbegmf(SbString("M"), true);
    EXPECT_EQ(writer.getIntegerPrecision(), 2);
    EXPECT_EQ(writer.getRealPrecision(), 3);
    EXPECT_EQ(writer.getVdcType(), 0);
    EXPECT_EQ(writer.getLineWidthMode(), 1);
    EXPECT_EQ(writer.getColorSelectionMode(), 0);
    elements.Pbegmf(SbString("M"), false);
    EXPECT_EQ(writer.getColorSelectionMode(), 1);
    EXPECT_EQ(hex(sink.bytes()), "00 22 01 4D 00 22 01 4D");
}

TEST_F(Descriptor, VersionAndDescription) {
    elements.Pmfversion(3);
    elements.Pmfdesc(SbString("Desc"));
    EXPECT_EQ(hex(sink.bytes()), "10 22 00 03 10 45 04 44 65 73 63");
}

TEST_F(Descriptor, VdcTypeIsRecorded) {
    elements.Pvdctype(1);
    EXPECT_EQ(writer.getVdcType(), 1);
    EXPECT_EQ(writer.getVdcSize(), 4);
    elements.Pvdctype(0);
    EXPECT_EQ(writer.getVdcType(), 0);
    EXPECT_EQ(hex(sink.bytes()), "10 62 00 01 10 62 00 00");
}

TEST_F(Descriptor, BadVdcTypeWritesNothing) {
    expectNoPosts = false;
    elements.Pvdctype(2);
    EXPECT_EQ(writer.getVdcType(), 0);
    EXPECT_TRUE(sink.bytes().empty());
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 1u) << errors.dump();
}

TEST_F(Descriptor, PrecisionBitsFromARange) {
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(0, 0), 8);
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(0, 255), 8);
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(-255, 10), 8);
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(0, 256), 16);
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(-256, 0), 16);
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(-32767, 32767), 16);
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(0, 65535), 16);
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(0, 65536), 24);
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(-65536, 1), 24);
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(0, 0xFFFFFF), 24);
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(0, 0x1000000), 32);
    EXPECT_EQ(SoCGMBinaryElements::precisionBits(-2147483647LL - 1, 2147483647), 32);
}

TEST_F(Descriptor, IntegerPrecisionIsWrittenInTheOldPrecisionThenRecorded) {
    elements.Pintegerprec(-32767, 32767);
    EXPECT_EQ(writer.getIntegerPrecision(), 2);
    elements.Pintegerprec(0, 70000);
    EXPECT_EQ(writer.getIntegerPrecision(), 3);
    elements.Pintegerprec(-5, 5);
    EXPECT_EQ(writer.getIntegerPrecision(), 1);
    elements.Pintegerprec(0, 0x1000000);
    EXPECT_EQ(writer.getIntegerPrecision(), 4);
    EXPECT_EQ(hex(sink.bytes()), "10 82 00 10 10 82 00 18 10 83 00 00 08 00 10 81 20");
}

TEST_F(Descriptor, IndexAndColourPrecisions) {
    elements.Pindexprec(-32767, 32767);
    elements.Pcolrprec(255);
    elements.Pcolrindexprec(255);
    EXPECT_EQ(writer.getIndexPrecision(), 2);
    EXPECT_EQ(writer.getColorPrecision(), 1);
    EXPECT_EQ(writer.getColorIndexPrecision(), 1);
    EXPECT_EQ(hex(sink.bytes()), "10 C2 00 10 10 E2 00 08 11 02 00 08");
    elements.Pindexprec(0, 100);
    elements.Pcolrprec(1000);
    elements.Pcolrindexprec(70000);
    EXPECT_EQ(writer.getIndexPrecision(), 1);
    EXPECT_EQ(writer.getColorPrecision(), 2);
    EXPECT_EQ(writer.getColorIndexPrecision(), 3);
}

TEST_F(Descriptor, RealPrecisionFromTheDigitCount) {
    EXPECT_EQ(SoCGMBinaryElements::realCodeForDigits(8), 1);
    EXPECT_EQ(SoCGMBinaryElements::realCodeForDigits(10), 1);
    EXPECT_EQ(SoCGMBinaryElements::realCodeForDigits(11), 2);
    elements.Prealprec(-32767.0, 32767.0, 8);
    EXPECT_EQ(writer.getRealPrecision(), 1);
    elements.Prealprec(-1.0, 1.0, 15);
    EXPECT_EQ(writer.getRealPrecision(), 2);
    EXPECT_EQ(hex(sink.bytes()), "10 A6 00 00 00 09 00 17 10 A6 00 00 00 0C 00 34");
}

TEST_F(Descriptor, RealPrecisionLengthFollowsTheIntegerPrecision) {
    elements.Pintegerprec(0, 0x1000000);
    elements.Prealprec(0.0, 1.0, 8);
    const auto found = parse();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(hex(found[1].params), "00 00 00 00 00 09 00 00 00 17");
}

TEST_F(Descriptor, VdcRealPrecisionIsRecordedApart) {
    elements.Pvdcrealprec(-32767.0, 32767.0, 8);
    EXPECT_EQ(writer.getVdcRealPrecision(), 1);
    EXPECT_EQ(writer.getRealPrecision(), 3);
    elements.Pvdcrealprec(0.0, 1.0, 12);
    EXPECT_EQ(writer.getVdcRealPrecision(), 2);
    EXPECT_EQ(hex(sink.bytes()), "30 46 00 00 00 09 00 17 30 46 00 00 00 0C 00 34");
}

TEST_F(Descriptor, ColourRangeElements) {
    const int black[3] = {0, 0, 0};
    const int white[3] = {255, 255, 255};
    elements.Pmaxcolrindex(255);
    elements.Pcolrvalueext(black, white);
    EXPECT_EQ(hex(sink.bytes()), "11 21 FF 00 11 46 00 00 00 FF FF FF");
}

TEST_F(Descriptor, ElementListNamesTheDrawingPlusSet) {
    elements.Pmfelemlist();
    EXPECT_EQ(hex(sink.bytes()), "11 66 00 01 FF FF 00 01");
}

TEST_F(Descriptor, FontListHoldsEveryName) {
    const SbString names[3] = {SbString("Times-Roman"), SbString("Helvetica-BoldOblique"),
                               SbString("Symbol")};
    elements.Pfontlist(names, 3);
    const Bytes bytes = sink.bytes();
    // 12 + 22 + 7 = 41 parameter bytes: the long form.
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "11 BF 00 29");
    Bytes expected;
    for (const char* name : {"Times-Roman", "Helvetica-BoldOblique", "Symbol"}) {
        expected.push_back(static_cast<unsigned char>(std::strlen(name)));
        append(expected, text(name));
    }
    EXPECT_EQ(slice(bytes, 4, 100), expected);
}

TEST_F(Descriptor, EmptyOrMissingFontListIsHandled) {
    elements.Pfontlist(nullptr, 0);
    EXPECT_EQ(hex(sink.bytes()), "11 A0");
    expectNoPosts = false;
    elements.Pfontlist(nullptr, 2);
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 1u) << errors.dump();
    EXPECT_EQ(sink.bytes().size(), 2u);
}

TEST_F(Descriptor, ScaleModeCarriesARealFactor) {
    elements.Pscalemode(1, 1.0);
    writer.setRealPrecision(1);
    elements.Pscalemode(1, 1.0);
    EXPECT_EQ(hex(sink.bytes()), "20 26 00 01 00 01 00 00 20 26 00 01 3F 80 00 00");
}

TEST_F(Descriptor, ModesAreRecorded) {
    elements.Pcolrmode(1);
    elements.Plinewidthmode(0);
    elements.Pmarkersizemode(0);
    elements.Pedgewidthmode(0);
    EXPECT_EQ(writer.getColorSelectionMode(), 1);
    EXPECT_EQ(writer.getLineWidthMode(), 0);
    EXPECT_EQ(writer.getMarkerSizeMode(), 0);
    EXPECT_EQ(writer.getEdgeWidthMode(), 0);
    EXPECT_EQ(hex(sink.bytes()), "20 42 00 01 20 62 00 00 20 82 00 00 20 A2 00 00");
    elements.Pcolrmode(0);
    elements.Plinewidthmode(1);
    EXPECT_EQ(writer.getColorSelectionMode(), 0);
    EXPECT_EQ(writer.getLineWidthMode(), 1);
}

TEST_F(Descriptor, BadModesWriteNothing) {
    expectNoPosts = false;
    elements.Pcolrmode(2);
    elements.Plinewidthmode(-1);
    elements.Pmarkersizemode(7);
    elements.Pedgewidthmode(3);
    EXPECT_TRUE(sink.bytes().empty());
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 4u) << errors.dump();
    EXPECT_EQ(writer.getLineWidthMode(), 1);
}

TEST_F(Descriptor, VdcExtentIgnoresTheOffset) {
    elements.Pvdctype(1);
    writer.setPointOffset(5.0f, 5.0f);
    elements.Pvdcext(0.0, 0.0, 210.0, 297.5);
    const Bytes bytes = sink.bytes();
    EXPECT_EQ(hex(slice(bytes, 4, 100)), "20 D0 00 00 00 00 00 00 00 00 00 D2 00 00 01 29 7F FF");
}

TEST_F(Descriptor, BackgroundColourIsAlwaysDirect) {
    writer.setColorSelectionMode(0);
    elements.Pbackcolr(SbColor(1.0f, 0.5f, 0.0f));
    elements.Pendmf();
    EXPECT_EQ(hex(sink.bytes()), "20 E3 FF 7F 00 00 00 40");
}

TEST_F(Descriptor, LineTypeDefinitionWithEvenRuns) {
    writer.setRealPrecision(1);
    const int runs[2] = {8, 8};
    elements.Plineedgetypedef(-1, 2.0, runs, 2);
    EXPECT_EQ(hex(sink.bytes()), "22 2A FF FF 40 00 00 00 00 08 00 08");
}

TEST_F(Descriptor, LineTypeDefinitionClosesOddRunsWithAZero) {
    writer.setRealPrecision(1);
    const int runs[3] = {4, 2, 6};
    elements.Plineedgetypedef(-2, 0.5, runs, 3);
    EXPECT_EQ(hex(sink.bytes()), "22 2E FF FE 3F 00 00 00 00 04 00 02 00 06 00 00");
}

}  // namespace
}  // namespace cgmtest
