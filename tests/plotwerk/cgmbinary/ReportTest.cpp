// What the writer does with what it cannot write: each kind of bad value is reported where
// it arrives, and nothing, or the nearest thing that is right, is written.

#include "CGMBinaryFixture.h"

namespace cgmtest {
namespace {

struct Report {
    const char* what;
    std::function<void(SoCGMBinaryElements&, SoCGMBinaryWriter&)> write;
    const char* source;
    std::size_t posts;
    const char* written;  // in hex
};

TEST(CGMReports, BadValuesAreReportedAndWriteNothingWrong) {
    static const SbVec4f one[1] = {pt(0, 0)};
    static const int indices[1] = {1};
    static const int white[3] = {255, 255, 255};
    const Report reports[] = {
        {"modes neither 0 nor 1",
         [](auto& e, auto&) {
             e.Pvdctype(2);
             e.Pcolrmode(2);
             e.Plinewidthmode(-1);
             e.Pmarkersizemode(7);
             e.Pedgewidthmode(3);
         },
         "SoCGMBinaryElements::P", 5, ""},
        {"no points",
         [](auto& e, auto&) {
             e.Pline(one, 0);
             e.Pmarker(nullptr, 3);
             e.Ppolygon(one, -1);
         },
         "SoCGMBinaryElements::P", 3, ""},
        {"no cells of the colour selection mode, or none at all",
         [](auto& e, auto&) {
             const SbColor colours[1] = {SbColor(1, 1, 1)};
             e.Pcellarray(pt(0, 0), pt(1, 1), pt(1, 0), 1, 1, nullptr, colours);
             e.Pcellarray(pt(0, 0), pt(1, 1), pt(1, 0), 0, 1, indices, colours);
             e.Pcellarray(pt(0, 0), pt(1, 1), pt(1, 0), 1, -2, indices, colours);
             e.Ppattable(1, nullptr, colours);
         },
         "SoCGMBinaryElements::P", 4, ""},
        {"lists missing",
         [](auto& e, auto&) {
             e.Pfontlist(nullptr, 2);
             e.Pcolrtable(0, nullptr, 2);
             e.Plineedgetypedef(-1, 1.0, nullptr, 2);
             e.Pcolrvalueext(nullptr, white);
         },
         "SoCGMBinaryElements::P", 4, ""},
        {"an element too long for its length", [](auto& e, auto&) { e.Pline(one, 1 << 30); },
         "SoCGMBinaryElements::Pline", 1, ""},
        {"header values out of range, kept to their low bits",
         [](auto&, auto& w) { w.PWriteHeader(17, 129, -4); }, "SoCGMBinaryWriter::PWriteHeader", 1,
         "10 20"},
        {"an element shorter than announced",
         [](auto&, auto& w) {
             w.PWriteHeader(0, 3, 3);
             w.PWriteChar(1);
             w.PWriteHeader(0, 2, 0);
         },
         "SoCGMBinaryWriter::PWriteHeader", 1, "00 63 01 00 00 40"},
        {"no output: the bytes are dropped",
         [](auto&, auto&) {
             SoCGMBinaryWriter writer(nullptr, 4);
             for (int i = 0; i < 9; ++i) writer.fillWriteBufferChar('x');
             writer.flushWriteBuffer();
         },
         "SoCGMBinaryWriter::SoCGMBinaryWriter", 1, ""},
        {"a buffer size below 1 takes the default size",
         [](auto&, auto&) {
             SoVectorOutput output;
             SoCGMBinaryWriter writer(&output, 0);
             writer.fillWriteBufferChar('x');
         },
         "SoCGMBinaryWriter::SoCGMBinaryWriter", 1, ""},
    };
    for (const Report& r : reports) {
        DebugErrorRecorder errors;
        Sink sink;
        r.write(sink.elements, sink.writer);
        EXPECT_EQ(errors.size(), r.posts) << r.what << errors.dump();
        EXPECT_TRUE(errors.contains(r.source)) << r.what << errors.dump();
        EXPECT_EQ(hex(sink.bytes()), r.written) << r.what;
    }
}

TEST(CGMReports, BadPrecisionsAndModesAreReportedAndIgnored) {
    Sink fresh;
    const std::string expected = probe(fresh);
    DebugErrorRecorder errors;
    Sink sink;
    SoCGMBinaryWriter& w = sink.writer;
    for (const int bad : {0, 5}) {
        w.setIntegerPrecision(bad);
        w.setIndexPrecision(bad);
        w.setColorPrecision(bad);
        w.setColorIndexPrecision(bad);
        w.setVdcIntegerPrecision(bad);
        w.setRealPrecision(bad);
        w.setVdcRealPrecision(bad);
    }
    for (const int bad : {-1, 2}) {
        w.setVdcType(bad);
        w.setColorSelectionMode(bad);
        w.setLineWidthMode(bad);
        w.setMarkerSizeMode(bad);
        w.setEdgeWidthMode(bad);
    }
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 24u) << errors.dump();
    EXPECT_EQ(probe(sink), expected);
}

}  // namespace
}  // namespace cgmtest
