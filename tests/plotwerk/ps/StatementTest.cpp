// The statements each primitive writes, byte for byte where the encoding decides: number
// compaction and rounding, settings written only when they change, dash arrays, point
// lines, fill procedures per level, patterns, bitmaps, string escapes and image data; and
// point lists of any length, level-1 paths included, read back as an interpreter reads them.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "plotwerk/ps/PSFixture.h"
#include "support/DebugErrorRecorder.h"

namespace {

/// Hexadecimal digits of bytes, in the case and with the separator the format gives.
std::string hex(const std::vector<unsigned char>& bytes, const char* format) {
    std::string text;
    for (unsigned char byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, format, byte);
        text += digits;
    }
    return text;
}

const std::vector<SbVec4f> kTriangle = {at(0, 0), at(417, 0), at(417, 417)};
const std::vector<SbVec4f> kUnitLine = {at(0, 0), at(1, 1)};
const SbColor kPens[] = {kBlue, kGreen};

using Statement = PSTest;

TEST_F(Statement, LinesAndDotsWriteTheirSettingsOnlyWhenTheyChange) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    expectStatements({
        // Colours of the same hundredths are the same colour.
        {"colours",
         [](PSTestAction& a) {
             a.line(kUnitLine, SbColor(0.5f, 1.0f, 0.25f));
             a.line(kUnitLine, SbColor(0.501f, 1.0f, 0.259f));
             a.line(kUnitLine, SbColor(0.05f, 0.0f, 1.0f));
         },
         "0.5 1 0.25 gc\n1 1 0 0\n2 ppl\n1 1 0 0\n2 ppl\n0.05 0 1 gc\n1 1 0 0\n2 ppl\n"},
        // Grey documents write the luminance of a colour.
        {"grey colours",
         [](PSTestAction& a) {
             for (const SbColor& c : {kRed, kGreen, kBlue}) a.line(kUnitLine, c);
         },
         "0.3 gb\n1 1 0 0\n2 ppl\n0.59 gb\n1 1 0 0\n2 ppl\n0.11 gb\n1 1 0 0\n2 ppl\n", 3, false},
        // Width 0 counts as 1, the nominal width in force; polygons go back to it.
        {"widths",
         [](PSTestAction& a) {
             for (float width : {0.0f, 2.0f, 2.0f, 0.5f}) a.line(kUnitLine, kRed, width);
             a.fill(kTriangle, kRed);
         },
         "1 0 0 gc\n1 1 0 0\n2 ppl\n29 ep\n1 1 0 0\n2 ppl\n1 1 0 0\n2 ppl\n7 ep\n1 1 0 0\n"
         "2 ppl\n15 ep\n0 0 417 0 417 417 3 pfa\n"},
        // -2.7 + 0.5 = -2.2 gives -2, -7.6 gives -7: not what rounding or flooring give.
        {"coordinates rounded up by a half and truncated toward zero, clamped, NaN as 0",
         [=](PSTestAction& a) {
             a.line({at(-2.7f, -7.6f), at(3.4f, 4.6f), at(-0.3f, 0.49f)}, kRed);
             a.line({mm(nan, 1e12f), mm(-1e12f, 0)}, kRed);
         },
         "1 0 0 gc\n0 0 3 5 -2 -7\n3 ppl\n-2147483648 0 0 2147483647\n2 ppl\n"},
        // The last point's colour colours no segment; dot size 0 counts as 1.
        {"multicolour lines, dots of a size",
         [](PSTestAction& a) {
             const SbVec4f points[] = {at(0, 5), at(10, 7), at(10, 10)};
             const SbColor colors[] = {kRed, kRed, kBlue};
             a.printPolyLine(points, 3, colors, 1, 1.0f, 0xFFFF, 1);
             a.dots({at(10, 20), at(30, 40)}, {kBlue}, 0.0f);
             a.dots({at(10, 20), at(30, 40)}, {kGreen}, 3.0f);
             a.dots({at(1, 2), at(3, 4), at(5, 6)}, {kRed, kRed, kGreen}, 3.0f);
         },
         "1 0 0 gc\n0 5 10 7 2 ppl\n10 7 10 10 2 ppl\n0 0 1 gc\n30 40 10 20\n2 ppmp\n44 ps\n"
         "0 1 0 gc\n30 40 10 20\n2 ppmp\n1 0 0 gc\n1 2 1 ppmp\n3 4 1 ppmp\n0 1 0 gc\n5 6 1 ppmp\n"},
        // Each segment is a stroke of its own that goes on with the dashes where the one
        // before left them: 59 units further along.
        {"multicolour dashes run on from segment to segment",
         [](PSTestAction& a) {
             const SbVec4f points[] = {at(0, 0), at(59, 0), at(59, 59)};
             const SbColor colors[] = {kRed, kBlue, kBlue};
             a.printPolyLine(points, 3, colors, 1, 1.0f, 0xFF00, 1);
         },
         "[118 118 ] 118 tl\n1 0 0 gc\n0 0 59 0 2 ppl\n[118 118 ] 177 tl\n0 0 1 gc\n"
         "59 0 59 59 2 ppl\n"},
        {"primitives without points write nothing",
         [](PSTestAction& a) {
             a.line({}, kRed);
             a.fill(std::vector<SbVec4f>(), kRed);
             a.dots({}, {kRed});
         },
         ""},
        // In writing order seven points of nine characters, one of eight, one of nine: after
        // the eighth the line holds exactly 78 characters, which is not yet too long.
        {"a line of points is cut only when longer than 78 characters",
         [](PSTestAction& a) {
             a.line({at(1007, 2000), at(100, 2000), at(1006, 2000), at(1005, 2000), at(1004, 2000),
                     at(1003, 2000), at(1002, 2000), at(1001, 2000), at(1000, 2000)},
                    kRed);
         },
         "1 0 0 gc\n1000 2000 1001 2000 1002 2000 1003 2000 1004 2000 1005 2000 1006 2000 100 "
         "2000 1007 2000\n9 ppl\n"},
    });
}

