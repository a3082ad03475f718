// The process-wide marker library: built-in bitmaps, bit conventions, editing.

#include <Tessara/base/SoDB.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/DebugErrorRecorder.h"

namespace {

// The marker as text rows, top row first, 'X' for a set pixel.
std::vector<std::string> picture(int index) {
    SbVec2s size;
    const unsigned char* bytes = nullptr;
    bool lsb = false;
    if (!SoMarkerSet::getMarker(index, size, bytes, lsb)) return {};
    std::vector<std::string> rows;
    for (int row = size[1] - 1; row >= 0; --row) {
        std::string line;
        for (int col = 0; col < size[0]; ++col)
            line += SoMarkerSet::isMarkerBitSet(index, row * size[0] + col) ? 'X' : '.';
        rows.push_back(line);
    }
    return rows;
}

// Custom markers use indices far above the built-ins so tests cannot disturb them.
constexpr int kCustom = 5000;

class MarkerLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override { SoDB::init(); }
    void TearDown() override {
        for (int i = kCustom; i < kCustom + 10; ++i) SoMarkerSet::removeMarker(i);
        SoDB::finish();
    }
};

TEST_F(MarkerLibraryTest, PlusIsTheCentreRowAndColumn) {
    EXPECT_EQ(picture(SoMarkerSet::PLUS_5_5),
              (std::vector<std::string>{"..X..", "..X..", "XXXXX", "..X..", "..X.."}));
    SbVec2s size;
    const unsigned char* bytes = nullptr;
    bool lsb = true;
    ASSERT_TRUE(SoMarkerSet::getMarker(SoMarkerSet::PLUS_5_5, size, bytes, lsb));
    EXPECT_EQ(size, SbVec2s(5, 5));
    // One byte per row; the leftmost pixel is the bit the flag names.
    const unsigned char centre = lsb ? 0x04 : 0x20;
    const unsigned char full = lsb ? 0x1F : 0xF8;
    const std::vector<unsigned char> expected{centre, centre, full, centre, centre};
    EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 5), expected);
}

TEST_F(MarkerLibraryTest, OutlineShapesHaveExactPixels) {
    EXPECT_EQ(picture(SoMarkerSet::CROSS_7_7),
              (std::vector<std::string>{"X.....X", ".X...X.", "..X.X..", "...X...", "..X.X..",
                                        ".X...X.", "X.....X"}));
    EXPECT_EQ(picture(SoMarkerSet::CIRCLE_LINE_5_5),
              (std::vector<std::string>{".XXX.", "X...X", "X...X", "X...X", ".XXX."}));
    EXPECT_EQ(picture(SoMarkerSet::DIAMOND_LINE_5_5),
              (std::vector<std::string>{"..X..", ".X.X.", "X...X", ".X.X.", "..X.."}));
    EXPECT_EQ(picture(SoMarkerSet::TRIANGLE_LINE_5_5),
              (std::vector<std::string>{"..X..", "..X..", ".X.X.", ".X.X.", "XXXXX"}));
    EXPECT_EQ(picture(SoMarkerSet::SQUARE_LINE_5_5),
              (std::vector<std::string>{"XXXXX", "X...X", "X...X", "X...X", "XXXXX"}));
}

TEST_F(MarkerLibraryTest, BuiltInsComeInThreeCentredSymmetricSizes) {
    const int sizes[3] = {5, 7, 9};
    for (int index = 0; index < SoMarkerSet::NUM_MARKERS; ++index) {
        SCOPED_TRACE(index);
        const std::vector<std::string> rows = picture(index);
        const int n = sizes[index % 3];
        ASSERT_EQ(static_cast<int>(rows.size()), n);
        for (const std::string& row : rows)
            EXPECT_EQ(row, std::string(row.rbegin(), row.rend())) << "not mirror-symmetric";
        const bool pointsUp =
            index >= SoMarkerSet::TRIANGLE_LINE_5_5 && index <= SoMarkerSet::TRIANGLE_FILLED_9_9;
        if (!pointsUp) {
            EXPECT_EQ(rows, std::vector<std::string>(rows.rbegin(), rows.rend()));
        }
        // Every shape touches all four edges: with the symmetry, it is centred and uses
        // the full size.
        std::string left, right;
        for (const std::string& row : rows) {
            left += row.front();
            right += row.back();
        }
        for (const std::string& edge : {rows.front(), rows.back(), left, right})
            EXPECT_NE(edge.find('X'), std::string::npos);
    }
}

