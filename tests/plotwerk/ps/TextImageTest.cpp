// Text, raster images and the pen table's hold on colours.

#include <cstdio>
#include <string>
#include <vector>

#include "plotwerk/ps/PSFixture.h"

namespace {

using Lines = std::vector<std::string>;

const SbColor kRed(1, 0, 0);
const SbColor kGreen(0, 1, 0);
const SbColor kBlue(0, 0, 1);

// (50, 60) mm is (2083, 2500) units; 12 nominal widths are 176 units.
const char kFont12[] = "(/Helvetica) findfont 176 scalefont setfont";

using Text = PSTest;

TEST_F(Text, EachJustificationHasItsProcedure) {
    startDocument();
    action->text2(50, 60, "Hello", 1, kRed);
    action->text2(50, 60, "Hello", 2, kRed);
    action->text2(50, 60, "Hello", 3, kRed);
    // Angles in radians are written in degrees.
    action->text2(50, 60, "a", 1, kRed, 12.0f, "Helvetica", 0.5f);
    action->text2(50, 60, "a", 3, kRed, 12.0f, "Helvetica", 1.5707964f);
    action->text2(50, 60, "a", 2, kRed, 12.0f, "Helvetica", -0.5f);
    expectSameLines(
        lines(), {"1 0 0 gc", kFont12, "(Hello) 0.00 2083 2500 ltx", "2083 2500 0.00 (Hello) rtx",
                  "2083 2500 0.00 (Hello) ctx", "(a) 28.65 2083 2500 ltx",
                  "2083 2500 90.00 (a) ctx", "2083 2500 -28.65 (a) rtx"});
}

TEST_F(Text, OtherJustificationsWriteOnlyTheSettings) {
    startDocument();
    action->text2(50, 60, "Hello", 0, kGreen, 20.0f, "Times-Roman");
    action->text2(50, 60, "Hello", 4, kGreen, 20.0f, "Times-Roman");
    expectSameLines(lines(), {"0 1 0 gc", "(/Times-Roman) findfont 294 scalefont setfont"});
}

TEST_F(Text, TheFontIsWrittenWhenItsNameOrSizeChanges) {
    startDocument();
    action->text2(50, 60, "a", 1, kRed);
    action->text2(50, 60, "b", 1, kRed);
    action->text2(50, 60, "c", 1, kRed, 14.0f);
    action->text2(50, 60, "d", 1, kRed, 14.0f, "Courier");
    expectSameLines(lines(),
                    {"1 0 0 gc", kFont12, "(a) 0.00 2083 2500 ltx", "(b) 0.00 2083 2500 ltx",
                     "(/Helvetica) findfont 206 scalefont setfont", "(c) 0.00 2083 2500 ltx",
                     "(/Courier) findfont 206 scalefont setfont", "(d) 0.00 2083 2500 ltx"});
}

TEST_F(Text, FontSizeIsInNominalWidths) {
    action->setNominalWidth(0.5f);
    action->writeHeader();
    const Lines header = splitLines(action->text());
    ASSERT_GE(header.size(), 4u);
    EXPECT_EQ(header[header.size() - 4], "21 ps");
    EXPECT_EQ(header[header.size() - 3], "21 ep");
    action->mark();
    action->text2(50, 60, "a", 1, kRed);
    EXPECT_EQ(lineAt(1), "(/Helvetica) findfont 250 scalefont setfont");
}

TEST_F(Text, ParenthesesAreEscapedAndNothingElse) {
    startDocument();
    action->text2(50, 60, "f(x)", 1, kRed);
    action->text2(50, 60, "a\\b", 1, kRed);
    action->text2(50, 60, "((x) y)", 2, kRed);
    const Lines all = lines();
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[2], "(f\\(x\\)) 0.00 2083 2500 ltx");
    EXPECT_EQ(all[3], "(a\\b) 0.00 2083 2500 ltx");
    EXPECT_EQ(all[4], "2083 2500 0.00 (\\(\\(x\\) y\\)) rtx");
}

