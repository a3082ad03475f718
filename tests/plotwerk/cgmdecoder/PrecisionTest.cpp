// Binary parameter encodings under the defaults and under the precisions a metafile sets:
// integers, indices, reals in each form, VDC integers and reals, colours and indices.

#include <gtest/gtest.h>

#include "CGMBytes.h"

using namespace cgmbytes;

namespace {

const std::string kRealFloat32 = element(1, 5, i16(0) + i16(9) + i16(23));
const std::string kRealFloat64 = element(1, 5, i16(0) + i16(12) + i16(52));
const std::string kRealFixed64 = element(1, 5, i16(1) + i16(32) + i16(32));

std::string charexpan(const std::string& raw) {
    return element(5, 12, raw);
}

CGMValue firstParam(const CGMElement& e) {
    return e.params.at(0);
}

}  // namespace

TEST(Precision, DefaultsAtBeginMetafile) {
    const std::string body = element(4, 1, pt(-5, 300) + pt(32767, -32768)) +
                             element(5, 3, i16(7)) + charexpan(bytes({0x00, 0x01, 0x80, 0x00})) +
                             element(3, 19, bytes({0xFF, 0xFF, 0x80, 0x00})) +
                             element(5, 4, i8(200)) + element(5, 2, i16(-2));
    const CGMMetafile mf = CGMBinaryDecoder::decode(
        picture(element(2, 7, bytes({255, 128, 0})), body, element(1, 1, i16(3))));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(mf.all("MFVERSION")[0].params, Values{I(3)});
    EXPECT_EQ(mf.all("BACKCOLR")[0].params, Values{C(255, 128, 0)});
    const std::vector<CGMElement> b = bodyOf(mf);
    ASSERT_EQ(b.size(), 6u);
    EXPECT_EQ(b[0].params, (Values{P(-5, 300), P(32767, -32768)}));
    EXPECT_EQ(b[1].params, Values{R(7)});     // absolute width: a VDC integer
    EXPECT_EQ(b[2].params, Values{R(1.5)});   // fixed point 16.16
    EXPECT_EQ(b[3].params, Values{R(-0.5)});  // whole part -1, fraction one half
    EXPECT_EQ(b[4].params, Values{X(200)});   // colour indices are unsigned
    EXPECT_EQ(b[5].params, Values{I(-2)});
}

TEST(Precision, FloatingPointRealsOfThirtyTwoBits) {
    const std::string body = charexpan(bytes({0x3F, 0x80, 0x00, 0x00})) +
                             charexpan(bytes({0xC0, 0x20, 0x00, 0x00})) +
                             charexpan(bytes({0x00, 0x00, 0x00, 0x00}));
    const CGMMetafile mf = CGMBinaryDecoder::decode(picture("", body, kRealFloat32));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(mf.all("REALPREC")[0].params, (Values{I(0), I(9), I(23)}));
    const std::vector<CGMElement> b = bodyOf(mf);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(firstParam(b[0]), R(1.0));
    EXPECT_EQ(firstParam(b[1]), R(-2.5));
    EXPECT_EQ(firstParam(b[2]), R(0.0));
}

TEST(Precision, SixtyFourBitRealsFloatingAndFixed) {
    const std::string body =
        charexpan(bytes({0x3F, 0xF8, 0, 0, 0, 0, 0, 0})) +
        element(5, 13, bytes({0xBF, 0xB9, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9A}));
    const CGMMetafile mf = CGMBinaryDecoder::decode(picture("", body, kRealFloat64));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    const std::vector<CGMElement> b = bodyOf(mf);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(firstParam(b[0]), R(1.5));
    EXPECT_EQ(firstParam(b[1]), R(-0.1));  // the double nearest -0.1, bit for bit

    // fixed point: whole part -2 as a 32-bit integer, fraction 2^30 / 2^32 = 0.25
    const std::string fixedBody = charexpan(bytes({0xFF, 0xFF, 0xFF, 0xFE, 0x40, 0, 0, 0})) +
                                  charexpan(bytes({0, 0, 0x01, 0x00, 0x80, 0, 0, 0x01}));
    const CGMMetafile fixed = CGMBinaryDecoder::decode(picture("", fixedBody, kRealFixed64));
    ASSERT_TRUE(fixed.clean()) << fixed.errorText();
    const std::vector<CGMElement> f = bodyOf(fixed);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(firstParam(f[0]), R(-1.75));
    EXPECT_EQ(firstParam(f[1]), R(256.5 + 1.0 / 4294967296.0));
}