// Below level 3 a pattern of more than eleven runs is cut to eleven, with a warning.
TEST_F(Statement, DashRunsAreBitLengthsWrittenWhenThePatternOrItsFactorChanges) {
    const std::string eleven = "[15 15 15 15 15 15 15 15 15 15 15 ";
    struct Case {
        unsigned short pattern;
        int factor;
        unsigned int level;  ///< 0: the document of the case before
        std::string first;   ///< the dash statement, or the points when there is none
    };
    const Case cases[] = {
        {0xFF00, 1, 2, "[118 118 ] 118 tl"},  // the offset skips the leading gap
        {0xFF00, 1, 0, "1 0 0 0"},
        {0x00FF, 1, 0, "[118 118 ] 235 tl"},
        {0x0F0F, 1, 0, "[59 59 59 59 ] 235 tl"},
        {0xFF00, 2, 0, "[235 235 ] 118 tl"},  // the factor stretches the runs, not the offset
        {0xFF00, 1, 0, "[118 118 ] 118 tl"},
        {0x0000, 2, 0, "[470 0. ] 235 tl"},  // an odd number of runs is completed by a zero
        {0xFFFF, 1, 0, "[] 0 tl"},
        {0xFFFF, 3, 0, "1 0 0 0"},  // a factor alone does not change a solid line
        {0xAAAA, 1, 1, eleven + "0. ] 147 tl"},
        {0xAAAA, 1, 2, eleven + "0. ] 147 tl"},
        {0xAAAA, 1, 3, eleven + "15 15 15 15 15 ] 220 tl"},
    };
    std::unique_ptr<PSTestAction> action;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        if (c.level) {
            action = std::make_unique<PSTestAction>(c.level);
            action->startDocument();
            action->line({at(0, 0), at(1, 0)}, kRed);
        }
        DebugErrorRecorder errors;
        action->mark();
        action->line({at(0, 0), at(1, 0)}, kRed, 1.0f, c.pattern, c.factor);
        EXPECT_EQ(action->linesSinceMark().at(0), c.first);
        const bool cut = c.pattern == 0xAAAA && c.level < 3;
        EXPECT_EQ(errors.countSeverity(SoDebugError::WARNING), cut ? 1u : 0u);
        EXPECT_EQ(errors.contains("SoVectorizePSAction::printPolyLine",
                                  "Level is " + std::to_string(c.level)),
                  cut);
    }
}

