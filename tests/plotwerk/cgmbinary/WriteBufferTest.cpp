// The write buffer between the writer and the file: when bytes reach the file, and which
// stream they reach.

#include "CGMBinaryFixture.h"

namespace cgmtest {
namespace {

TEST(CGMWriteBuffer, BytesReachTheFileWhenTheBufferIsFullOrFlushed) {
    for (const int size : {1, 7, SoCGMBinaryWriter::kDefaultBufferSize}) {
        SCOPED_TRACE(size);
        Sink sink(size);
        std::string written;
        for (int i = 0; i < size; ++i) {
            written += static_cast<char>(i * 3);
            sink.writer.fillWriteBufferChar(written.back());
        }
        // Unbuffered, every byte is in the file at once; buffered, none until one more comes.
        EXPECT_EQ(sink.fileBytes(), size == 1 ? written : "");
        sink.writer.fillWriteBufferChar('x');
        EXPECT_EQ(sink.fileBytes(), written + (size == 1 ? "x" : ""));
        sink.writer.flushWriteBuffer();
        sink.writer.flushWriteBuffer();
        EXPECT_EQ(sink.fileBytes(), written + "x");
        // A new document starts from an empty buffer: what was not flushed is dropped.
        sink.writer.fillWriteBufferChar('y');
        sink.writer.allocateBuffer();
        sink.writer.flushWriteBuffer();
        EXPECT_EQ(sink.fileBytes(), written + (size == 1 ? "xy" : "x"));
        EXPECT_EQ(sink.writer.hasBuffer(), size > 1);
    }
}

/// An output whose stream the test switches without the output closing anything.
class BorrowedStream : public SoVectorOutput {
  public:
    FILE* getFilePointer() override { return current; }
    FILE* current = nullptr;
};

TEST(CGMWriteBuffer, BytesGoToTheStreamTheOutputHoldsWhenTheyAreWritten) {
    FILE* first = std::tmpfile();
    FILE* second = std::tmpfile();
    ASSERT_TRUE(first && second);
    {
        BorrowedStream output;
        SoCGMBinaryWriter direct(&output, 1);
        SoCGMBinaryWriter buffered(&output, 8);
        output.current = first;
        direct.fillWriteBufferChar('a');
        buffered.fillWriteBufferChar('b');
        output.current = second;
        direct.fillWriteBufferChar('c');
        buffered.flushWriteBuffer();
    }
    EXPECT_EQ(StreamReadBack::all(first), "a");
    EXPECT_EQ(StreamReadBack::all(second), "cb");
    std::fclose(first);
    std::fclose(second);
}

}  // namespace
}  // namespace cgmtest
