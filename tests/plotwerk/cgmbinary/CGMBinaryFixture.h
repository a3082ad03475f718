#pragma once

// What the binary metafile tests share: a writer and its element writers on a temporary
// file, the bytes read back, and small helpers to spell expected bytes.

#include <PlotWerk/SoVectorOutput.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>

#include "../../../libPlotWerk/src/cgm/SoCGMBinaryElements.h"
#include "../../../libPlotWerk/src/cgm/SoCGMBinaryReal.h"
#include "../../../libPlotWerk/src/cgm/SoCGMBinaryWriter.h"
#include "CGMElementReader.h"
#include "plotwerk/support/StreamReadBack.h"
#include "support/DebugErrorRecorder.h"

namespace cgmtest {

/// An output on a temporary file with a writer and element writers on it.
struct Sink {
    explicit Sink(int bufferSize = SoCGMBinaryWriter::kDefaultBufferSize)
        : writer(&output, bufferSize), elements(writer) {
        output.setFilePointer(std::tmpfile());
    }
    /// What reached the file, without flushing.
    Bytes fileBytes() {
        const std::string text = StreamReadBack::all(output.getFilePointer());
        return Bytes(text.begin(), text.end());
    }
    /// Everything written: the buffer is flushed first.
    Bytes bytes() {
        writer.flushWriteBuffer();
        return fileBytes();
    }
    bool hasFile() { return output.getFilePointer() != stdout; }

    SoVectorOutput output;
    SoCGMBinaryWriter writer;
    SoCGMBinaryElements elements;
};

inline Bytes be(std::initializer_list<int> values) {
    Bytes bytes;
    for (int v : values) bytes.push_back(static_cast<unsigned char>(v));
    return bytes;
}

/// Bytes as "3F 80 00 00", so failures show what differs.
inline std::string hex(const Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) {
        if (!text.empty()) text += ' ';
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

inline Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    if (from >= bytes.size()) return Bytes();
    const std::size_t end = from + count < bytes.size() ? from + count : bytes.size();
    return Bytes(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(end));
}

inline void append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

/// The header word of class cls, id, and a short-form length.
inline Bytes headerWord(int cls, int id, int length) {
    const unsigned int w = static_cast<unsigned int>(cls << 12 | id << 5 | length);
    return be({static_cast<int>(w >> 8), static_cast<int>(w & 0xFF)});
}

/// The header of an element as the format frames it (short or single-partition long form).
inline Bytes header(int cls, int id, int length) {
    if (length < 31) return headerWord(cls, id, length);
    Bytes bytes = headerWord(cls, id, 31);
    append(bytes, be({length >> 8, length & 0xFF}));
    return bytes;
}

/// A test on a writer with the default buffer and no posts expected unless a test says so.
class CGMBinaryTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(sink.hasFile()); }
    void TearDown() override {
        if (expectNoPosts) {
            EXPECT_EQ(errors.size(), 0u) << errors.dump();
        }
    }
    /// The parsed elements of everything written so far; fails the test on a framing fault.
    std::vector<CGMElementReader::Element> parse() {
        CGMElementReader reader;
        EXPECT_TRUE(reader.read(sink.bytes())) << reader.error();
        return reader.elements();
    }

    /// What was written from byte `from` on (the buffer flushed first).
    Bytes tail(std::size_t from) {
        const Bytes bytes = sink.bytes();
        return slice(bytes, from, bytes.size());
    }

    DebugErrorRecorder errors;
    bool expectNoPosts = true;
    Sink sink;
    SoCGMBinaryWriter& writer = sink.writer;
    SoCGMBinaryElements& elements = sink.elements;
};

}  // namespace cgmtest
