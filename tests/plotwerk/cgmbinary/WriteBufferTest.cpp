#include "CGMBinaryFixture.h"

namespace cgmtest {
namespace {

/// An output whose stream the test switches without the output closing anything.
class BorrowedStream : public SoVectorOutput {
  public:
    FILE* getFilePointer() override { return current; }
    FILE* current = nullptr;
};

Bytes readAll(FILE* file) {
    const std::string text = StreamReadBack::all(file);
    return Bytes(text.begin(), text.end());
}

void writeCounting(SoCGMBinaryWriter& writer, int count) {
    for (int i = 0; i < count; ++i) writer.fillWriteBufferChar(static_cast<char>(i));
}

TEST(CGMWriteBuffer, SizeOneSendsEveryByteStraightToTheFile) {
    Sink sink(1);
    ASSERT_TRUE(sink.hasFile());
    sink.writer.fillWriteBufferChar('A');
    EXPECT_EQ(sink.fileBytes(), be({0x41}));
    sink.writer.fillWriteBufferChar('\xFE');
    EXPECT_EQ(sink.fileBytes(), be({0x41, 0xFE}));
    EXPECT_EQ(sink.writer.getFillCount(), 0);
    EXPECT_FALSE(sink.writer.hasBuffer());
}

TEST(CGMWriteBuffer, FullBufferIsWrittenWhenTheNextByteArrives) {
    Sink sink(7);
    ASSERT_TRUE(sink.hasFile());
    writeCounting(sink.writer, 7);
    EXPECT_TRUE(sink.fileBytes().empty());
    EXPECT_EQ(sink.writer.getFillCount(), 7);
    writeCounting(sink.writer, 3);
    EXPECT_EQ(sink.fileBytes(), be({0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(sink.writer.getFillCount(), 3);
    sink.writer.flushWriteBuffer();
    EXPECT_EQ(sink.fileBytes(), be({0, 1, 2, 3, 4, 5, 6, 0, 1, 2}));
    EXPECT_EQ(sink.writer.getFillCount(), 0);
}

TEST(CGMWriteBuffer, FlushOfAnEmptyBufferWritesNothing) {
    Sink sink(7);
    ASSERT_TRUE(sink.hasFile());
    sink.writer.flushWriteBuffer();
    EXPECT_TRUE(sink.fileBytes().empty());
    writeCounting(sink.writer, 2);
    sink.writer.flushWriteBuffer();
    sink.writer.flushWriteBuffer();
    EXPECT_EQ(sink.fileBytes(), be({0, 1}));
}

TEST(CGMWriteBuffer, DefaultBufferKeepsAMebibyteUntilFlushed) {
    Sink sink;
    ASSERT_TRUE(sink.hasFile());
    EXPECT_EQ(sink.writer.getBufferSize(), 1048576);
    writeCounting(sink.writer, 1048576);
    EXPECT_TRUE(sink.fileBytes().empty());
    sink.writer.fillWriteBufferChar('x');
    EXPECT_EQ(sink.fileBytes().size(), 1048576u);
    EXPECT_EQ(sink.bytes().size(), 1048577u);
    EXPECT_EQ(sink.bytes().back(), 'x');
}

TEST(CGMWriteBuffer, BufferIsAllocatedOnceAndEmptiedForEachDocument) {
    Sink sink(16);
    ASSERT_TRUE(sink.hasFile());
    EXPECT_FALSE(sink.writer.hasBuffer());
    sink.writer.allocateBuffer();
    EXPECT_TRUE(sink.writer.hasBuffer());
    writeCounting(sink.writer, 5);
    EXPECT_EQ(sink.writer.getFillCount(), 5);
    // A new document starts from an empty buffer: what was not flushed is dropped.
    sink.writer.allocateBuffer();
    EXPECT_TRUE(sink.writer.hasBuffer());
    EXPECT_EQ(sink.writer.getFillCount(), 0);
    EXPECT_TRUE(sink.bytes().empty());
}

TEST(CGMWriteBuffer, ByteBeforeAllocationStillGoesThroughTheBuffer) {
    Sink sink(16);
    ASSERT_TRUE(sink.hasFile());
    sink.writer.fillWriteBufferChar('q');
    EXPECT_TRUE(sink.writer.hasBuffer());
    EXPECT_TRUE(sink.fileBytes().empty());
    EXPECT_EQ(sink.bytes(), be({'q'}));
}

TEST(CGMWriteBuffer, SizeOneNeedsNoBuffer) {
    Sink sink(1);
    sink.writer.allocateBuffer();
    EXPECT_FALSE(sink.writer.hasBuffer());
}

TEST(CGMWriteBuffer, SizeBelowOneIsReportedAndTheDefaultTaken) {
    SoVectorOutput output;
    for (int size : {0, -5}) {
        DebugErrorRecorder errors;
        SoCGMBinaryWriter writer(&output, size);
        EXPECT_EQ(writer.getBufferSize(), SoCGMBinaryWriter::kDefaultBufferSize);
        EXPECT_EQ(errors.countSeverity(SoDebugError::WARNING), 1u) << errors.dump();
    }
}

TEST(CGMWriteBuffer, StreamIsAskedForAtEveryByteWhenUnbuffered) {
    FILE* first = std::tmpfile();
    FILE* second = std::tmpfile();
    ASSERT_TRUE(first && second);
    {
        BorrowedStream output;
        SoCGMBinaryWriter writer(&output, 1);
        output.current = first;
        writer.fillWriteBufferChar('a');
        output.current = second;
        writer.fillWriteBufferChar('b');
    }
    EXPECT_EQ(readAll(first), be({'a'}));
    EXPECT_EQ(readAll(second), be({'b'}));
    std::fclose(first);
    std::fclose(second);
}

TEST(CGMWriteBuffer, BufferedBytesGoToTheStreamHeldAtFlush) {
    FILE* first = std::tmpfile();
    FILE* second = std::tmpfile();
    ASSERT_TRUE(first && second);
    {
        BorrowedStream output;
        SoCGMBinaryWriter writer(&output, 8);
        output.current = first;
        writer.fillWriteBufferChar('a');
        writer.fillWriteBufferChar('b');
        output.current = second;
        writer.flushWriteBuffer();
    }
    EXPECT_TRUE(readAll(first).empty());
    EXPECT_EQ(readAll(second), be({'a', 'b'}));
    std::fclose(first);
    std::fclose(second);
}

TEST(CGMWriteBuffer, MissingOutputIsReportedAndBytesAreDropped) {
    DebugErrorRecorder errors;
    SoCGMBinaryWriter direct(nullptr, 1);
    SoCGMBinaryWriter buffered(nullptr, 4);
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 2u) << errors.dump();
    for (SoCGMBinaryWriter* writer : {&direct, &buffered}) {
        writeCounting(*writer, 9);
        writer->flushWriteBuffer();
        EXPECT_EQ(writer->getFillCount(), 0);
    }
}

}  // namespace
}  // namespace cgmtest
