#include <cmath>
#include <limits>

#include "CGMBinaryFixture.h"

namespace cgmtest {
namespace {

using Parameter = CGMBinaryTest;

TEST_F(Parameter, IntegersTakeTheLowBytesOfTheirPrecision) {
    for (int precision = 1; precision <= 4; ++precision) {
        writer.setIntegerPrecision(precision);
        writer.PWriteInt(0x12345678u);
    }
    EXPECT_EQ(hex(sink.bytes()), "78 56 78 34 56 78 12 34 56 78");
}

TEST_F(Parameter, NegativeIntegersAreTwosComplement) {
    writer.PWriteInt(static_cast<unsigned int>(-2));
    writer.PWriteIndex(-1);
    writer.setIndexPrecision(1);
    writer.PWriteIndex(-1);
    writer.setIndexPrecision(3);
    writer.PWriteIndex(-256);
    EXPECT_EQ(hex(sink.bytes()), "FF FE FF FF FF FF FF 00");
}

TEST_F(Parameter, EnumerationsAreAlwaysTwoBytes) {
    writer.setIntegerPrecision(4);
    writer.setIndexPrecision(1);
    writer.PWriteEnum(0x0102);
    writer.PWriteEnum(0x12345);
    EXPECT_EQ(hex(sink.bytes()), "01 02 23 45");
}

TEST_F(Parameter, ColourIndicesAndComponentsFollowTheirPrecisions) {
    writer.PWriteColorI(0x1FF);
    writer.PWriteColorD(10, 20, 300);
    writer.setColorIndexPrecision(2);
    writer.setColorPrecision(2);
    writer.PWriteColorI(0x1FF);
    writer.PWriteColorD(10, 20, 300);
    EXPECT_EQ(hex(sink.bytes()), "FF 0A 14 2C 01 FF 00 0A 00 14 01 2C");
}

TEST_F(Parameter, RealsFollowTheRealPrecision) {
    EXPECT_EQ(writer.getRealPrecision(), 3);
    writer.PWriteReal(1.5);
    writer.setRealPrecision(1);
    writer.PWriteReal(1.5);
    writer.setRealPrecision(4);
    writer.PWriteReal(-0.5);
    EXPECT_EQ(hex(sink.bytes()), "00 01 7F FF 3F C0 00 00 FF FF FF FF 7F FF FF FF");
}

TEST_F(Parameter, IntegerVdcAreTruncatedWithTheVdcIntegerPrecision) {
    writer.setIntegerPrecision(4);
    writer.PWriteVDC(12.9);
    writer.PWriteVDC(-3.7);
    EXPECT_EQ(writer.getIntegerPrecision(), 4);
    writer.setVdcIntegerPrecision(1);
    writer.PWriteVDC(300.0);
    writer.PWriteInt(7);
    EXPECT_EQ(hex(sink.bytes()), "00 0C FF FD 2C 00 00 00 07");
}

TEST_F(Parameter, IntegerVdcBeyondAnIntAreClamped) {
    writer.setVdcIntegerPrecision(4);
    writer.PWriteVDC(1e12);
    writer.PWriteVDC(-1e12);
    writer.PWriteVDC(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(hex(sink.bytes()), "7F FF FF FF 80 00 00 00 00 00 00 00");
}

TEST_F(Parameter, RealVdcUseTheVdcRealPrecisionAndLeaveTheRealPrecision) {
    writer.setVdcType(1);
    writer.setRealPrecision(2);
    writer.PWriteVDC(1.5);  // default VDC real precision: 32-bit fixed point
    writer.setVdcRealPrecision(1);
    writer.PWriteVDC(1.5);
    EXPECT_EQ(writer.getRealPrecision(), 2);
    writer.PWriteReal(1.0);
    EXPECT_EQ(hex(sink.bytes()), "00 01 7F FF 3F C0 00 00 3F F0 00 00 00 00 00 00");
}

TEST_F(Parameter, SizesFollowTypesAndPrecisions) {
    EXPECT_EQ(writer.getVdcSize(), 2);
    EXPECT_EQ(writer.getRealSize(), 4);
    writer.setVdcIntegerPrecision(4);
    EXPECT_EQ(writer.getVdcSize(), 4);
    writer.setVdcType(1);
    writer.setVdcRealPrecision(2);
    EXPECT_EQ(writer.getVdcSize(), 8);
    writer.setVdcRealPrecision(3);
    EXPECT_EQ(writer.getVdcSize(), 4);
    writer.setRealPrecision(4);
    EXPECT_EQ(writer.getRealSize(), 8);
}

TEST_F(Parameter, PointsCarryTheOffset) {
    writer.setVdcType(1);
    writer.setVdcRealPrecision(1);
    writer.setPointOffset(10.0f, 20.0f);
    writer.PWritePoint(SbVec4f(1.5f, -2.5f, 7.0f, 1.0f));
    // 11.5 = 1.4375 x 2^3 and 17.5 = 1.09375 x 2^4.
    EXPECT_EQ(hex(sink.bytes()), "41 38 00 00 41 8C 00 00");
}

TEST_F(Parameter, PointsWithoutOffsetAreWrittenAsGiven) {
    writer.PWritePoint(SbVec4f(3.0f, -4.0f, 0.0f, 1.0f));
    EXPECT_EQ(hex(sink.bytes()), "00 03 FF FC");
}

TEST_F(Parameter, ShortStringHasAOneByteLength) {
    const SbString name("Binary");
    EXPECT_EQ(SoCGMBinaryWriter::PStrLen(name), 7);
    writer.PWriteString(name);
    writer.PWriteString(SbString());
    EXPECT_EQ(hex(sink.bytes()), "06 42 69 6E 61 72 79 00");
    EXPECT_EQ(SoCGMBinaryWriter::PStrLen(SbString()), 1);
}

TEST_F(Parameter, ThreeHundredCharacterString) {
    const SbString text(std::string(300, 'x'));
    EXPECT_EQ(SoCGMBinaryWriter::PStrLen(text), 303);
    writer.PWriteString(text);
    const Bytes bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 303u);
    EXPECT_EQ(hex(slice(bytes, 0, 3)), "FF 01 2C");
    EXPECT_EQ(slice(bytes, 3, 300), Bytes(300, 'x'));
}

TEST_F(Parameter, LongLengthStartsAt255Characters) {
    EXPECT_EQ(SoCGMBinaryWriter::PStrLen(SbString(std::string(254, 'a'))), 255);
    EXPECT_EQ(SoCGMBinaryWriter::PStrLen(SbString(std::string(255, 'a'))), 258);
    writer.PWriteString(SbString(std::string(254, 'a')));
    writer.PWriteString(SbString(std::string(255, 'b')));
    const Bytes bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 255u + 258u);
    EXPECT_EQ(bytes[0], 254);
    EXPECT_EQ(hex(slice(bytes, 255, 4)), "FF 00 FF 62");
}

TEST_F(Parameter, UnicodeTextBelow256WritesItsLatin1Bytes) {
    const SbString wide(u"Gr\u00FC\u00DFe");
    const SbString latin1 = SbString::fromLatin1(
        "Gr\xFC\xDF"
        "e");
    EXPECT_EQ(SoCGMBinaryWriter::PStrLen(wide), SoCGMBinaryWriter::PStrLen(latin1));
    writer.PWriteString(wide);
    writer.PWriteString(latin1);
    EXPECT_EQ(hex(sink.bytes()), "05 47 72 FC DF 65 05 47 72 FC DF 65");
}

TEST_F(Parameter, CharactersAbove255WriteTheLowByteOfEachUtf16Unit) {
    const SbString euro(u"a\u20ACb");
    ASSERT_TRUE(euro.isUnicode());
    const SbString smile(u"x\U0001F600");  // two UTF-16 units: D83D DE00
    EXPECT_EQ(SoCGMBinaryWriter::PStrLen(euro), 4);
    EXPECT_EQ(SoCGMBinaryWriter::PStrLen(smile), 4);
    writer.PWriteString(euro);
    writer.PWriteString(smile);
    EXPECT_EQ(hex(sink.bytes()), "03 61 AC 62 03 78 3D 00");
}

TEST_F(Parameter, OverlongStringIsCutAndReported) {
    expectNoPosts = false;
    const SbString text(std::string(40000, 'z'));
    EXPECT_EQ(SoCGMBinaryWriter::PStrLen(text), 32767 + 3);
    EXPECT_EQ(errors.size(), 0u);  // measuring reports nothing
    elements.Pmfdesc(text);
    const auto found = parse();
    ASSERT_EQ(found.size(), 1u);
    ASSERT_EQ(found[0].params.size(), 32770u);
    EXPECT_EQ(hex(slice(found[0].params, 0, 4)), "FF 7F FF 7A");
    EXPECT_EQ(errors.countSeverity(SoDebugError::WARNING), 1u) << errors.dump();
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 0u) << errors.dump();
}