TEST_F(Statement, PolygonsTakeTheProceduresOfTheirLevel) {
    static std::vector<unsigned char> mask(128), sameContents;
    for (int i = 0; i < 128; ++i) mask[i] = static_cast<unsigned char>(i * 37 + 5);
    sameContents = mask;
    auto pattern = [](const char* color, const std::vector<unsigned char>& bytes, int index) {
        return std::string(color) + "\n15\n15\n{<" + hex(bytes, "%02x ") + ">} pcreatpat\n" +
               " /PATTERN_" + std::to_string(index) + " exch def\n";
    };
    const std::string pfap = "0 0 417 0 417 417 PATTERN_";
    expectStatements({
        {"a multicolour polygon is filled in its first colour",
         [](PSTestAction& a) {
             a.fill(kTriangle, {kRed, kGreen, kBlue});
         },
         "1 0 0 gc\n0 0 417 0 417 417 3 pfa\n"},
        // Colour and mask make the pattern, wherever the caller keeps the mask.
        {"a pattern is defined once for each colour and mask",
         [](PSTestAction& a) {
             a.fill(kTriangle, SbColor(1, 0.5f, 0.25f), mask.data());
             a.fill(kTriangle, SbColor(1, 0.5f, 0.25f), mask.data());
             a.fill(kTriangle, kBlue, sameContents.data());
             a.fill(kTriangle, kBlue, mask.data());
         },
         "1 0.5 0.25 gc\n" + pattern("1.000000 0.500000 0.250000", mask, 0) + pfap + "0 3 pfap\n" +
             pfap + "0 3 pfap\n0 0 1 gc\n" +
             pattern("0.000000 0.000000 1.000000", sameContents, 1) + pfap + "1 3 pfap\n" + pfap +
             "1 3 pfap\n"},
        {"a new document numbers its patterns afresh",
         [](PSTestAction& a) {
             a.fill(kTriangle, kBlue, mask.data());
             a.writeFooter();
             a.startDocument();
             a.fill(kTriangle, kRed, sameContents.data());
         },
         "1 0 0 gc\n" + pattern("1.000000 0.000000 0.000000", sameContents, 0) + pfap +
             "0 3 pfap\n"},
        {"level 1: with a pattern", [](PSTestAction& a) { a.fill(kTriangle, kGreen, mask.data()); },
         "0 1 0 gc\n" + pattern("0.000000 1.000000 0.000000", mask, 0) +
             "0 0 PATTERN_0 ppatbeg\n417 417 417 0\n2 ppatend\n",
         1},
        // No colour statement: the colours travel with the vertices.
        {"level 3: a multicolour quadrilateral is a smooth triangle fan",
         [](PSTestAction& a) {
             a.fill({at(0, 0), at(417, 0), at(417, 417), at(0, 417)},
                    {kRed, kGreen, kBlue, SbColor(0.5f, 0.5f, 0.5f)});
         },
         "[0 0 0 1 0 0 0 417 0 0 1 0 0 417 417 0 0 1 2 0 417 0.5 0.5 0.5 ] pfags\n", 3},
        // The fourth vertex makes the line 107 characters long; compaction leaves the number
        // at the end of a line whole.
        {"level 3: a smooth line cut after 99 characters",
         [](PSTestAction& a) {
             a.fill({at(4167, 4167), at(4168, 4167), at(4168, 4168), at(4167, 4168)},
                    {kRed, kGreen, kBlue, kGreen});
         },
         "[0 4167 4167 1 0 0 0 4168 4167 0 1 0 0 4168 4168 0 0 1 2 4167 4168 0 1 0.00\n"
         "] pfags\n",
         3},
        // Grey documents give smooth vertices only the first component.
        {"level 3 grey: smooth vertices",
         [](PSTestAction& a) {
             a.fill(kTriangle, {SbColor(0.25f, 0.9f, 0.9f), SbColor(0.5f, 0, 0), kRed});
         },
         "[0 0 0 0.25 0 417 0 0.5 0 417 417 1 ] pfags\n", 3, false},
        {"level 3: one colour fills flat", [](PSTestAction& a) { a.fill(kTriangle, kGreen); },
         "0 1 0 gc\n0 0 417 0 417 417 3 pfa\n", 3},
        // Pens take effect from the next header.
        {"level 3: with pens polygons are filled flat in a pen colour",
         [](PSTestAction& a) {
             a.setPenDescription(2, kPens);
             a.startDocument();
             a.fill(kTriangle, {SbColor(0.1f, 0.2f, 0.8f), kRed, kGreen});
         },
         "0 0 1 gc\n0 0 417 0 417 417 3 pfa\n", 3},
    });
}

