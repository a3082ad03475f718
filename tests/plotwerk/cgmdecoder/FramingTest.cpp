// Binary element framing: short and long command headers, partitions, padding, no-ops, and
// elements the decoder does not interpret.

#include <gtest/gtest.h>

#include "CGMBytes.h"

using namespace cgmbytes;

TEST(Framing, ShortFormHeaderWithPaddingAfterOddLength) {
    // BEGMF 'PW': class 0, id 1, 3 parameter bytes, then one padding byte; ENDMF: 0x0040
    const CGMMetafile mf =
        CGMBinaryDecoder::decode(bytes({0x00, 0x23, 0x02, 'P', 'W', 0x00, 0x00, 0x40}));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    ASSERT_EQ(mf.elements.size(), 2u);
    EXPECT_EQ(mf.elements[0].keyword, "BEGMF");
    EXPECT_EQ(mf.elements[0].elementClass, 0);
    EXPECT_EQ(mf.elements[0].id, 1);
    EXPECT_EQ(mf.elements[0].params, Values{S("PW")});
    EXPECT_EQ(mf.elements[1].keyword, "ENDMF");
    EXPECT_EQ(mf.elements[1].position, 6u);
    EXPECT_TRUE(mf.elements[1].params.empty());
}

TEST(Framing, LongFormForThirtyOneBytesAndForShortLists) {
    const std::string desc(30, 'd');
    // MFDESC (1,2): length code 31, then the length word 31; LINECOLR (5,4) in long form too
    const std::string mfdesc = bytes({0x10, 0x5F, 0x00, 0x1F, 30}) + desc + bytes({0});
    const std::string linecolr = bytes({0x50, 0x9F, 0x00, 0x01, 0x07, 0x00});
    const CGMMetafile mf = CGMBinaryDecoder::decode(begmf() + mfdesc + begpic() + begpicbody() +
                                                    linecolr + endpic() + endmf());
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    ASSERT_EQ(mf.all("MFDESC").size(), 1u);
    EXPECT_EQ(mf.all("MFDESC")[0].params, Values{S(desc)});
    ASSERT_EQ(mf.all("LINECOLR").size(), 1u);
    EXPECT_EQ(mf.all("LINECOLR")[0].params, Values{X(7)});
}

namespace {

/// A LINE of 10,000 points (i, -i) split into two partitions of the given byte counts.
std::string partitionedLine(int first) {
    std::string points;
    for (int i = 0; i < 10000; ++i) points += pt(i, -i);
    const int second = 40000 - first;
    return bytes({0x40, 0x3F}) + i16(0x8000 | first) + points.substr(0, first) + i16(second) +
           points.substr(first);
}

}  // namespace

TEST(Framing, FortyThousandBytesInTwoPartitions) {
    const std::string line = partitionedLine(32760);
    ASSERT_EQ(line.substr(0, 4), bytes({0x40, 0x3F, 0xFF, 0xF8}));
    ASSERT_EQ(line.substr(4 + 32760, 2), bytes({0x1C, 0x48}));
    const CGMMetafile mf = CGMBinaryDecoder::decode(picture("", line + element(5, 2, i16(3))));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    const std::vector<CGMElement> body = bodyOf(mf);
    ASSERT_EQ(body.size(), 2u);
    ASSERT_EQ(body[0].params.size(), 10000u);
    EXPECT_EQ(body[0].params[0], P(0, 0));
    EXPECT_EQ(body[0].params[8189], P(8189, -8189));
    EXPECT_EQ(body[0].params[8190], P(8190, -8190));
    EXPECT_EQ(body[0].params[9999], P(9999, -9999));
    EXPECT_EQ(body[1].keyword, "LINETYPE");  // the element after the partitions is in step
    EXPECT_EQ(body[1].params, Values{I(3)});

    // split inside a point: its x in the first partition, its y in the second
    const CGMMetafile split = CGMBinaryDecoder::decode(picture("", partitionedLine(32766)));
    ASSERT_TRUE(split.clean()) << split.errorText();
    const std::vector<CGMElement> joined = bodyOf(split);
    ASSERT_EQ(joined.size(), 1u);
    ASSERT_EQ(joined[0].params.size(), 10000u);
    EXPECT_EQ(joined[0].params[8191], P(8191, -8191));  // x in the first partition, y in the second
    EXPECT_EQ(joined[0].params[8192], P(8192, -8192));
}

TEST(Framing, NoOpsAreSkippedAndZeroFillAfterTheEndIsAccepted) {
    const std::string noops = bytes({0x00, 0x00, 0x00, 0x02, 'x', 'y'});
    const CGMMetafile mf =
        CGMBinaryDecoder::decode(begmf() + noops + endmf() + std::string(6, '\0'));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    ASSERT_EQ(mf.elements.size(), 2u);
    EXPECT_EQ(mf.elements[1].keyword, "ENDMF");

    const CGMMetafile trailing = CGMBinaryDecoder::decode(begmf() + endmf() + "junk");
    EXPECT_TRUE(trailing.hasError("data after ENDMF")) << trailing.errorText();
}

TEST(Framing, ValidElementsWithoutReaderAreKeptAsRawData) {
    const CGMMetafile mf = CGMBinaryDecoder::decode(
        picture("", element(6, 1, "ABCDE") + element(7, 1, i16(1) + str("hello"))));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    const std::vector<CGMElement> body = bodyOf(mf);
    ASSERT_EQ(body.size(), 2u);
    EXPECT_EQ(body[0].keyword, "ESCAPE");
    EXPECT_EQ(body[0].params, Values{CGMValue::makeData("ABCDE")});
    EXPECT_EQ(body[1].keyword, "MESSAGE");
    EXPECT_EQ(body[1].params, (Values{I(1), S("hello")}));
}

TEST(Framing, InvalidElementsAreReportedAndSkippedByTheirLength) {
    const CGMMetafile mf = CGMBinaryDecoder::decode(
        picture("", element(4, 100, "abcd") + element(12, 1, "") + element(5, 4, i8(9))));
    EXPECT_EQ(mf.errors.size(), 2u) << mf.errorText();
    EXPECT_TRUE(mf.hasError("unknown element class 4 id 100 (4 parameter bytes skipped)"));
    EXPECT_TRUE(mf.hasError("unknown element class 12 id 1"));
    const std::vector<CGMElement> body = bodyOf(mf);
    ASSERT_EQ(body.size(), 1u);
    EXPECT_EQ(body[0].params, Values{X(9)});
}

TEST(Framing, ParametersLeftOverOrMissingAreReported) {
    // LINETYPE with 4 bytes (one index is 2), LINE with a half point
    const CGMMetafile mf = CGMBinaryDecoder::decode(
        picture("", element(5, 2, i32(1)) + element(4, 1, pt(1, 2) + i16(3))));
    EXPECT_TRUE(mf.hasError("LINETYPE: 2 parameter bytes left over")) << mf.errorText();
    EXPECT_TRUE(mf.hasError("LINE: parameters end early")) << mf.errorText();
    EXPECT_TRUE(bodyOf(mf).empty());
}
