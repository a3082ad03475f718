#include <cstring>
#include <vector>

#include "CGMBinaryFixture.h"
#include "CGMHeaderSequence.h"

namespace cgmtest {
namespace {

SbVec4f pt(float x, float y) {
    return SbVec4f(x, y, 0.0f, 1.0f);
}

/// A document with every kind of element, several odd lengths and one element of more than
/// one partition, written as the backend writes one: buffer prepared, elements, flush.
void writeDocument(Sink& sink, bool indexed) {
    SoCGMBinaryElements& e = sink.elements;
    sink.writer.allocateBuffer();
    sink.writer.setPointOffset(12.5f, -3.0f);
    writeDocumentHeader(e, indexed);
    e.Pcliprect(pt(0, 0), pt(210, 297));
    e.Plinewidth(0.35);
    e.Plinecolr(3, SbColor(0.2f, 0.4f, 0.6f));
    std::vector<SbVec4f> points;
    for (int i = 0; i < 5000; ++i) points.push_back(pt(i * 0.01f, (i % 7) * 1.5f));
    e.Pline(points.data(), static_cast<int>(points.size()));
    e.Ptextcolr(1, SbColor(0, 0, 0));
    e.Pcharori(0.0, 1.0, 1.0, 0.0);
    e.Pcharheight(4.2);
    e.Ptextfontindex(2);
    e.Ptextalign(2);
    e.Ptext(pt(20, 30), SbString(u"Gr\u00FC\u00DFe \u20AC"));
    e.Pintstyle(1);
    e.Pfillcolr(9, SbColor(1, 1, 0));
    e.Ppolygon(points.data(), 3);
    const int indices[15] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    std::vector<SbColor> colours(15, SbColor(0.1f, 0.9f, 0.3f));
    e.Pcellarray(pt(0, 3), pt(5, 0), pt(5, 3), 5, 3, indices, colours.data());
    std::vector<int> pattern(1024, 4);
    std::vector<SbColor> patternColours(1024, SbColor(0, 0, 1));
    e.Ppattable(1, pattern.data(), patternColours.data());
    e.Pmarkertype(1);
    e.Pmarkersize(1.0);
    e.Pmarker(points.data(), 7);
    e.Pendpic();
    e.Pendmf();
    sink.writer.flushWriteBuffer();
}

Bytes documentBytes(int bufferSize, bool indexed) {
    Sink sink(bufferSize);
    EXPECT_TRUE(sink.hasFile());
    writeDocument(sink, indexed);
    EXPECT_EQ(sink.writer.getFillCount(), 0);
    return sink.fileBytes();
}

TEST(CGMDocument, SameBytesWhateverTheBufferSize) {
    DebugErrorRecorder errors;
    for (bool indexed : {false, true}) {
        const Bytes reference = documentBytes(SoCGMBinaryWriter::kDefaultBufferSize, indexed);
        ASSERT_GT(reference.size(), 40000u);
        EXPECT_TRUE(documentBytes(1, indexed) == reference) << "buffer of 1 byte";
        EXPECT_TRUE(documentBytes(7, indexed) == reference) << "buffer of 7 bytes";
        EXPECT_TRUE(documentBytes(4096, indexed) == reference) << "buffer of 4096 bytes";
    }
    EXPECT_EQ(errors.size(), 0u) << errors.dump();
}

TEST(CGMDocument, EveryElementIsFramedAsAnnounced) {
    DebugErrorRecorder errors;
    for (bool indexed : {false, true}) {
        CGMElementReader reader;
        ASSERT_TRUE(reader.read(documentBytes(7, indexed))) << reader.error();
        const auto& found = reader.elements();
        const ElementCode* codes = nullptr;
        const int headerCount = documentHeaderCodes(indexed, &codes);
        ASSERT_EQ(found.size(), static_cast<std::size_t>(headerCount) + 20u);
        for (int i = 0; i < headerCount; ++i) {
            EXPECT_EQ(found[i].cls, codes[i].cls) << "element " << i;
            EXPECT_EQ(found[i].id, codes[i].id) << "element " << i;
        }
        EXPECT_EQ(found[found.size() - 2].id, 5);
        EXPECT_EQ(found.back().cls, 0);
        EXPECT_EQ(found.back().id, 2);
        EXPECT_TRUE(found.back().params.empty());
    }
    EXPECT_EQ(errors.size(), 0u) << errors.dump();
}

TEST(CGMDocument, HeaderElementLengthsInTheDefaultState) {
    Sink sink;
    ASSERT_TRUE(sink.hasFile());
    writeDocumentHeader(sink.elements, true, 4);
    CGMElementReader reader;
    ASSERT_TRUE(reader.read(sink.bytes())) << reader.error();
    const auto& found = reader.elements();
    ASSERT_EQ(found.size(), 24u);
    const std::size_t fonts =
        std::strlen("Times-Roman") + std::strlen("Courier") + std::strlen("Symbol") + 3;
    const std::size_t lengths[24] = {20,    2,  29, 6, 2, 2, 6, 2,  2, 2, 6, 1,
                                     fonts, 27, 6,  2, 2, 2, 2, 16, 0, 6, 2, 13};
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].params.size(), lengths[i]) << "element " << i;
    }
    // Scale factor 1.0 after REAL PRECISION chose 32-bit floating point.
    EXPECT_EQ(hex(found[14].params), "00 01 3F 80 00 00");
    // The extent precedes VDC REAL PRECISION: 32-bit fixed point.
    EXPECT_EQ(hex(found[19].params), "00 00 00 00 00 00 00 00 00 D2 00 00 01 29 00 00");
}

TEST(CGMDocument, SecondDocumentStartsAfresh) {
    DebugErrorRecorder errors;
    Sink sink(7);
    ASSERT_TRUE(sink.hasFile());
    writeDocument(sink, true);
    const Bytes first = sink.fileBytes();
    // A precision left over from the first document must not leak into the second.
    sink.writer.setIntegerPrecision(4);
    sink.writer.setColorSelectionMode(1);
    writeDocument(sink, true);
    const Bytes both = sink.fileBytes();
    ASSERT_EQ(both.size(), 2 * first.size());
    EXPECT_TRUE(slice(both, first.size(), first.size()) == first);
    EXPECT_EQ(errors.size(), 0u) << errors.dump();
}

}  // namespace
}  // namespace cgmtest