TEST_F(Statement, TextTakesTheProcedureOfItsJustificationAndEscapesParentheses) {
    // (50, 60) mm is (2083, 2500) units; 12 nominal widths are 176 units.
    const std::string font12 = "0 0 0 gc\n(/Helvetica) findfont 176 scalefont setfont\n";
    expectStatements({
        // Angles in radians are written in degrees; other justifications write no text.
        {"justifications and angles",
         [](PSTestAction& a) {
             for (int justification : {1, 2, 3, 0, 4}) a.label(50, 60, "Hello", justification);
             a.label(50, 60, "a", 1, 0.5f);
             a.label(50, 60, "a", 3, 1.5707964f);
             a.label(50, 60, "a", 2, -0.5f);
         },
         font12 +
             "(Hello) 0.00 2083 2500 ltx\n2083 2500 0.00 (Hello) rtx\n2083 2500 0.00 (Hello) ctx\n"
             "(a) 28.65 2083 2500 ltx\n2083 2500 90.00 (a) ctx\n2083 2500 -28.65 (a) rtx\n"},
        {"the font is written when its name or size changes",
         [](PSTestAction& a) {
             a.label(50, 60, "a");
             a.label(50, 60, "b", 1, 0, 14);
             a.label(50, 60, "c", 1, 0, 14, SbColor(0, 0, 0), "Courier");
             a.label(50, 60, "d", 1, 0, 14, SbColor(0, 0, 0), "A) x (\\");
         },
         font12 + "(a) 0.00 2083 2500 ltx\n(/Helvetica) findfont 206 scalefont setfont\n"
                  "(b) 0.00 2083 2500 ltx\n(/Courier) findfont 206 scalefont setfont\n"
                  "(c) 0.00 2083 2500 ltx\n(/A\\) x \\(\\\\) findfont 206 scalefont setfont\n"
                  "(d) 0.00 2083 2500 ltx\n"},
        // A backslash is escaped, and a line break is a space: in the document it would start a
        // line, which spoolers read for comments. The degree sign, in Latin-1 or UTF-8, becomes
        // the ring of the standard encoding; other UTF-8 stays whole, though its second byte
        // may be the sign's (U+0430).
        {"escapes",
         [](PSTestAction& a) {
             for (const char* text :
                  {"f(x)", "a\\b", "C:\\\n%%EOF", "90\xB0", "5\xC2\xB0", "\xD0\xB0\xC2\xB0"})
                 a.label(50, 60, text);
             a.label(50, 60, "((x) y)", 2);
         },
         font12 + "(f\\(x\\)) 0.00 2083 2500 ltx\n(a\\\\b) 0.00 2083 2500 ltx\n"
                  "(C:\\\\ %%EOF) 0.00 2083 2500 ltx\n"
                  "(90\xCA) 0.00 2083 2500 ltx\n(5\xCA) 0.00 2083 2500 ltx\n"
                  "(\xD0\xB0\xCA) 0.00 2083 2500 ltx\n"
                  "2083 2500 0.00 (\\(\\(x\\) y\\)) rtx\n"},
    });
}

