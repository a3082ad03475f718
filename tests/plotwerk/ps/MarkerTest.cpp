// Markers: dots of a size, grouped like polylines, and bitmap markers whose procedures are
// defined once per document and drawn centred on their points.

#include <Tessara/nodes/SoMarkerSet.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "plotwerk/ps/PSFixture.h"

namespace {

using Lines = std::vector<std::string>;

const SbColor kRed(1, 0, 0);
const SbColor kGreen(0, 1, 0);

// Marker indices beyond the built-in ones, defined by the tests themselves.
constexpr int kSmallMarker = 90;  // 10 x 2, rows given bottom first, leftmost pixel high
constexpr int kLineMarker = 91;   // 8 x 1
constexpr int kTallMarker = 92;   // 32 x 12
constexpr int kMissingMarker = 95;

void append(Lines& lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

const Lines kSmallDefinition = {
    "/Bitmap90", "{ 10 2", " true", " [10 0 0 2 0 0]", "{<C3C05A40>} imagemask", "} bind def"};
const Lines kLineDefinition = {"/Bitmap91",        "{ 8 1",     " true", " [8 0 0 1 0 0]",
                               "{<81>} imagemask", "} bind def"};

class Markers : public PSTest {
  protected:
    void SetUp() override {
        PSTest::SetUp();
        // The bits of the second byte past the tenth column are padding: written clear.
        const unsigned char small[] = {0xC3, 0xFF, 0x5A, 0x40};
        SoMarkerSet::addMarker(kSmallMarker, SbVec2s(10, 2), small, false, false);
        const unsigned char line[] = {0x81};
        SoMarkerSet::addMarker(kLineMarker, SbVec2s(8, 1), line, false, false);
        unsigned char tall[48];
        for (int i = 0; i < 48; ++i) tall[i] = static_cast<unsigned char>(i * 5 + 1);
        SoMarkerSet::addMarker(kTallMarker, SbVec2s(32, 12), tall, false, false);
        SoMarkerSet::removeMarker(kMissingMarker);
        markerSet = new SoMarkerSet;
        markerSet->ref();
    }
    void TearDown() override {
        markerSet->unref();
        SoMarkerSet::removeMarker(kSmallMarker);
        SoMarkerSet::removeMarker(kLineMarker);
        SoMarkerSet::removeMarker(kTallMarker);
        PSTest::TearDown();
    }

    /// Draws the markers at (20, 30) mm, one per colour.
    void markersAt2030(std::initializer_list<int> indices, const std::vector<SbColor>& colors) {
        markerSet->markerIndex.setValues(indices);
        const std::vector<SbVec4f> points(colors.size(), mm(20, 30));
        action->printPolyMark(points.data(), static_cast<int>(points.size()), colors.data(), 0,
                              markerSet);
    }

    SoMarkerSet* markerSet = nullptr;
};

TEST_F(Markers, DotsShareOneSizeAndOneColourStatement) {
    startDocument();
    action->dots({at(10, 20), at(30, 40)}, kRed, 0.0f);  // 0 counts as 1: nominal, no statement
    action->dots({at(10, 20), at(30, 40)}, kRed, 3.0f);
    action->dots({at(10, 20), at(30, 40)}, kGreen, 3.0f);
    expectSameLines(lines(), {"1 0 0 gc", "30 40 10 20", "2 ppmp", "44 ps", "30 40 10 20", "2 ppmp",
                              "0 1 0 gc", "30 40 10 20", "2 ppmp"});
}

TEST_F(Markers, DotGroupsOfAHundredJoinLikePolylines) {
    startDocument();
    std::vector<SbVec4f> points;
    for (int i = 0; i < 150; ++i) points.push_back(at(1000.0f + i, 2000.0f));
    action->dots(points, kRed);
    const Lines all = lines();
    // 150 points: 149 down to 50, then 50 down to 0.
    Lines groupEnds;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].find("ppmp") != std::string::npos) {
            groupEnds.push_back(all[i]);
            ASSERT_GT(i, 0u);
            const std::string before = all[i - 1];
            EXPECT_EQ(before.substr(before.size() - 9),
                      groupEnds.size() == 1 ? "1050 2000" : "1000 2000");
        }
    }
    expectSameLines(groupEnds, {"100 ppmp", "51 ppmp"});
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[1].substr(0, 19), "1149 2000 1148 2000");
    const auto secondGroup = std::find(all.begin(), all.end(), "100 ppmp") + 1;
    ASSERT_NE(secondGroup, all.end());
    EXPECT_EQ(secondGroup->substr(0, 19), "1050 2000 1049 2000");
}