TEST_F(Parameter, ColourComponentsAreScaledAndTruncated) {
    EXPECT_EQ(SoCGMBinaryWriter::colorComponent(1.0f), 255);
    EXPECT_EQ(SoCGMBinaryWriter::colorComponent(0.5f), 127);
    EXPECT_EQ(SoCGMBinaryWriter::colorComponent(0.2f), 51);
    EXPECT_EQ(SoCGMBinaryWriter::colorComponent(0.999f), 254);
    EXPECT_EQ(SoCGMBinaryWriter::colorComponent(0.0f), 0);
    EXPECT_EQ(SoCGMBinaryWriter::colorComponent(-0.3f), 0);
    EXPECT_EQ(SoCGMBinaryWriter::colorComponent(1.7f), 255);
    EXPECT_EQ(SoCGMBinaryWriter::colorComponent(std::nanf("")), 0);
}

TEST_F(Parameter, BadPrecisionsAndModesAreReportedAndIgnored) {
    expectNoPosts = false;
    writer.setIntegerPrecision(0);
    writer.setIndexPrecision(5);
    writer.setColorPrecision(-1);
    writer.setColorIndexPrecision(8);
    writer.setVdcIntegerPrecision(9);
    writer.setRealPrecision(0);
    writer.setVdcRealPrecision(7);
    writer.setVdcType(2);
    writer.setColorSelectionMode(-1);
    writer.setLineWidthMode(3);
    writer.setMarkerSizeMode(2);
    writer.setEdgeWidthMode(5);
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 12u) << errors.dump();
    EXPECT_EQ(writer.getIntegerPrecision(), 2);
    EXPECT_EQ(writer.getIndexPrecision(), 2);
    EXPECT_EQ(writer.getColorPrecision(), 1);
    EXPECT_EQ(writer.getColorIndexPrecision(), 1);
    EXPECT_EQ(writer.getVdcIntegerPrecision(), 2);
    EXPECT_EQ(writer.getRealPrecision(), 3);
    EXPECT_EQ(writer.getVdcRealPrecision(), 3);
    EXPECT_EQ(writer.getVdcType(), 0);
    EXPECT_EQ(writer.getColorSelectionMode(), 0);
    EXPECT_EQ(writer.getLineWidthMode(), 1);
    EXPECT_EQ(writer.getMarkerSizeMode(), 1);
    EXPECT_EQ(writer.getEdgeWidthMode(), 1);
}