TEST_F(Statement, ImagesAreTheirSizesCornerAndHexRows) {
    static const std::vector<unsigned char> four = {255, 0, 0, 0, 255, 0, 0, 0, 255, 16, 32, 48};
    static std::vector<unsigned char> sixty(60);
    for (int i = 0; i < 60; ++i) sixty[i] = static_cast<unsigned char>(i * 4);
    const std::string sixtyHex = hex(sixty, "%02X");
    const std::string thirty =
        "10 1\n147 15\n2083 2500\n10\n3\nDisplayImage\n" + sixtyHex.substr(0, 60) + "\n";
    const std::string grey = "2 1\n29 15\n2083 2500\n2\n1\nDisplayImage\n12AB\n";
    expectStatements({
        // 40 x 20 printed pixels of 25.4 / 72 mm are 588 x 294 units. Alignments move the
        // corner.
        {"sizes, corner, component count and hex rows",
         [](PSTestAction& a) {
             a.image(50, 60, four, SbVec2s(2, 2), SbVec2s(40, 20), 3);
             a.image(50, 60, four, SbVec2s(2, 2), SbVec2s(40, 20), 3, SoImage::CENTER,
                     SoImage::HALF);
             a.image(50, 60, four, SbVec2s(2, 2), SbVec2s(40, 20), 3, SoImage::RIGHT, SoImage::TOP);
         },
         "2 2\n588 294\n2083 2500\n2\n3\nDisplayImage\nFF000000FF000000FF102030\n"
         "2 2\n588 294\n1789 2353\n2\n3\nDisplayImage\nFF000000FF000000FF102030\n"
         "2 2\n588 294\n1495 2206\n2\n3\nDisplayImage\nFF000000FF000000FF102030\n"},
        {"forty bytes a line, counted afresh for each image",
         [](PSTestAction& a) {
             a.image(50, 60, sixty, SbVec2s(20, 1), SbVec2s(20, 1), 3);
             a.image(50, 60, sixty, SbVec2s(10, 1), SbVec2s(10, 1), 3);
             a.image(50, 60, sixty, SbVec2s(10, 1), SbVec2s(10, 1), 3);
         },
         "20 1\n294 15\n2083 2500\n20\n3\nDisplayImage\n" + sixtyHex.substr(0, 80) + "\n" +
             sixtyHex.substr(80) + "\n" + thirty + thirty},
        {"grey, grey and alpha, and RGBA pixels",
         [](PSTestAction& a) {
             a.image(50, 60, {0x12, 0xAB}, SbVec2s(2, 1), SbVec2s(2, 1), 1);
             a.image(50, 60, {0x12, 0xFF, 0xAB, 0x00}, SbVec2s(2, 1), SbVec2s(2, 1), 2);
             a.image(50, 60, {1, 2, 3, 4, 5, 6, 7, 8}, SbVec2s(2, 1), SbVec2s(2, 1), 4);
         },
         grey + grey + "2 1\n29 15\n2083 2500\n2\n3\nDisplayImage\n010203050607\n"},
        // Grey documents truncate the luminance of colour pixels (153, 76, 150) and write no
        // component count.
        {"grey documents",
         [](PSTestAction& a) {
             a.image(50, 60, {100, 200, 50, 255, 0, 0, 0, 255, 0}, SbVec2s(3, 1), SbVec2s(3, 1), 3);
         },
         "3 1\n44 15\n2083 2500\n3\nDisplayImage\n994C96\n", 3, false},
        // The drawing is 190 x 277 mm; partly inside is enough, and the corner may be
        // negative (truncated toward zero).
        {"images without size or beside the drawing are skipped",
         [](PSTestAction& a) {
             a.image(50, 60, four, SbVec2s(2, 2), SbVec2s(40, 20), 0);
             a.image(50, 60, {}, SbVec2s(0, 0), SbVec2s(40, 20), 3);
             a.image(50, 60, four, SbVec2s(2, 2), SbVec2s(0, 20), 3);
             a.image(50, 60, four, SbVec2s(2, 2), SbVec2s(40, 0), 3);
             a.image(-30, -30, four, SbVec2s(2, 2), SbVec2s(40, 20), 3);
             a.image(200, 100, four, SbVec2s(2, 2), SbVec2s(40, 20), 3);
             a.image(100, 290, four, SbVec2s(2, 2), SbVec2s(40, 20), 3);
             a.image(-10, -5, four, SbVec2s(2, 2), SbVec2s(40, 20), 3);
         },
         "2 2\n588 294\n-416 -207\n2\n3\nDisplayImage\nFF000000FF000000FF102030\n"},
    });
}

