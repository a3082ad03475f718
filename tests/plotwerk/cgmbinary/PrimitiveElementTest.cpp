#include <vector>

#include "CGMBinaryFixture.h"
#include "CGMHeaderSequence.h"

namespace cgmtest {
namespace {

/// Elements written in the picture body of a direct-colour document: real VDC in 32-bit
/// floating point, 16-bit integers and indices, 8-bit colours.
class Primitive : public CGMBinaryTest {
  protected:
    void SetUp() override {
        CGMBinaryTest::SetUp();
        writeDocumentHeader(elements, false);
        start = sink.bytes().size();
        ASSERT_EQ(start % 2, 0u);
    }
    Bytes written() { return tail(start); }

    std::size_t start = 0;
};

SbVec4f pt(float x, float y) {
    return SbVec4f(x, y, 0.0f, 1.0f);
}

TEST_F(Primitive, HeaderLeavesTheDefaultBodyState) {
    EXPECT_EQ(writer.getVdcSize(), 4);
    EXPECT_EQ(writer.getRealSize(), 4);
    EXPECT_EQ(writer.getIntegerPrecision(), 2);
    EXPECT_EQ(writer.getIndexPrecision(), 2);
    EXPECT_EQ(writer.getColorPrecision(), 1);
    EXPECT_EQ(writer.getColorIndexPrecision(), 1);
    EXPECT_EQ(writer.getColorSelectionMode(), 1);
    EXPECT_EQ(writer.getLineWidthMode(), 0);
}

TEST_F(Primitive, FourPointPolylineTakesTheLongForm) {
    const SbVec4f points[4] = {pt(0, 0), pt(1, 0), pt(1, 1), pt(0.5f, 2)};
    elements.Pline(points, 4);
    EXPECT_EQ(hex(written()),
              "40 3F 00 20 00 00 00 00 00 00 00 00 3F 80 00 00 00 00 00 00 "
              "3F 80 00 00 3F 80 00 00 3F 00 00 00 40 00 00 00");
}

TEST_F(Primitive, ThreePointsFitTheShortForm) {
    const SbVec4f points[3] = {pt(0, 0), pt(1, 0), pt(1, 1)};
    elements.Pline(points, 3);
    EXPECT_EQ(hex(slice(written(), 0, 2)), "40 38");
    EXPECT_EQ(written().size(), 2u + 24u);
}

TEST_F(Primitive, PolylineOf4095PointsFillsOnePartition) {
    std::vector<SbVec4f> points(4095, pt(1, 1));
    elements.Pline(points.data(), 4095);
    const Bytes bytes = written();
    ASSERT_EQ(bytes.size(), 4u + 32760u);
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "40 3F 7F F8");
}

TEST_F(Primitive, PolylineOf4096PointsSpansTwoPartitions) {
    std::vector<SbVec4f> points(4096, pt(1, 1));
    points.back() = pt(2, -2);
    elements.Pline(points.data(), 4096);
    const Bytes bytes = written();
    ASSERT_EQ(bytes.size(), 4u + 32760u + 2u + 8u);
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "40 3F FF F8");
    EXPECT_EQ(hex(slice(bytes, 4 + 32760, 10)), "00 08 40 00 00 00 C0 00 00 00");
    const auto found = parse();
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.back().partitions, 2);
    EXPECT_EQ(found.back().params.size(), 32768u);
}

TEST_F(Primitive, MarkersAndPolygons) {
    const SbVec4f points[3] = {pt(1, 1), pt(2, 1), pt(2, 2)};
    elements.Pmarker(points, 1);
    elements.Ppolygon(points, 3);
    const Bytes bytes = written();
    EXPECT_EQ(hex(slice(bytes, 0, 2)), "40 68");
    EXPECT_EQ(hex(slice(bytes, 10, 2)), "40 F8");
    EXPECT_EQ(bytes.size(), 10u + 2u + 24u);
}

TEST_F(Primitive, PointsCarryTheOffset) {
    writer.setPointOffset(10.0f, 20.0f);
    elements.Pcliprect(pt(0, 0), pt(100, 50));
    EXPECT_EQ(hex(written()), "30 B0 41 20 00 00 41 A0 00 00 42 DC 00 00 42 8C 00 00");
}

TEST_F(Primitive, MissingPointsWriteNothing) {
    expectNoPosts = false;
    const SbVec4f one[1] = {pt(0, 0)};
    elements.Pline(one, 0);
    elements.Pmarker(nullptr, 3);
    elements.Ppolygon(one, -1);
    EXPECT_TRUE(written().empty());
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 3u) << errors.dump();
}

TEST_F(Primitive, TextIsFinalAndPaddedAfterOddLengths) {
    writer.setPointOffset(1.0f, 2.0f);
    elements.Ptext(pt(10, 20), SbString("Hi"));
    elements.Pendpic();
    EXPECT_EQ(hex(written()), "40 8D 41 30 00 00 41 B0 00 00 00 01 02 48 69 00 00 A0");
}

TEST_F(Primitive, LongTextIsMeasuredWithItsLongLength) {
    const SbString text(std::string(300, 't'));
    elements.Ptext(pt(0, 0), text);
    const Bytes bytes = written();
    // 8 + 2 + 303 = 313 parameter bytes.
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "40 9F 01 39");
    EXPECT_EQ(hex(slice(bytes, 14, 3)), "FF 01 2C");
    EXPECT_EQ(bytes.size(), 4u + 313u);
}

TEST_F(Primitive, MitreLimitIsAReal) {
    elements.Pmitrelimit(10.0);
    EXPECT_EQ(hex(written()), "32 64 41 20 00 00");
}

}  // namespace
}  // namespace cgmtest
