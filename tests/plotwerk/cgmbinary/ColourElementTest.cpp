#include <vector>

#include "CGMBinaryFixture.h"
#include "CGMHeaderSequence.h"

namespace cgmtest {
namespace {

/// Colour elements after the document header of either colour selection mode.
class ColourElement : public CGMBinaryTest {
  protected:
    void begin(bool indexed) {
        writeDocumentHeader(elements, indexed);
        // An indexed header ends with an odd colour table: its pad comes with the next header.
        start = sink.bytes().size() + (writer.getParity() ? 1 : 0);
    }
    Bytes written() { return tail(start); }

    std::size_t start = 0;
};

const SbColor orange(1.0f, 0.5f, 0.25f);

SbVec4f pt(float x, float y) {
    return SbVec4f(x, y, 0.0f, 1.0f);
}

TEST_F(ColourElement, IndexedColourWritesTheIndex) {
    begin(true);
    elements.Plinecolr(7, orange);
    elements.Pmarkercolr(8, orange);
    elements.Ptextcolr(9, orange);
    elements.Pfillcolr(200, orange);
    EXPECT_EQ(hex(written()), "50 81 07 00 51 01 08 00 51 C1 09 00 52 E1 C8");
}

TEST_F(ColourElement, DirectColourWritesTheScaledComponents) {
    begin(false);
    elements.Plinecolr(7, orange);
    elements.Pmarkercolr(8, orange);
    elements.Ptextcolr(9, orange);
    elements.Pfillcolr(200, orange);
    EXPECT_EQ(hex(written()),
              "50 83 FF 7F 3F 00 51 03 FF 7F 3F 00 51 C3 FF 7F 3F 00 52 E3 FF 7F 3F");
}

TEST_F(ColourElement, WiderPrecisionsWidenTheColours) {
    begin(true);
    elements.Pcolrindexprec(1000);
    elements.Plinecolr(300, orange);
    elements.Pcolrmode(1);
    elements.Pcolrprec(1000);
    elements.Plinecolr(300, orange);
    const auto found = parse();
    ASSERT_GE(found.size(), 2u);
    EXPECT_EQ(hex(found[found.size() - 4].params), "01 2C");
    EXPECT_EQ(hex(found.back().params), "00 FF 00 7F 00 3F");
}

TEST_F(ColourElement, SelectionModeChangeSwitchesTheEncoding) {
    begin(false);
    elements.Pcolrmode(0);
    elements.Pfillcolr(5, orange);
    EXPECT_EQ(hex(written()), "20 42 00 00 52 E1 05");
}

TEST_F(ColourElement, TransparentCellColour) {
    begin(true);
    elements.Ptranspcellcolr(true, 0, orange);
    elements.Pcolrmode(1);
    elements.Ptranspcellcolr(false, 0, SbColor(1.0f, 1.0f, 1.0f));
    EXPECT_EQ(hex(written()), "32 83 00 01 00 00 20 42 00 01 32 85 00 00 FF FF FF");
}

TEST_F(ColourElement, ColourTableWritesIntegerComponents) {
    begin(true);
    const int rgb[6] = {255, 128, 0, 1, 2, 3};
    elements.Pcolrtable(0, rgb, 2);
    EXPECT_EQ(hex(written()), "54 47 00 FF 80 00 01 02 03");
}

TEST_F(ColourElement, FullColourTableTakesTheLongForm) {
    writeDocumentHeader(elements, true, 256);
    const auto found = parse();
    ASSERT_FALSE(found.empty());
    const CGMElementReader::Element& table = found.back();
    EXPECT_EQ(table.cls, 5);
    EXPECT_EQ(table.id, 34);
    ASSERT_EQ(table.params.size(), 769u);
    EXPECT_EQ(table.params[0], 0);
    for (int k = 0; k < 256; ++k) {
        ASSERT_EQ(table.params[1 + 3 * k], k);
        ASSERT_EQ(table.params[3 + 3 * k], k);
    }
    const Bytes bytes = sink.bytes();
    EXPECT_EQ(hex(slice(bytes, table.offset, 4)), "54 5F 03 01");
}

TEST_F(ColourElement, DirectCellArrayPadsOddRows) {
    begin(false);
    const SbColor cells[6] = {SbColor(1, 0, 0),          SbColor(0, 1, 0), SbColor(0, 0, 1),
                              SbColor(0.5f, 0.5f, 0.5f), SbColor(1, 1, 1), SbColor(0, 0, 0)};
    elements.Pcellarray(pt(0, 2), pt(3, 0), pt(3, 2), 3, 2, nullptr, cells);
    EXPECT_EQ(hex(written()),
              "41 3F 00 34 "
              "00 00 00 00 40 00 00 00 40 40 00 00 00 00 00 00 40 40 00 00 40 00 00 00 "
              "00 03 00 02 00 08 00 01 "
              "FF 00 00 00 FF 00 00 00 FF 00 "
              "7F 7F 7F FF FF FF 00 00 00 00");
}

TEST_F(ColourElement, IndexedCellArrayPadsOddRows) {
    begin(true);
    const int cells[6] = {1, 2, 3, 4, 5, 6};
    elements.Pcellarray(pt(0, 2), pt(3, 0), pt(3, 2), 3, 2, cells, nullptr);
    const Bytes bytes = written();
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "41 3F 00 28");
    EXPECT_EQ(hex(slice(bytes, 28, 100)), "00 03 00 02 00 08 00 01 01 02 03 00 04 05 06 00");
}

TEST_F(ColourElement, EvenColumnsNeedNoPad) {
    begin(true);
    const int cells[4] = {9, 8, 7, 6};
    elements.Pcellarray(pt(0, 0), pt(2, 2), pt(2, 0), 2, 2, cells, nullptr);
    const Bytes bytes = written();
    EXPECT_EQ(hex(slice(bytes, 0, 4)), "41 3F 00 24");
    EXPECT_EQ(hex(slice(bytes, 36, 100)), "09 08 07 06");
    writer.setColorSelectionMode(1);
    const SbColor colours[2] = {SbColor(1, 1, 1), SbColor(0, 0, 0)};
    elements.Pcellarray(pt(0, 0), pt(2, 1), pt(2, 0), 2, 1, nullptr, colours);
    const auto found = parse();
    EXPECT_EQ(hex(slice(found.back().params, 26, 100)), "00 01 00 08 00 01 FF FF FF 00 00 00");
}

TEST_F(ColourElement, CellArrayLocalPrecisionFollowsTheColourPrecision) {
    begin(false);
    elements.Pcolrprec(1000);
    const SbColor one[1] = {SbColor(1, 0, 0.5f)};
    elements.Pcellarray(pt(0, 0), pt(1, 1), pt(1, 0), 1, 1, nullptr, one);
    const auto found = parse();
    // Six bytes of colour and the pad of the odd row.
    EXPECT_EQ(hex(slice(found.back().params, 24, 100)),
              "00 01 00 01 00 10 00 01 00 FF 00 00 00 7F 00");
}

TEST_F(ColourElement, CellArrayWithoutTheCellsOfTheModeWritesNothing) {
    begin(true);
    expectNoPosts = false;
    const SbColor colours[1] = {SbColor(1, 1, 1)};
    const int indices[1] = {1};
    elements.Pcellarray(pt(0, 0), pt(1, 1), pt(1, 0), 1, 1, nullptr, colours);
    elements.Pcellarray(pt(0, 0), pt(1, 1), pt(1, 0), 0, 1, indices, colours);
    elements.Pcellarray(pt(0, 0), pt(1, 1), pt(1, 0), 1, -2, indices, colours);
    EXPECT_TRUE(written().empty());
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 3u) << errors.dump();
}