TEST_F(MarkerLibraryTest, FilledShapesCoverTheirOutlines) {
    const int pairs[][2] = {{SoMarkerSet::CIRCLE_LINE_9_9, SoMarkerSet::CIRCLE_FILLED_9_9},
                            {SoMarkerSet::SQUARE_LINE_7_7, SoMarkerSet::SQUARE_FILLED_7_7},
                            {SoMarkerSet::DIAMOND_LINE_9_9, SoMarkerSet::DIAMOND_FILLED_9_9},
                            {SoMarkerSet::TRIANGLE_LINE_9_9, SoMarkerSet::TRIANGLE_FILLED_9_9},
                            {SoMarkerSet::HOURGLASS_LINE_7_7, SoMarkerSet::HOURGLASS_FILLED_7_7},
                            {SoMarkerSet::SATELLITE_LINE_9_9, SoMarkerSet::SATELLITE_FILLED_9_9}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair[0]);
        int outlinePixels = 0, filledPixels = 0;
        for (int bit = 0; bit < 81; ++bit) {
            const bool line = SoMarkerSet::isMarkerBitSet(pair[0], bit);
            const bool filled = SoMarkerSet::isMarkerBitSet(pair[1], bit);
            EXPECT_TRUE(!line || filled) << "bit " << bit;
            outlinePixels += line;
            filledPixels += filled;
        }
        EXPECT_LT(outlinePixels, filledPixels);
    }
    EXPECT_EQ(picture(SoMarkerSet::SQUARE_FILLED_5_5), std::vector<std::string>(5, "XXXXX"));
    EXPECT_EQ(picture(SoMarkerSet::TRIANGLE_FILLED_7_7),
              (std::vector<std::string>{"...X...", "...X...", "..XXX..", "..XXX..", ".XXXXX.",
                                        ".XXXXX.", "XXXXXXX"}));
}

TEST_F(MarkerLibraryTest, BitNumbersOutsideTheMarkerAreUnset) {
    EXPECT_TRUE(SoMarkerSet::isMarkerBitSet(SoMarkerSet::PLUS_5_5, 22));  // top row, middle
    EXPECT_FALSE(SoMarkerSet::isMarkerBitSet(SoMarkerSet::PLUS_5_5, 25));
    EXPECT_FALSE(SoMarkerSet::isMarkerBitSet(SoMarkerSet::SQUARE_FILLED_5_5, 25));
    EXPECT_FALSE(SoMarkerSet::isMarkerBitSet(SoMarkerSet::SQUARE_FILLED_5_5, -1));
    EXPECT_TRUE(SoMarkerSet::isMarkerBitSet(SoMarkerSet::SQUARE_FILLED_5_5, 24));
    EXPECT_FALSE(SoMarkerSet::isMarkerBitSet(987654, 0));
    SbVec2s size;
    const unsigned char* bytes = nullptr;
    bool lsb = false;
    EXPECT_FALSE(SoMarkerSet::getMarker(987654, size, bytes, lsb));
    EXPECT_FALSE(SoMarkerSet::getMarker(-3, size, bytes, lsb));
}

TEST_F(MarkerLibraryTest, LsbFirstBytesPutColumnZeroInBitZero) {
    const unsigned char rows[] = {0x01, 0x06};  // bottom: column 0; top: columns 1 and 2
    SoMarkerSet::addMarker(kCustom, SbVec2s(3, 2), rows, true, false);
    const bool expected[] = {true, false, false, false, true, true};
    for (int bit = 0; bit < 6; ++bit)
        EXPECT_EQ(SoMarkerSet::isMarkerBitSet(kCustom, bit), expected[bit]) << bit;
}

TEST_F(MarkerLibraryTest, MsbFirstBytesPutColumnZeroInBitSeven) {
    const unsigned char rows[] = {0x80, 0x60};
    SoMarkerSet::addMarker(kCustom, SbVec2s(3, 2), rows, false, false);
    const bool expected[] = {true, false, false, false, true, true};
    for (int bit = 0; bit < 6; ++bit)
        EXPECT_EQ(SoMarkerSet::isMarkerBitSet(kCustom, bit), expected[bit]) << bit;
    SbVec2s size;
    const unsigned char* bytes = nullptr;
    bool lsb = true;
    ASSERT_TRUE(SoMarkerSet::getMarker(kCustom, size, bytes, lsb));
    EXPECT_FALSE(lsb);
    EXPECT_EQ(size, SbVec2s(3, 2));
}