TEST_F(Markers, MulticolourDotsAreOneStatementEach) {
    startDocument();
    const SbVec4f points[] = {at(1, 2), at(3, 4), at(5, 6)};
    const SbColor colors[] = {kRed, kRed, kGreen};
    action->printPolyMark(points, 3, colors, 1, 2.0f);
    expectSameLines(lines(),
                    {"29 ps", "1 0 0 gc", "1 2 1 ppmp", "3 4 1 ppmp", "0 1 0 gc", "5 6 1 ppmp"});
}

TEST_F(Markers, ABitmapIsDefinedAndDrawnCentredOnItsPoint) {
    startDocument();
    markersAt2030({kSmallMarker}, {kRed});
    // 10 x 2 pixels of one nominal width: 147 x 29 units, the corner half of that lower left.
    Lines expected = kSmallDefinition;
    append(expected, {"/currentBitmapIndex {Bitmap90} bind def", "1 0 0 gc",
                      "147 29 760 1235 DisplayBitmap"});
    expectSameLines(lines(), expected);
}

TEST_F(Markers, BitmapHexBreaksEveryFortyDigitsAcrossRows) {
    startDocument();
    markersAt2030({kTallMarker}, {kRed});
    std::string hex;
    for (int i = 0; i < 48; ++i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", (i * 5 + 1) & 0xFF);
        hex += digits;
    }
    const Lines expected = {"/Bitmap92",
                            "{ 32 12",
                            " true",
                            " [32 0 0 12 0 0]",
                            "{<" + hex.substr(0, 40),
                            hex.substr(40, 40),
                            hex.substr(80) + ">} imagemask",
                            "} bind def",
                            "/currentBitmapIndex {Bitmap92} bind def",
                            "1 0 0 gc",
                            "470 176 598 1162 DisplayBitmap"};
    expectSameLines(lines(), expected);
}

TEST_F(Markers, MarkerIndicesCycleAndSelectTheirProcedure) {
    startDocument();
    markersAt2030({kSmallMarker, kLineMarker}, {kRed, kGreen, kRed});
    // Each marker is defined once; the current procedure switches with every point; each
    // point takes its own colour.
    Lines expected = kSmallDefinition;
    append(expected, {"/currentBitmapIndex {Bitmap90} bind def", "1 0 0 gc",
                      "147 29 760 1235 DisplayBitmap"});
    append(expected, kLineDefinition);
    append(expected, {"/currentBitmapIndex {Bitmap91} bind def", "0 1 0 gc",
                      "118 15 775 1243 DisplayBitmap", "/currentBitmapIndex {Bitmap90} bind def",
                      "1 0 0 gc", "147 29 760 1235 DisplayBitmap"});
    expectSameLines(lines(), expected);
}

TEST_F(Markers, PointsOfAnUndefinedMarkerAreSkippedSilently) {
    startDocument();
    markersAt2030({kMissingMarker}, {kRed, kRed});
    EXPECT_EQ(action->sinceMark(), "");
    markersAt2030({kLineMarker, kMissingMarker}, {kRed, kGreen, kRed});
    Lines expected = kLineDefinition;
    append(expected, {"/currentBitmapIndex {Bitmap91} bind def", "1 0 0 gc",
                      "118 15 775 1243 DisplayBitmap", "118 15 775 1243 DisplayBitmap"});
    expectSameLines(lines(), expected);
}

TEST_F(Markers, ANewDocumentDefinesItsBitmapsAgain) {
    startDocument();
    markersAt2030({kLineMarker}, {kRed});
    action->writeFooter();
    startDocument();
    markersAt2030({kLineMarker}, {kRed});
    Lines expected = kLineDefinition;
    append(expected, {"/currentBitmapIndex {Bitmap91} bind def", "1 0 0 gc",
                      "118 15 775 1243 DisplayBitmap"});
    expectSameLines(lines(), expected);
}

}  // namespace