TEST(Precision, ScaleFactorIsFloatingPointWhateverTheRealForm) {
    const std::string metric = element(2, 1, i16(1) + bytes({0x3D, 0xCC, 0xCC, 0xCD}));
    const CGMMetafile mf = CGMBinaryDecoder::decode(picture(metric, ""));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(mf.all("SCALEMODE")[0].params, (Values{I(1), R(static_cast<double>(0.1f))}));

    const std::string wide = element(2, 1, i16(1) + bytes({0x3F, 0xE0, 0, 0, 0, 0, 0, 0}));
    const CGMMetafile mf64 = CGMBinaryDecoder::decode(picture(wide, "", kRealFloat64));
    ASSERT_TRUE(mf64.clean()) << mf64.errorText();
    EXPECT_EQ(mf64.all("SCALEMODE")[0].params, (Values{I(1), R(0.5)}));
}

TEST(Precision, IntegerPrecisionAppliesToItsOwnSuccessors) {
    // each INTEGERPREC is itself written at the precision in force before it
    const std::string header = element(1, 4, i16(8)) + element(1, 1, i8(4)) +
                               element(1, 4, i8(32)) + element(1, 1, i32(70000)) +
                               element(1, 4, i32(24)) + element(1, 1, i24(-5)) +
                               element(1, 5, i16(0) + i24(9) + i24(23));  // form is 16-bit
    const CGMMetafile mf =
        CGMBinaryDecoder::decode(picture("", charexpan(bytes({0x3F, 0x80, 0, 0})), header));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    const std::vector<CGMElement> versions = mf.all("MFVERSION");
    ASSERT_EQ(versions.size(), 3u);
    EXPECT_EQ(firstParam(versions[0]), I(4));
    EXPECT_EQ(firstParam(versions[1]), I(70000));
    EXPECT_EQ(firstParam(versions[2]), I(-5));
    EXPECT_EQ(mf.all("INTEGERPREC")[2].params, Values{I(24)});
    EXPECT_EQ(firstParam(bodyOf(mf).at(0)), R(1.0));
}

TEST(Precision, IndexPrecision) {
    const std::string body = element(5, 2, i8(-3)) + element(5, 6, i8(5));
    CGMMetafile mf = CGMBinaryDecoder::decode(picture("", body, element(1, 6, i16(8))));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(bodyOf(mf).at(0).params, Values{I(-3)});
    EXPECT_EQ(bodyOf(mf).at(1).params, Values{I(5)});
    mf = CGMBinaryDecoder::decode(picture("", element(5, 2, i32(100000)), element(1, 6, i16(32))));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(bodyOf(mf).at(0).params, Values{I(100000)});
}

TEST(Precision, VdcPrecisions) {
    const std::string body = element(3, 1, i16(32)) + element(4, 1, i32(100000) + i32(-100000)) +
                             element(3, 1, i16(24)) + element(4, 3, i24(-8388608) + i24(8388607));
    const CGMMetafile mf = CGMBinaryDecoder::decode(picture("", body));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    const std::vector<CGMElement> b = bodyOf(mf);
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(b[1].params, Values{P(100000, -100000)});
    EXPECT_EQ(b[3].params, Values{P(-8388608, 8388607)});

    // real VDC: fixed point 16.16 by default, then single and double floating point
    const std::string reals =
        element(4, 1, bytes({0x00, 0x02, 0x40, 0x00, 0xFF, 0xFE, 0xC0, 0x00})) +
        element(3, 2, i16(0) + i16(9) + i16(23)) +
        element(4, 1, bytes({0x3F, 0x80, 0, 0, 0x40, 0x49, 0x0F, 0xDB})) +
        element(3, 2, i16(0) + i16(12) + i16(52)) +
        element(5, 15, bytes({0x40, 0x59, 0, 0, 0, 0, 0, 0}));
    const CGMMetafile real = CGMBinaryDecoder::decode(picture("", reals, element(1, 3, i16(1))));
    ASSERT_TRUE(real.clean()) << real.errorText();
    const std::vector<CGMElement> r = bodyOf(real);
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0].params, Values{P(2.25, -1.25)});
    EXPECT_EQ(r[2].params, Values{P(1.0, static_cast<double>(3.14159274f))});
    EXPECT_EQ(r[4].keyword, "CHARHEIGHT");
    EXPECT_EQ(r[4].params, Values{R(100.0)});
}