TEST_F(Text, TheDegreeSignTakesItsPlaceInTheStandardEncoding) {
    startDocument();
    action->text2(50, 60, SbString("90\xB0"), 1, kRed);  // Latin-1 bytes
    action->text2(50, 60,
                  SbString("5\xC2\xB0"
                           "C"),
                  1, kRed);  // the same sign in UTF-8
    const Lines all = lines();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[2], "(90\xCA) 0.00 2083 2500 ltx");
    EXPECT_EQ(all[3],
              "(5\xCA"
              "C) 0.00 2083 2500 ltx");
}

using Image = PSTest;

const std::vector<unsigned char> kFourPixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 16, 32, 48};

TEST_F(Image, HeaderNumbersThenHexRows) {
    startDocument();
    action->image(50, 60, kFourPixels, SbVec2s(2, 2), SbVec2s(40, 20), 3);
    // 40 x 20 printed pixels of 25.4 / 72 mm: 588 x 294 units.
    expectSameLines(lines(), {"2 2", "588 294", "2083 2500", "2", "3", "DisplayImage",
                              "FF000000FF000000FF102030"});

    // The other alignments move the corner.
    action->mark();
    action->image(50, 60, kFourPixels, SbVec2s(2, 2), SbVec2s(40, 20), 3, SoImage::CENTER,
                  SoImage::HALF);
    EXPECT_EQ(lineAt(2), "1789 2353");
    action->mark();
    action->image(50, 60, kFourPixels, SbVec2s(2, 2), SbVec2s(40, 20), 3, SoImage::RIGHT,
                  SoImage::TOP);
    EXPECT_EQ(lineAt(2), "1495 2206");
    action->mark();
    action->image(50, 60, kFourPixels, SbVec2s(2, 2), SbVec2s(40, 20), 3, SoImage::LEFT,
                  SoImage::TOP);
    EXPECT_EQ(lineAt(2), "2083 2206");
}

TEST_F(Image, HexLinesHoldFortyBytesCountedAfreshForEachImage) {
    startDocument();
    std::vector<unsigned char> pixels(60);
    for (int i = 0; i < 60; ++i) pixels[i] = static_cast<unsigned char>(i * 4);
    std::string hex;
    for (unsigned char byte : pixels) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        hex += digits;
    }
    action->image(50, 60, pixels, SbVec2s(20, 1), SbVec2s(20, 1), 3);
    expectSameLines(lines(), {"20 1", "294 15", "2083 2500", "20", "3", "DisplayImage",
                              hex.substr(0, 80), hex.substr(80)});

    // Two images of 30 bytes: each on one line, the count does not run on.
    const std::vector<unsigned char> half(pixels.begin(), pixels.begin() + 30);
    action->mark();
    action->image(50, 60, half, SbVec2s(10, 1), SbVec2s(10, 1), 3);
    action->image(50, 60, half, SbVec2s(10, 1), SbVec2s(10, 1), 3);
    const Lines all = lines();
    ASSERT_EQ(all.size(), 14u);
    EXPECT_EQ(all[6], hex.substr(0, 60));
    EXPECT_EQ(all[13], hex.substr(0, 60));
}

TEST_F(Image, ComponentCountsBelowThreeAreGreyAboveThreeRgb) {
    startDocument();
    const std::vector<unsigned char> grey = {0x12, 0xAB};
    action->image(50, 60, grey, SbVec2s(2, 1), SbVec2s(2, 1), 1);
    expectSameLines(lines(), {"2 1", "29 15", "2083 2500", "2", "1", "DisplayImage", "12AB"});

    action->mark();
    const std::vector<unsigned char> greyAlpha = {0x12, 0xFF, 0xAB, 0x00};
    action->image(50, 60, greyAlpha, SbVec2s(2, 1), SbVec2s(2, 1), 2);
    expectSameLines(lines(), {"2 1", "29 15", "2083 2500", "2", "1", "DisplayImage", "12AB"});

    action->mark();
    const std::vector<unsigned char> rgba = {1, 2, 3, 4, 5, 6, 7, 8};
    action->image(50, 60, rgba, SbVec2s(2, 1), SbVec2s(2, 1), 4);
    expectSameLines(lines(),
                    {"2 1", "29 15", "2083 2500", "2", "3", "DisplayImage", "010203050607"});
}

