#pragma once

// What the binary metafile tests share: a writer and its element writers on a temporary
// file, the bytes read back and spelled in hex for failure messages.

#include <PlotWerk/SoVectorOutput.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "../../../libPlotWerk/src/cgm/SoCGMBinaryElements.h"
#include "../../../libPlotWerk/src/cgm/SoCGMBinaryReal.h"
#include "../../../libPlotWerk/src/cgm/SoCGMBinaryWriter.h"
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
    std::string fileBytes() { return StreamReadBack::all(output.getFilePointer()); }
    /// Everything written: the buffer is flushed first.
    std::string bytes() {
        writer.flushWriteBuffer();
        return fileBytes();
    }

    SoVectorOutput output;
    SoCGMBinaryWriter writer;
    SoCGMBinaryElements elements;
};

/// Bytes as "3F 80 00 00", so that failures show what differs.
inline std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (!text.empty()) text += ' ';
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

/// Elements whose bytes depend on every precision and mode the writer holds.
inline std::string probe(Sink& sink) {
    SoCGMBinaryElements& e = sink.elements;
    e.Pmfversion(1);
    e.Plinetype(1);
    e.Plinecolr(1, SbColor(1, 1, 1));
    e.Pbackcolr(SbColor(1, 1, 1));
    e.Pcharexpan(1);
    e.Pcharheight(1);
    e.Plinewidth(1);
    e.Pmarkersize(1);
    sink.writer.setVdcType(1);
    e.Pcharheight(1);
    return hex(sink.bytes());
}

/// A point on the page in millimetres.
inline SbVec4f pt(float x, float y) {
    return SbVec4f(x, y, 0.0f, 1.0f);
}

}  // namespace cgmtest