TEST(Precision, BeginPictureRestoresThePictureDefaults) {
    const std::string first = begpic("one") + element(2, 2, i16(1)) + begpicbody() +
                              element(3, 1, i16(32)) + element(5, 4, bytes({1, 2, 3})) +
                              element(4, 1, i32(70000) + i32(1)) + endpic();
    const std::string second = begpic("two") + begpicbody() + element(5, 4, i8(4)) +
                               element(4, 1, pt(5, 6)) + element(5, 6, i8(2)) + endpic();
    // the index precision is the metafile's and stays in force across pictures
    const CGMMetafile mf =
        CGMBinaryDecoder::decode(begmf() + element(1, 6, i16(8)) + first + second + endmf());
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    const std::vector<CGMElement> colours = mf.all("LINECOLR"), lines = mf.all("LINE");
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0].params, Values{C(1, 2, 3)});
    EXPECT_EQ(colours[1].params, Values{X(4)});
    EXPECT_EQ(lines[0].params, Values{P(70000, 1)});
    EXPECT_EQ(lines[1].params, Values{P(5, 6)});
    EXPECT_EQ(mf.all("MARKERTYPE")[0].params, Values{I(2)});
}

TEST(Precision, ColourAndColourIndexPrecisions) {
    const std::string header =
        element(1, 7, i16(16)) + element(1, 8, i16(16)) + element(1, 9, i16(1000)) +
        element(1, 10, i16(0) + i16(0) + i16(0) + i16(65535) + i16(65535) + i16(65535));
    const std::string first = begpic() + element(2, 7, i16(1) + i16(40000) + i16(3)) +
                              begpicbody() + element(5, 4, i16(40000)) + endpic();
    const std::string second = begpic() + element(2, 2, i16(1)) + begpicbody() +
                               element(5, 23, i16(65535) + i16(0) + i16(256)) + endpic();
    const CGMMetafile mf = CGMBinaryDecoder::decode(begmf() + header + first + second + endmf());
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(mf.all("MAXCOLRINDEX")[0].params, Values{X(1000)});
    EXPECT_EQ(mf.all("COLRVALUEEXT")[0].params, (Values{C(0, 0, 0), C(65535, 65535, 65535)}));
    EXPECT_EQ(mf.all("BACKCOLR")[0].params, Values{C(1, 40000, 3)});
    EXPECT_EQ(mf.all("LINECOLR")[0].params, Values{X(40000)});
    EXPECT_EQ(mf.all("FILLCOLR")[0].params, Values{C(65535, 0, 256)});
}

TEST(Precision, PrecisionsOutsideTheAllowedSetAreReported) {
    const CGMMetafile mf = CGMBinaryDecoder::decode(picture(
        "", "",
        element(1, 4, i16(12)) + element(1, 7, i16(5)) + element(1, 5, i16(0) + i16(8) + i16(24))));
    EXPECT_TRUE(mf.hasError("INTEGERPREC: 12-bit precision is not allowed")) << mf.errorText();
    EXPECT_TRUE(mf.hasError("COLRPREC: 5-bit precision is not allowed")) << mf.errorText();
    EXPECT_TRUE(mf.hasError("REALPREC: unsupported real precision 0,8,24")) << mf.errorText();
    const CGMMetafile vdc =
        CGMBinaryDecoder::decode(picture("", element(3, 1, i16(8)) + element(4, 1, pt(1, 2))));
    EXPECT_TRUE(vdc.hasError("VDCINTEGERPREC: 8-bit precision is not allowed")) << vdc.errorText();
    EXPECT_EQ(bodyOf(vdc).at(0).params, Values{P(1, 2)});  // the 16-bit default stays
}