// Marker indices beyond the built-in ones, defined by the tests themselves.
constexpr int kWideMarker = 90;  // 10 x 12: two bytes a row, six bits of padding
constexpr int kLineMarker = 91;  // 8 x 1
constexpr int kMissingMarker = 95;

TEST_F(Statement, BitmapsAreDefinedOncePerDocumentAndDrawnCentredOnTheirPoints) {
    std::vector<unsigned char> wide(24), written(24);
    for (int i = 0; i < 24; ++i) wide[i] = static_cast<unsigned char>(i * 37 + 1);
    // The bits of each second byte past the tenth column are padding: written clear.
    for (int i = 0; i < 24; ++i) written[i] = i % 2 ? wide[i] & 0xC0 : wide[i];
    const unsigned char line[] = {0x81};
    SoMarkerSet::addMarker(kWideMarker, SbVec2s(10, 12), wide.data(), false, false);
    SoMarkerSet::addMarker(kLineMarker, SbVec2s(8, 1), line, false, false);
    SoMarkerSet::removeMarker(kMissingMarker);
    const std::string hexRows = hex(written, "%02X");
    // 10 x 12 pixels of one nominal width: 147 x 176 units, the corner half of that lower
    // left of the point at (20, 30) mm. Forty digits a line.
    const std::string drawWide =
        "/currentBitmapIndex {Bitmap90} bind def\n1 0 0 gc\n147 176 760 1162 DisplayBitmap\n";
    const std::string defineWide = "/Bitmap90\n{ 10 12\n true\n [10 0 0 12 0 0]\n{<" +
                                   hexRows.substr(0, 40) + "\n" + hexRows.substr(40) +
                                   ">} imagemask\n} bind def\n";
    const std::string defineLine =
        "/Bitmap91\n{ 8 1\n true\n [8 0 0 1 0 0]\n{<81>} imagemask\n} bind def\n";
    expectStatements({
        // Each point takes its own colour; the current procedure switches with the index.
        {"indices cycle, skip undefined markers and select their procedure",
         [](PSTestAction& a) {
             a.markers(std::vector<SbVec4f>(4, mm(20, 30)),
                       {kWideMarker, kMissingMarker, kLineMarker}, {kRed, kRed, kGreen, kRed});
         },
         defineWide + drawWide + defineLine +
             "/currentBitmapIndex {Bitmap91} bind def\n0 1 0 gc\n118 15 775 1243 DisplayBitmap\n" +
             drawWide},
        {"a new document defines its bitmaps again",
         [](PSTestAction& a) {
             a.markers({mm(20, 30)}, {kWideMarker}, {kRed});
             a.writeFooter();
             a.startDocument();
             a.markers({mm(20, 30)}, {kWideMarker}, {kRed});
         },
         defineWide + drawWide},
    });
    for (int index : {kWideMarker, kLineMarker}) SoMarkerSet::removeMarker(index);
}

