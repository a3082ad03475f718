#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "CGMBinaryFixture.h"

namespace cgmtest {
namespace {

Bytes encode(double x, int code) {
    unsigned char bytes[8] = {};
    const int count = SoCGMBinaryReal::encode(x, code, bytes);
    return Bytes(bytes, bytes + count);
}

/// The IEEE 754 single precision bit pattern of f, most significant byte first.
Bytes floatBits(float f) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    Bytes bytes;
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back((bits >> shift) & 0xFF);
    return bytes;
}

/// The IEEE 754 double precision bit pattern of d, most significant byte first.
Bytes doubleBits(double d) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    Bytes bytes;
    for (int shift = 56; shift >= 0; shift -= 8) bytes.push_back((bits >> shift) & 0xFF);
    return bytes;
}

TEST(CGMReal, SizesFollowTheCode) {
    EXPECT_EQ(SoCGMBinaryReal::size(1), 4);
    EXPECT_EQ(SoCGMBinaryReal::size(2), 8);
    EXPECT_EQ(SoCGMBinaryReal::size(3), 4);
    EXPECT_EQ(SoCGMBinaryReal::size(4), 8);
}

TEST(CGMReal, Float32Examples) {
    EXPECT_EQ(hex(encode(1.0, 1)), "3F 80 00 00");
    EXPECT_EQ(hex(encode(-2.5, 1)), "C0 20 00 00");
    EXPECT_EQ(hex(encode(0.0, 1)), "00 00 00 00");
    EXPECT_EQ(hex(encode(100.0, 1)), "42 C8 00 00");
    EXPECT_EQ(hex(encode(-0.15625, 1)), "BE 20 00 00");
    EXPECT_EQ(hex(encode(0.5, 1)), "3F 00 00 00");
}

TEST(CGMReal, Float32TruncatesTheFraction) {
    // 0.1 = 1.6 x 2^-4; 0.6 x 2^23 = 5033164.8 is cut to 0x4CCCCC where rounding gives CD.
    EXPECT_EQ(hex(encode(0.1, 1)), "3D CC CC CC");
    EXPECT_EQ(hex(floatBits(0.1f)), "3D CC CC CD");
}

TEST(CGMReal, Float32MatchesIeeeForValuesAFloatHolds) {
    for (float f : {0.75f, 3.0f, 1e-3f, 123.456f, -7.25f, 65504.0f, 0.3f, -1e30f, 3.0e38f,
                    std::numeric_limits<float>::min(), 1.0f / 3.0f, 16777215.0f}) {
        EXPECT_EQ(hex(encode(f, 1)), hex(floatBits(f))) << f;
    }
}

TEST(CGMReal, Float32OutOfRange) {
    DebugErrorRecorder errors;
    // Below the smallest normal number nothing of the fraction survives: written as 0.
    EXPECT_EQ(hex(encode(1e-40, 1)), "00 00 00 00");
    EXPECT_EQ(errors.size(), 0u) << errors.dump();
    EXPECT_EQ(hex(encode(1e300, 1)), "7F 7F FF FF");
    EXPECT_EQ(hex(encode(-1e300, 1)), "FF 7F FF FF");
    EXPECT_EQ(errors.countSeverity(SoDebugError::WARNING), 2u) << errors.dump();
}

TEST(CGMReal, Float64Examples) {
    EXPECT_EQ(hex(encode(1.0, 2)), "3F F0 00 00 00 00 00 00");
    EXPECT_EQ(hex(encode(-2.5, 2)), "C0 04 00 00 00 00 00 00");
    EXPECT_EQ(hex(encode(0.0, 2)), "00 00 00 00 00 00 00 00");
    // 0.75 = 1.5 x 2^-1: exponent 1022, fraction 0.5.
    EXPECT_EQ(hex(encode(0.75, 2)), "3F E8 00 00 00 00 00 00");
}

TEST(CGMReal, Float64IsTheIeeeBitPattern) {
    for (double d : {0.1, 1.0 / 3.0, 1e10, -123.456, 6.02214076e23, std::ldexp(1.0, -1000),
                     -std::ldexp(1.0, 1000), 0.999999999999, 1.0000000000000002, 2.0, 0.5, 1e-300,
                     0.9999999999999999}) {
        EXPECT_EQ(hex(encode(d, 2)), hex(doubleBits(d))) << d;
    }
}

TEST(CGMReal, Fixed32Examples) {
    EXPECT_EQ(hex(encode(1.5, 3)), "00 01 7F FF");
    EXPECT_EQ(hex(encode(-0.5, 3)), "FF FF 7F FF");
    EXPECT_EQ(hex(encode(0.0, 3)), "00 00 00 00");
    // 0.25 x 65535 = 16383.75.
    EXPECT_EQ(hex(encode(2.25, 3)), "00 02 3F FF");
    EXPECT_EQ(hex(encode(-1.75, 3)), "FF FE 3F FF");
}

TEST(CGMReal, Fixed32NegativeWholeNumbersCountDownOneMore) {
    // -2 is written as whole -3 with the full fraction 65535.
    EXPECT_EQ(hex(encode(-2.0, 3)), "FF FD FF FF");
    EXPECT_EQ(hex(encode(-1.0, 3)), "FF FE FF FF");
}

TEST(CGMReal, Fixed32KeepsTheLowSixteenBitsOfTheWholePart) {
    // 70000 = 0x11170: its low 16 bits are 0x1170.
    EXPECT_EQ(hex(encode(70000.5, 3)), "11 70 7F FF");
}

TEST(CGMReal, Fixed64Examples) {
    EXPECT_EQ(hex(encode(1.5, 4)), "00 00 00 01 7F FF FF FF");
    EXPECT_EQ(hex(encode(-0.5, 4)), "FF FF FF FF 7F FF FF FF");
    EXPECT_EQ(hex(encode(-2.0, 4)), "FF FF FF FD FF FF FF FF");
    // 0.25 x (2^32 - 1) = 1073741823.75.
    EXPECT_EQ(hex(encode(0.25, 4)), "00 00 00 00 3F FF FF FF");
    EXPECT_EQ(hex(encode(70000.0, 4)), "00 01 11 70 00 00 00 00");
}

TEST(CGMReal, NonFiniteValuesAreReportedAndWrittenAsZero) {
    DebugErrorRecorder errors;
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
    for (int code = 1; code <= 4; ++code) {
        for (double x : bad) {
            EXPECT_EQ(encode(x, code), Bytes(SoCGMBinaryReal::size(code), 0)) << code;
        }
    }
    EXPECT_EQ(errors.countSeverity(SoDebugError::WARNING), 12u) << errors.dump();
}

TEST(CGMReal, FixedPointClampsValuesNoWholePartHolds) {
    DebugErrorRecorder errors;
    EXPECT_EQ(hex(encode(1e20, 4)), "7F FF FF FF 00 00 00 00");
    EXPECT_EQ(hex(encode(-1e20, 4)), "80 00 00 00 FF FF FF FF");
    EXPECT_EQ(errors.countSeverity(SoDebugError::WARNING), 2u) << errors.dump();
}

TEST(CGMReal, UnknownCodeIsReportedAndWritesZeros) {
    DebugErrorRecorder errors;
    EXPECT_EQ(encode(1.0, 5), Bytes(4, 0));
    EXPECT_EQ(encode(1.0, 0), Bytes(8, 0));
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 2u) << errors.dump();
}

}  // namespace
}  // namespace cgmtest
