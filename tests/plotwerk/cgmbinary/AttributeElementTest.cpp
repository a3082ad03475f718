#include "CGMBinaryFixture.h"
#include "CGMHeaderSequence.h"

namespace cgmtest {
namespace {

/// Attribute elements in the picture body of a direct-colour document.
class Attribute : public CGMBinaryTest {
  protected:
    void SetUp() override {
        CGMBinaryTest::SetUp();
        writeDocumentHeader(elements, false);
        start = sink.bytes().size();
    }
    Bytes written() { return tail(start); }

    std::size_t start = 0;
};

TEST_F(Attribute, LineAndMarkerTypesAreIndices) {
    elements.Plinetype(-1);
    elements.Pmarkertype(1);
    elements.Ptextfontindex(5);
    EXPECT_EQ(hex(written()), "50 42 FF FF 50 C2 00 01 51 42 00 05");
}

TEST_F(Attribute, AbsoluteLineWidthIsAVdc) {
    writer.setRealPrecision(3);  // so that a real and a VDC differ
    elements.Plinewidth(0.5);
    elements.Pmarkersize(0.5);
    EXPECT_EQ(hex(written()), "50 64 3F 00 00 00 50 E4 3F 00 00 00");
}

TEST_F(Attribute, ScaledLineWidthIsAReal) {
    writer.setRealPrecision(3);
    elements.Plinewidthmode(1);
    elements.Pmarkersizemode(1);
    elements.Plinewidth(0.5);
    elements.Pmarkersize(0.5);
    EXPECT_EQ(hex(slice(written(), 8, 100)), "50 64 00 00 7F FF 50 E4 00 00 7F FF");
}

TEST_F(Attribute, WidthLengthFollowsTheVdcSize) {
    elements.Pvdcrealprec(0.0, 1.0, 15);
    elements.Plinewidth(0.5);
    EXPECT_EQ(hex(slice(written(), 8, 100)), "50 68 3F E0 00 00 00 00 00 00");
}

TEST_F(Attribute, TextAttributes) {
    elements.Ptextprec(2);
    elements.Pcharexpan(1.0);
    elements.Pcharspace(0.0);
    elements.Pcharheight(3.5);
    elements.Ptextpath(0);
    EXPECT_EQ(hex(written()),
              "51 62 00 02 51 84 3F 80 00 00 51 A4 00 00 00 00 51 E4 40 60 00 00 52 22 00 00");
}

TEST_F(Attribute, CharacterOrientationIgnoresTheOffset) {
    writer.setPointOffset(100.0f, 100.0f);
    elements.Pcharori(0.0, 1.0, 1.0, 0.0);
    EXPECT_EQ(hex(written()), "52 10 00 00 00 00 3F 80 00 00 3F 80 00 00 00 00 00 00");
}

TEST_F(Attribute, TextAlignmentWithNormalVertical) {
    elements.Ptextalign(3);
    EXPECT_EQ(hex(written()), "52 4C 00 03 00 00 00 00 00 00 00 00 00 00");
}

TEST_F(Attribute, FillAttributes) {
    elements.Pintstyle(2);
    elements.Ppatindex(3);
    elements.Ppatsize(4.0);
    elements.Pedgevis(0);
    EXPECT_EQ(hex(written()),
              "52 C2 00 02 53 22 00 03 54 30 00 00 00 00 40 80 00 00 40 80 00 00 00 00 00 00 "
              "53 C2 00 00");
}

TEST_F(Attribute, PatternIndexIsAnInteger) {
    elements.Pintegerprec(0, 70000);
    elements.Pindexprec(0, 10);
    elements.Ppatindex(3);
    // After 9 odd parameter bytes and their pad; three-byte integers, not one-byte indices.
    EXPECT_EQ(hex(slice(written(), 10, 100)), "53 23 00 00 03");
}

TEST_F(Attribute, LineCapAndJoin) {
    elements.Plinecap(2);
    elements.Plinejoin(1);
    EXPECT_EQ(hex(written()), "54 A4 00 02 00 01 54 C2 00 01");
}

}  // namespace
}  // namespace cgmtest