using Point = std::pair<long long, long long>;

/// Reads point statements as the procedure set runs them: the numbers before a procedure
/// are its operands; ppl, ppmp, level-2 pfa and pfabeg begin a point list, pfacnt and pfaend
/// continue it, each taking a count (one for pfabeg) and that many points from the top of the
/// stack down, all it was given. Gives the lists drawn and the most operands pushed at once.
std::vector<std::vector<Point>> readPoints(const std::string& text, bool level1,
                                           std::size_t& deepest) {
    std::vector<std::vector<Point>> drawn;
    std::vector<long long> operands;
    std::istringstream in(text);
    for (std::string token; in >> token;) {
        if (std::isdigit(static_cast<unsigned char>(token[0])) || token[0] == '-') {
            operands.push_back(std::stoll(token));
            continue;
        }
        deepest = std::max(deepest, operands.size());
        if (token == "pfabeg") operands.push_back(1);
        const bool begins =
            token == "ppl" || token == "ppmp" || token == "pfabeg" || (token == "pfa" && !level1);
        if (!operands.empty() && (begins || token == "pfacnt" || token == "pfaend")) {
            EXPECT_EQ(static_cast<long long>(operands.size()), 2 * operands.back() + 1) << token;
            if (begins || drawn.empty()) drawn.emplace_back();
            for (std::size_t i = operands.size() - 1; i >= 2; i -= 2)
                drawn.back().emplace_back(operands[i - 2], operands[i - 1]);
        }
        operands.clear();
    }
    return drawn;
}

TEST_F(Statement, AnyNumberOfPointsIsDrawnInOrderWithinWhatReadersTake) {
    // The procedure each point list begins with, and the level.
    const std::pair<std::string, unsigned int> kinds[] = {
        {"ppl", 2}, {"ppmp", 2}, {"pfa", 2}, {"pfabeg", 1}};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> coordinate(0, 99999), size(1, 600);
    std::vector<int> sizes = {1, 2, 99, 100, 101, 199, 200, 201, 247, 248, 249, 250, 496, 497};
    while (sizes.size() < 150) sizes.push_back(size(random));
    for (const auto& [name, level] : kinds) {
        PSTestAction action(level);
        action.startDocument();
        for (int n : sizes) {
            SCOPED_TRACE(name + " " + std::to_string(n));
            std::vector<SbVec4f> points;
            std::vector<Point> expected;
            for (int i = 0; i < n; ++i) {
                expected.emplace_back(coordinate(random), coordinate(random));
                points.push_back(at(expected.back().first, expected.back().second));
            }
            action.mark();
            if (name == "ppl")
                action.line(points, kRed);
            else if (name == "ppmp")
                action.dots(points, {kRed});
            else
                action.fill(points, kRed);
            std::size_t deepest = 0;
            const auto drawn = readPoints(action.sinceMark(), level == 1, deepest);
            // Lines stay within 255 characters; a level-1 reader holds 500 operands.
            for (const std::string& line : action.linesSinceMark()) EXPECT_LE(line.size(), 255u);
            if (name != "pfa") {
                EXPECT_LE(deepest, 500u);
            }
            ASSERT_FALSE(drawn.empty());
            // Polylines and dots are written backwards in groups, each drawn forwards and
            // starting where the next one ends; a level-2 polygon is drawn backwards.
            std::vector<Point> all = drawn.back();
            for (auto group = drawn.rbegin() + 1; group < drawn.rend(); ++group) {
                ASSERT_EQ(group->front(), all.back()) << "groups join";
                all.insert(all.end(), group->begin() + 1, group->end());
            }
            if (name == "pfa") std::reverse(all.begin(), all.end());
            EXPECT_EQ(all, expected);
        }
    }
}

}  // namespace
