// Polygons in polygon mode, dots in symbol mode, and labels. Images, per-point colours of
// polygons and fill patterns are left out: plotters have no way to draw them.

#include <cmath>

#include "plotwerk/hpgl/HPGLFixture.h"

namespace {

const SbColor red(1, 0, 0);
const SbColor white(1, 1, 1);
const SbColor black(0, 0, 0);

// Polygons and polylines share the pen.
TEST_F(HPGLTest, APolygonIsAnEncodedOutlineFilledInPolygonMode) {
    startAtCorner();
    action->fill({mm(0, 0), mm(1, 0), mm(1, 1), mm(0, 1)}, red);
    EXPECT_EQ(action->sinceMark(), "SP224PU0,0PMPEO\xC0\xBF\xBFO\xC0P\xC0\xBF;PM2FP\n");
    action->mark();
    action->fill({mm(2, 0), mm(3, 0), mm(3, 1)}, red);
    EXPECT_EQ(action->sinceMark(), "PU80,0PMPEO\xC0\xBF\xBFO\xC0;PM2FP\n");
    action->mark();
    action->line({mm(0, 0), mm(1, 0)}, red);
    EXPECT_EQ(action->sinceMark(), "PW0.352778PE<=\xBF\xBFO\xC0\xBF;\n");
}

// Marks are the symbol '.' plotted at each point; a change of pen starts a new list.
TEST_F(HPGLTest, DotsAndMarkersAreSymbolsPlottedAtEachPoint) {
    startAtCorner();
    const std::vector<SbVec4f> points = {mm(1, 2), mm(3, 4.01f), mm(5, 6), mm(7, 8)};
    action->printPolyMark(points.data(), 4, &red, 0, static_cast<SoMarkerSet*>(nullptr));
    action->dots(points, {red, red, white, red});
    EXPECT_EQ(action->sinceMark(),
              "SP224PUSM.PA40,80,120,160,200,240,280,320SM;\n"
              "PUSM.PA40,80,120,160SP255PUSM.PA200,240SP224PUSM.PA280,320SM;\n");
}

// Font, origin and direction are written again only when they change; the font name is
// not written. Left, right and centre put the label's start, end or middle at its position.
TEST_F(HPGLTest, LabelSettingsAreWrittenWhenTheyChange) {
    startAtCorner();
    const float angle = static_cast<float>(M_PI / 6.0);
    action->label(10, 20, "a", 1, angle);
    action->label(0, 0, "b", 1, angle);
    action->label(0, 0, "c", 1, 0.0f);
    action->printText2(mm(0, 0), black, "Courier", 12.0f, "d", 1, 0.0f);
    action->printText2(mm(0, 0), black, "Courier", 7.5f, "e", 3, 0.0f);
    action->label(0, 0, "f", 2, 0.0f, 7.5f, black, "Courier");
    action->label(0, 0, "g", 0, 0.0f, 7.5f, black, "Courier");
    EXPECT_EQ(action->sinceMark(),
              "SP0SD2,1,4,12.00SSLO1PU\nDI0.866025,0.500000\nPA400,800LBa\x03\n"
              "PU\nPA0,0LBb\x03\n"
              "PU\nDI1.000000,0.000000\nPA0,0LBc\x03\n"
              "SD2,1,4,12.00SSPU\nPA0,0LBd\x03\n"
              "SD2,1,4,7.50SSLO4PU\nPA0,0LBe\x03\n"
              "LO7PU\nPA0,0LBf\x03\n"
              "LO0PU\nPA0,0LBg\x03\n");
}

// Text Latin-1 can hold is written in it; other text as UTF-16, high byte first.
TEST_F(HPGLTest, LabelTextIsLatin1OrElseUtf16) {
    const std::pair<const char*, std::string> cases[] = {
        {"90\xC2\xB0 \xC3\xA9t\xC3\xA9", "LB90\xB0 \xE9t\xE9\x03\n"},  // "90° été"
        {"\xE2\x82\xAC"
         "1\xF0\x9F\x99\x82",  // "€1" and U+1F642
         std::string("LB\x20\xAC\x00\x31\xD8\x3D\xDE\x42\x03\n", 12)},
    };
    startAtCorner();
    for (const auto& c : cases) {
        action->mark();
        action->label(0, 0, c.first);
        const std::string text = action->sinceMark();
        EXPECT_EQ(text.substr(text.find("LB")), c.second);
    }
}

}  // namespace
