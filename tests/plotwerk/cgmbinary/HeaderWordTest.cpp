#include "CGMBinaryFixture.h"

namespace cgmtest {
namespace {

using HeaderWord = CGMBinaryTest;

/// Parameter bytes 0, 1, 2, ... (mod 256), as PWriteChar writes them.
void writeParams(SoCGMBinaryWriter& writer, int count) {
    for (int i = 0; i < count; ++i) writer.PWriteChar(static_cast<unsigned int>(i));
}

Bytes counting(int from, int count) {
    Bytes bytes;
    for (int i = from; i < from + count; ++i) bytes.push_back(static_cast<unsigned char>(i));
    return bytes;
}

TEST_F(HeaderWord, ShortFormCarriesClassIdAndLength) {
    writer.PWriteHeader(4, 1, 8);
    writeParams(writer, 8);
    EXPECT_EQ(hex(slice(sink.bytes(), 0, 2)), "40 28");
    EXPECT_EQ(writer.getRemaining(), 0);
}

TEST_F(HeaderWord, ThirtyBytesStillFitTheShortForm) {
    writer.PWriteHeader(1, 2, 30);
    writeParams(writer, 30);
    const Bytes bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ(hex(slice(bytes, 0, 2)), "10 5E");
    EXPECT_EQ(slice(bytes, 2, 30), counting(0, 30));
}

TEST_F(HeaderWord, ThirtyOneBytesTakeTheLongForm) {
    writer.PWriteHeader(4, 1, 31);
    writeParams(writer, 31);
    writer.PWriteHeader(0, 2, 0);
    const Bytes bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 2u + 2u + 31u + 1u + 2u);
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "40 3F 00 1F");
    EXPECT_EQ(slice(bytes, 4, 31), counting(0, 31));
    // 31 is odd: a pad byte keeps the next element on a 16-bit boundary.
    EXPECT_EQ(hex(slice(bytes, 35, 3)), "00 00 40");
}

TEST_F(HeaderWord, FullPartitionNeedsNoContinuation) {
    writer.PWriteHeader(4, 1, 32760);
    writeParams(writer, 32760);
    const Bytes bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 4u + 32760u);
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "40 3F 7F F8");
    EXPECT_EQ(writer.getRemaining(), 0);
    EXPECT_EQ(writer.getPartitionCount(), 32760);
}

TEST_F(HeaderWord, OneByteMoreOpensASecondPartition) {
    writer.PWriteHeader(4, 1, 32761);
    writeParams(writer, 32761);
    const Bytes bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 4u + 32760u + 2u + 1u);
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "40 3F FF F8");
    EXPECT_EQ(hex(slice(bytes, 4 + 32760, 3)), "00 01 F8");  // byte 32760 is 0xF8 mod 256
    EXPECT_EQ(writer.getPartitionCount(), 1);
    // The partition word is framing, not a parameter: the parity counts the 32761 bytes.
    EXPECT_EQ(writer.getParity(), 1);
}

TEST_F(HeaderWord, FortyThousandBytesSplitIntoTwoPartitions) {
    writer.PWriteHeader(4, 1, 40000);
    writeParams(writer, 40000);
    const Bytes bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 2u + 2u + 32760u + 2u + 7240u);
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "40 3F FF F8");
    EXPECT_EQ(slice(bytes, 4, 32760), counting(0, 32760));
    EXPECT_EQ(hex(slice(bytes, 4 + 32760, 2)), "1C 48");
    EXPECT_EQ(slice(bytes, 4 + 32760 + 2, 7240), counting(32760, 7240));
    EXPECT_EQ(writer.getRemaining(), 0);
}

TEST_F(HeaderWord, EveryFullPartitionButTheLastIsFlaggedContinued) {
    writer.PWriteHeader(5, 34, 70000);
    writeParams(writer, 70000);
    const Bytes bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 4u + 32760u + 2u + 32760u + 2u + 4480u);
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "54 5F FF F8");
    EXPECT_EQ(hex(slice(bytes, 4 + 32760, 2)), "FF F8");
    EXPECT_EQ(hex(slice(bytes, 4 + 2 * 32760 + 2, 2)), "11 80");
    CGMElementReader reader;
    ASSERT_TRUE(reader.read(bytes)) << reader.error();
    ASSERT_EQ(reader.elements().size(), 1u);
    EXPECT_EQ(reader.elements()[0].partitions, 3);
    EXPECT_EQ(reader.elements()[0].params, counting(0, 70000));
}

TEST_F(HeaderWord, LastPartitionOfExactlyFullSizeIsNotFlaggedContinued) {
    writer.PWriteHeader(4, 1, 2 * 32760);
    writeParams(writer, 2 * 32760);
    const Bytes bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 4u + 32760u + 2u + 32760u);
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "40 3F FF F8");
    EXPECT_EQ(hex(slice(bytes, 4 + 32760, 2)), "7F F8");
}

TEST_F(HeaderWord, OddParametersPadTheNextHeaderOnly) {
    writer.PWriteHeader(0, 3, 3);
    writeParams(writer, 3);
    EXPECT_EQ(writer.getParity(), 1);
    writer.PWriteHeader(0, 4, 0);
    EXPECT_EQ(writer.getParity(), 0);
    writer.PWriteHeader(0, 5, 2);
    writeParams(writer, 2);
    EXPECT_EQ(writer.getParity(), 0);
    writer.PWriteHeader(0, 2, 0);
    EXPECT_EQ(hex(sink.bytes()), "00 63 00 01 02 00 00 80 00 A2 00 01 00 40");
}

TEST_F(HeaderWord, PlainWordHasNoPadWhenEven) {
    writer.PWriteWord(0xABCD);
    writer.PWriteWord(0x0102);
    EXPECT_EQ(hex(sink.bytes()), "AB CD 01 02");
}

TEST_F(HeaderWord, HeaderResetsTheCounters) {
    writer.PWriteHeader(4, 1, 40000);
    writeParams(writer, 33000);
    EXPECT_EQ(writer.getRemaining(), 7000);
    EXPECT_EQ(writer.getPartitionCount(), 240);
    writeParams(writer, 7000);
    writer.PWriteHeader(4, 7, 12);
    EXPECT_EQ(writer.getRemaining(), 12);
    EXPECT_EQ(writer.getPartitionCount(), 0);
    writeParams(writer, 12);
}

TEST_F(HeaderWord, ElementShorterThanAnnouncedIsReported) {
    expectNoPosts = false;
    writer.PWriteHeader(4, 1, 8);
    writeParams(writer, 6);
    writer.PWriteHeader(0, 2, 0);
    EXPECT_TRUE(errors.contains("SoCGMBinaryWriter::PWriteHeader", "2 bytes")) << errors.dump();
}

TEST_F(HeaderWord, BadHeaderValuesAreReportedAndKeptInRange) {
    expectNoPosts = false;
    writer.PWriteHeader(17, 129, -4);
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 1u) << errors.dump();
    // Class 17 and id 129 keep their low bits (1 and 1); the length becomes 0.
    EXPECT_EQ(hex(sink.bytes()), "10 20");
}

}  // namespace
}  // namespace cgmtest