TEST_F(Image, GreyDocumentsConvertColourPixels) {
    setGrey();
    startDocument();
    const std::vector<unsigned char> rgb = {100, 200, 50, 255, 0, 0, 0, 255, 0};
    action->image(50, 60, rgb, SbVec2s(3, 1), SbVec2s(3, 1), 3);
    // 0.3 r + 0.59 g + 0.11 b, truncated: 153, 76, 150. No component count is written.
    expectSameLines(lines(), {"3 1", "44 15", "2083 2500", "3", "DisplayImage", "994C96"});

    action->mark();
    const std::vector<unsigned char> grey = {0x12, 0xAB};
    action->image(50, 60, grey, SbVec2s(2, 1), SbVec2s(2, 1), 1);
    expectSameLines(lines(), {"2 1", "29 15", "2083 2500", "2", "DisplayImage", "12AB"});
}

TEST_F(Image, ImagesWithoutSizeOrOutsideTheClipAreSkipped) {
    startDocument();
    action->image(50, 60, kFourPixels, SbVec2s(2, 2), SbVec2s(40, 20), 0);
    action->image(50, 60, {}, SbVec2s(0, 0), SbVec2s(40, 20), 3);
    action->image(50, 60, kFourPixels, SbVec2s(2, 2), SbVec2s(0, 0), 3);
    // The drawing is 190 x 277 mm: these lie wholly beside it.
    action->image(-30, -30, kFourPixels, SbVec2s(2, 2), SbVec2s(40, 20), 3);
    action->image(200, 100, kFourPixels, SbVec2s(2, 2), SbVec2s(40, 20), 3);
    action->image(100, 290, kFourPixels, SbVec2s(2, 2), SbVec2s(40, 20), 3);
    EXPECT_EQ(action->sinceMark(), "");

    // Partly inside is enough; the corner may be negative (truncated toward zero).
    action->image(-10, -5, kFourPixels, SbVec2s(2, 2), SbVec2s(40, 20), 3);
    const Lines all = lines();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[2], "-416 -207");
}

using Pens = PSTest;

TEST_F(Pens, APenTableForcesThePenColours) {
    const SbColor penColors[] = {kBlue, kGreen};
    const float penWidths[] = {0.35f, 0.7f};
    action->setPenDescription(2, penColors, penWidths);
    startDocument();
    action->line({at(0, 0), at(1, 1)}, SbColor(0.1f, 0.9f, 0.2f));
    action->text2(50, 60, "a", 1, SbColor(0.2f, 0.1f, 0.9f));
    action->dots({at(0, 0)}, SbColor(0.2f, 0.8f, 0.3f));  // nearer green than blue
    const Lines all = lines();
    ASSERT_GE(all.size(), 7u);
    EXPECT_EQ(all[0], "0 1 0 gc");
    EXPECT_EQ(all[3], "0 0 1 gc");
    EXPECT_EQ(all[6], "0 1 0 gc");

    // A grey document writes the grey of the pen's colour.
    setGrey();
    startDocument();
    action->line({at(0, 0), at(1, 1)}, SbColor(0.2f, 0.8f, 0.3f));
    EXPECT_EQ(lineAt(0), "0.59 gb");
}

TEST_F(Pens, WithPensLevel3PolygonsAreFilledFlatInAPenColour) {
    const SbColor penColors[] = {kBlue, kGreen};
    action->setPenDescription(2, penColors);
    setLevel(3);
    startDocument();
    const SbVec4f points[] = {at(0, 0), at(417, 0), at(417, 417)};
    const SbColor colors[] = {SbColor(0.1f, 0.2f, 0.8f), kRed, kGreen};
    action->printPolygon(points, 3, colors, 1, SbString(), SbString(), nullptr);
    expectSameLines(lines(), {"0 0 1 gc", "0 0 417 0 417 417 3 pfa"});
}

}  // namespace