TEST_F(ColourElement, IndexedPatternTable) {
    begin(true);
    std::vector<int> cells(1024);
    for (int i = 0; i < 1024; ++i) cells[i] = i % 251;
    elements.Ppattable(3, cells.data(), nullptr);
    const Bytes bytes = written();
    EXPECT_EQ(hex(slice(bytes, 0, 14)), "54 1F 04 08 00 03 00 20 00 20 00 00 00 01");
    ASSERT_EQ(bytes.size(), 4u + 1032u);
    EXPECT_EQ(bytes[12 + 1023], 1023 % 251);
}

TEST_F(ColourElement, DirectPatternTable) {
    begin(false);
    std::vector<SbColor> cells(1024, SbColor(0, 0.5f, 1));
    elements.Ppattable(1, nullptr, cells.data());
    const Bytes bytes = written();
    EXPECT_EQ(hex(slice(bytes, 0, 15)), "54 1F 0C 08 00 01 00 20 00 20 00 00 00 7F FF");
    ASSERT_EQ(bytes.size(), 4u + 3080u);
}

TEST_F(ColourElement, PatternTableLengthFollowsTheIndexPrecision) {
    begin(true);
    elements.Pcolrindexprec(1000);
    elements.Pindexprec(0, 100);
    std::vector<int> cells(1024, 2);
    elements.Ppattable(1, cells.data(), nullptr);
    const auto found = parse();
    // One byte of index, three integers, 1024 two-byte cells.
    EXPECT_EQ(found.back().params.size(), 1u + 6u + 2048u);
    EXPECT_EQ(hex(slice(found.back().params, 0, 9)), "01 00 20 00 20 00 00 00 02");
}

}  // namespace
}  // namespace cgmtest
