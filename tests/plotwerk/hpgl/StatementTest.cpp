// What each primitive writes, byte for byte: polylines as encoded steps that carry their
// fractions, polygons in polygon mode, dots in symbol mode, labels in Latin-1 or UTF-16, and
// pens, widths, line types and label settings written only when they change. Images,
// per-point colours of polygons and fill patterns are left out: plotters cannot draw them.

#include <Tessara/misc/SoPreferences.h>

#include <cmath>
#include <tuple>

#include "plotwerk/hpgl/HPGLFixture.h"

namespace {

const SbColor red(1, 0, 0);
const SbColor white(1, 1, 1);
const SbColor black(0, 0, 0);
const std::vector<SbVec4f> kSegment = {mm(0, 0), mm(1, 0)};

/// A red polyline of one nominal width, with the pen and width it selects first.
std::string redLine(const std::string& encoded) {
    return "PW0.352778PE:?\xC6<=" + encoded + ";\n";
}

TEST_F(HPGLTest, EachPrimitiveWritesItsEncodedStatements) {
    // The first point is absolute, the others relative steps, each taking the fraction that
    // the truncation of the one before left.
    expectWritten({
        {"one-digit and two-digit steps of either sign",
         [](HPGLTestAction& a) {
             a.line({mm(0, 0), mm(1, 0), mm(1, 1), mm(0, 0)}, red);
         },
         redLine("\xBF\xBFO\xC0\xBF\xBFO\xC0P\xC0P\xC0")},
        // 1/64 mm apart, 0.625 plotter units: whole units are reached at the 2nd, 4th, 5th
        // and 7th point, and the drawing ends at 4 units, the truncated 4.375.
        {"steps shorter than a unit",
         [](HPGLTestAction& a) {
             std::vector<SbVec4f> points;
             for (int k = 0; k <= 7; ++k) points.push_back(mm(k / 64.0f, 0));
             a.line(points, red);
         },
         redLine("\xBF\xBF\xC1\xBF\xC1\xBF\xC1\xBF\xC1\xBF")},
        {"-2.5 and -42.5 truncate toward zero; the step takes the exact remainder",
         [](HPGLTestAction& a) {
             a.line({mm(-0.0625f, -1.0625f), mm(0, 0)}, red);
         },
         redLine("\xC4T\xC0\xC3S\xC0")},
        {"beyond what an int holds, the largest and smallest int in six digits",
         [](HPGLTestAction& a) { a.line({mm(1e8f, -1e8f)}, red); },
         redLine("}~~~~\xC2@\x3F\x3F\x3F\x3F\xC3")},
        // Near colours share a pen; the width is the line width in points times the nominal
        // width, and width 0 counts as 1.
        {"pen and width are written when they change",
         [](HPGLTestAction& a) {
             a.line(kSegment, red, 0.0f);
             a.line(kSegment, SbColor(0.99f, 0.1f, 0.2f), 1.0f);
             a.line(kSegment, white, 3.0f);
             a.setNominalWidth(0.5f);
             a.line(kSegment, white, 3.0f);
         },
         "PW0.352778PE:?\xC6<=\xBF\xBFO\xC0\xBF;\nPE<=\xBF\xBFO\xC0\xBF;\n"
         "PW1.058333PE:}\xC6<=\xBF\xBFO\xC0\xBF;\nPW1.500000PE<=\xBF\xBFO\xC0\xBF;\n"},
        {"nothing to draw writes nothing; without colours a primitive is black",
         [](HPGLTestAction& a) {
             const SbVec4f points[2] = {mm(0, 0), mm(1, 0)};
             a.printPolyLine(nullptr, 3, &red, 0, 1.0f, 0xFFFF, 1);
             a.printPolyLine(points, 0, &red, 0, 1.0f, 0xFFFF, 1);
             a.printPolygon(points, 0, &red, 0, "", "", nullptr);
             a.printPolyMark(points, 0, &red, 0, 1.0f);
             a.printPolyLine(points, 2, nullptr, 0, 1.0f, 0xFFFF, 1);
         },
         "PW0.352778PE:\xBF<=\xBF\xBFO\xC0\xBF;\n"},
        // Polygons and polylines share the pen.
        {"a polygon is an encoded outline filled in polygon mode",
         [](HPGLTestAction& a) {
             a.fill({mm(0, 0), mm(1, 0), mm(1, 1), mm(0, 1)}, red);
             a.fill({mm(2, 0), mm(3, 0), mm(3, 1)}, red);
             a.line(kSegment, red);
         },
         "SP224PU0,0PMPEO\xC0\xBF\xBFO\xC0P\xC0\xBF;PM2FP\nPU80,0PMPEO\xC0\xBF\xBFO\xC0;PM2FP\n"
         "PW0.352778PE<=\xBF\xBFO\xC0\xBF;\n"},
        {"the background is the drawing filled in its colour, when there is one",
         [](HPGLTestAction& a) {
             a.setDrawingDimensions(1.0f, 1.0f);
             a.setBackgroundColor(1, red);
             a.printBackground();
             a.setBackgroundColor(0);
             a.printBackground();
         },
         "SP224PU0,0PMPEO\xC0\xBF\xBFO\xC0P\xC0\xBF;PM2FP\n"},
        // Marks are the symbol '.' plotted at each point; a change of pen starts a new list.
        {"dots and markers are symbols plotted at each point",
         [](HPGLTestAction& a) {
             const std::vector<SbVec4f> points = {mm(1, 2), mm(3, 4.01f), mm(5, 6), mm(7, 8)};
             a.printPolyMark(points.data(), 4, &red, 0, static_cast<SoMarkerSet*>(nullptr));
             a.dots(points, {red, red, white, red});
         },
         "SP224PUSM.PA40,80,120,160,200,240,280,320SM;\n"
         "PUSM.PA40,80,120,160SP255PUSM.PA200,240SP224PUSM.PA280,320SM;\n"},
        // The font name is not written. Left, right and centre put the label's start, end or
        // middle at its position.
        {"font, origin and direction are written when they change",
         [](HPGLTestAction& a) {
             const float angle = static_cast<float>(M_PI / 6.0);
             a.label(10, 20, "a", 1, angle);
             a.label(0, 0, "b", 1, angle);
             a.label(0, 0, "c", 1, 0.0f);
             a.printText2(mm(0, 0), black, "Courier", 12.0f, "d", 1, 0.0f);
             a.printText2(mm(0, 0), black, "Courier", 7.5f, "e", 3, 0.0f);
             a.label(0, 0, "f", 2, 0.0f, 7.5f, black, "Courier");
             a.label(0, 0, "g", 0, 0.0f, 7.5f, black, "Courier");
         },
         "SP0SD2,1,4,12.00SSLO1PU\nDI0.866025,0.500000\nPA400,800LBa\x03\n"
         "PU\nPA0,0LBb\x03\nPU\nDI1.000000,0.000000\nPA0,0LBc\x03\n"
         "SD2,1,4,12.00SSPU\nPA0,0LBd\x03\nSD2,1,4,7.50SSLO4PU\nPA0,0LBe\x03\n"
         "LO7PU\nPA0,0LBf\x03\nLO0PU\nPA0,0LBg\x03\n"},
        // "90° été", then "€1" and U+1F642: UTF-16 high byte first.
        {"label text is Latin-1 where it can be, else UTF-16",
         [](HPGLTestAction& a) {
             a.label(0, 0, "90\xC2\xB0 \xC3\xA9t\xC3\xA9");
             a.label(0, 0,
                     "\xE2\x82\xAC"
                     "1\xF0\x9F\x99\x82");
         },
         "SP0SD2,1,4,12.00SSLO1PU\nPA0,0LB90\xB0 \xE9t\xE9\x03\nPU\nPA0,0LB" +
             std::string("\x20\xAC\x00\x31\xD8\x3D\xDE\x42\x03\n", 10)},
        // A terminator or an escape in the text would end the label or HP-GL/2 itself, and
        // plot what follows as commands.
        {"control characters in a label print as spaces",
         [](HPGLTestAction& a) {
             a.label(0, 0, "a\x03IN;\x1B%0A");
             a.label(0, 0, "\xE2\x82\xAC\n");
         },
         "SP0SD2,1,4,12.00SSLO1PU\nPA0,0LBa IN; %0A\x03\nPU\nPA0,0LB" +
             std::string("\x20\xAC\x00 \x03\n", 6)},
        // A new plot starts from the plotter's defaults, so every setting is written again.
        {"the header forgets the previous plot's settings",
         [](HPGLTestAction& a) {
             a.label(0, 0, "a", 1, 0.5f);
             a.line(kSegment, red, 2.0f, 0xFF00, 2);
             a.writeFooter();
             a.startDocument();
             a.line(kSegment, red, 2.0f, 0xFF00, 2);
             a.label(0, 0, "b", 1, 0.0f);
         },
         "UL8,90.31 ,90.31 LT8,10.12,1\nPW0.705556PE:?\xC6<=\xBF\xBFO\xC0\xBF;\n"
         "SP0SD2,1,4,12.00SSLO1PU\nPA0,0LBb\x03\n"},
    });
}

// Dashes become a user line type of the pattern's runs, each pattern bit the pattern size
// (16 points) times the factor. A line type is written only when it changes; a factor means
// nothing to a solid line.
TEST_F(HPGLTest, LineTypesAreThePatternRunsWrittenWhenTheyChange) {
    startAtCorner();
    const std::tuple<unsigned short, int, std::string> steps[] = {
        {0xFF00, 1, "UL8,45.16 ,45.16 LT8,5.06,1\n"},
        {0xFF00, 1, "PE<="},
        {0x00F0, 1, "UL8,22.58 ,67.73 LT8,5.06,1\n"},
        {0xFFFF, 1, "LTPE<="},
        {0xFFFF, 3, "PE<="},
        {0x0FF0, 2, "UL8,90.31 ,90.31 LT8,10.12,1\n"},
        {0x0FF0, 1, "UL8,45.16 ,45.16 LT8,5.06,1\n"},
    };
    for (const auto& [pattern, factor, expected] : steps) {
        action->mark();
        action->line(kSegment, red, 1.0f, pattern, factor);
        EXPECT_EQ(action->sinceMark().substr(0, expected.size()), expected)
            << std::hex << pattern << " x" << factor;
    }
    // Older plot readers took the pattern length in points rather than in hundredths of an
    // inch; the last line type above is the same as 0xFF00's.
    SoPreferences::setValue("VXN_COMPAT_HPGL_PLOTWERK_370", "1");
    action->line(kSegment, red, 1.0f, 0xF0F0);
    SoPreferences::setValue("VXN_COMPAT_HPGL_PLOTWERK_370", "0");
    action->line(kSegment, red, 1.0f, 0xFF00);
    SoPreferences::removeValue("VXN_COMPAT_HPGL_PLOTWERK_370");
    const std::vector<HPGLPolyline> lines = decoded().polylines;
    ASSERT_EQ(lines.size(), std::size(steps) + 2);
    EXPECT_NEAR(lines[6].lineType.length / lines[7].lineType.length, 2.54, 0.01);
    EXPECT_EQ(lines[8].lineType.length, lines[6].lineType.length);
}

}  // namespace