TEST_F(Parameter, ResetToDefaultsRestoresEveryPrecisionAndMode) {
    writer.setIntegerPrecision(4);
    writer.setIndexPrecision(1);
    writer.setColorPrecision(2);
    writer.setColorIndexPrecision(3);
    writer.setVdcIntegerPrecision(4);
    writer.setRealPrecision(2);
    writer.setVdcRealPrecision(1);
    writer.setVdcType(1);
    writer.setLineWidthMode(0);
    writer.setMarkerSizeMode(0);
    writer.setEdgeWidthMode(0);
    for (bool indexed : {true, false}) {
        writer.setColorSelectionMode(indexed ? 1 : 0);
        writer.resetToDefaults(indexed);
        EXPECT_EQ(writer.getColorSelectionMode(), indexed ? 0 : 1);
        EXPECT_EQ(writer.getIntegerPrecision(), 2);
        EXPECT_EQ(writer.getIndexPrecision(), 2);
        EXPECT_EQ(writer.getColorPrecision(), 1);
        EXPECT_EQ(writer.getColorIndexPrecision(), 1);
        EXPECT_EQ(writer.getVdcIntegerPrecision(), 2);
        EXPECT_EQ(writer.getRealPrecision(), 3);
        EXPECT_EQ(writer.getVdcRealPrecision(), 3);
        EXPECT_EQ(writer.getVdcType(), 0);
        EXPECT_EQ(writer.getLineWidthMode(), 1);
        EXPECT_EQ(writer.getMarkerSizeMode(), 1);
        EXPECT_EQ(writer.getEdgeWidthMode(), 1);
    }
}

}  // namespace
}  // namespace cgmtest