TEST_F(MarkerLibraryTest, WideRowsSpanSeveralBytes) {
    // 10 pixels: two bytes a row; the last pixel sits in the second byte.
    const unsigned char rows[] = {0x80, 0x40};
    SoMarkerSet::addMarker(kCustom, SbVec2s(10, 1), rows, false);
    for (int col = 0; col < 10; ++col)
        EXPECT_EQ(SoMarkerSet::isMarkerBitSet(kCustom, col), col == 0 || col == 9) << col;
    const unsigned char lsbRows[] = {0x01, 0x02};
    SoMarkerSet::addMarker(kCustom + 1, SbVec2s(10, 1), lsbRows, true);
    for (int col = 0; col < 10; ++col)
        EXPECT_EQ(SoMarkerSet::isMarkerBitSet(kCustom + 1, col), col == 0 || col == 9) << col;
}

TEST_F(MarkerLibraryTest, TopDownRowsAreStoredBottomUp) {
    const unsigned char rows[] = {0x01, 0x06};  // given top row first
    SoMarkerSet::addMarker(kCustom, SbVec2s(3, 2), rows, true, true);
    const bool expected[] = {false, true, true, true, false, false};
    for (int bit = 0; bit < 6; ++bit)
        EXPECT_EQ(SoMarkerSet::isMarkerBitSet(kCustom, bit), expected[bit]) << bit;
    SbVec2s size;
    const unsigned char* bytes = nullptr;
    bool lsb = false;
    ASSERT_TRUE(SoMarkerSet::getMarker(kCustom, size, bytes, lsb));
    EXPECT_EQ(bytes[0], 0x06);
    EXPECT_EQ(bytes[1], 0x01);
}

TEST_F(MarkerLibraryTest, AddReplacesAndRemoveForgets) {
    const int before = SoMarkerSet::getNumDefinedMarkers();
    EXPECT_GE(before, SoMarkerSet::NUM_MARKERS);
    const unsigned char one[] = {0x80};
    SoMarkerSet::addMarker(kCustom, SbVec2s(1, 1), one, false);
    EXPECT_EQ(SoMarkerSet::getNumDefinedMarkers(), before + 1);
    const unsigned char two[] = {0x00, 0x40};
    SoMarkerSet::addMarker(kCustom, SbVec2s(2, 2), two, false);
    EXPECT_EQ(SoMarkerSet::getNumDefinedMarkers(), before + 1);
    EXPECT_EQ(picture(kCustom), (std::vector<std::string>{".X", ".."}));
    EXPECT_TRUE(SoMarkerSet::removeMarker(kCustom));
    EXPECT_FALSE(SoMarkerSet::removeMarker(kCustom));
    EXPECT_EQ(SoMarkerSet::getNumDefinedMarkers(), before);
    EXPECT_FALSE(SoMarkerSet::isMarkerBitSet(kCustom, 1));
}

TEST_F(MarkerLibraryTest, ABuiltInCanBeReplacedAndRestored) {
    SbVec2s size;
    const unsigned char* bytes = nullptr;
    bool lsb = false;
    ASSERT_TRUE(SoMarkerSet::getMarker(SoMarkerSet::STAR_9_9, size, bytes, lsb));
    const std::vector<unsigned char> saved(bytes, bytes + 2 * 9);
    const std::vector<std::string> original = picture(SoMarkerSet::STAR_9_9);
    const unsigned char dot[] = {0x80};
    SoMarkerSet::addMarker(SoMarkerSet::STAR_9_9, SbVec2s(1, 1), dot, false);
    EXPECT_EQ(picture(SoMarkerSet::STAR_9_9), std::vector<std::string>{"X"});
    SoMarkerSet::addMarker(SoMarkerSet::STAR_9_9, SbVec2s(9, 9), saved.data(), lsb);
    EXPECT_EQ(picture(SoMarkerSet::STAR_9_9), original);
}

TEST_F(MarkerLibraryTest, BadDefinitionsAreReportedAndIgnored) {
    DebugErrorRecorder recorder;
    const unsigned char row[] = {0xFF};
    SoMarkerSet::addMarker(kCustom, SbVec2s(0, 3), row);
    SoMarkerSet::addMarker(kCustom + 1, SbVec2s(4, 4), nullptr);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 2u) << recorder.dump();
    SbVec2s size;
    const unsigned char* bytes = nullptr;
    bool lsb = false;
    EXPECT_FALSE(SoMarkerSet::getMarker(kCustom, size, bytes, lsb));
    EXPECT_FALSE(SoMarkerSet::getMarker(kCustom + 1, size, bytes, lsb));
}

}  // namespace
