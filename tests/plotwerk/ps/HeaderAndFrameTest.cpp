// The start and frame of every document: header comments and page set-up as the settings
// patch them, background, device clips, border and trailer, by direct calls and by applies.

#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoText2.h>

#include <algorithm>
#include <string>
#include <vector>

#include "plotwerk/ps/PSFixture.h"

namespace {

using Header = PSTest;
using Frame = PSTest;

TEST_F(Header, CommentsAndPageSetUpFollowTheSettings) {
    // A drawing of 150 x 100 mm at (20, 5) mm, of a level and colour kind, turned or in a
    // page at (30, 40) mm.
    auto placed = [](unsigned int level, bool colored, bool landscape, bool inPage) {
        return [=](PSTestAction& a) {
            a.getPSVectorOutput()->setLevel(level);
            a.getPSVectorOutput()->setColored(colored ? 1 : 0);
            a.setStartPosition(20.0f, 5.0f);
            a.setDrawingDimensions(150.0f, 100.0f);
            if (landscape) a.setOrientation(SoVectorizeAction::LANDSCAPE);
            if (inPage) a.beginPage(SbVec2f(30.0f, 40.0f), SbVec2f(210, 297));
        };
    };
    auto styles = [](int end, int join, float miter) {
        return [=](PSTestAction& a) {
            a.setLineEndStyle(static_cast<SoVectorizeAction::EndLineStyle>(end));
            a.setLineJoinsStyle(static_cast<SoVectorizeAction::JoinLineStyle>(join));
            a.setMiterLimit(miter);
        };
    };
    const std::string rest = "15 ps\n15 ep\n[] 0 tl\n417 417 translate\n",
                      turn = "208 833 translate\n90 rotate\n0 -4167 translate\n",
                      turned = "%%Orientation: Landscape";
    // The default drawing is 190 x 277 mm; a page's box is the page.
    struct Case {
        const char* name;
        Draw setUp;
        std::string end;  ///< the last lines of the page set-up
        const char* adobe = "2.0";
        const char* box = " 538  785";
        std::string afterBox = "%%" + std::string(22, ' ');
    };
    const Case cases[] = {
        {"defaults", [](PSTestAction&) {},
         "0.068031 0.068031 scale\n/linecap 0 def\nlinecap setlinecap\n2 setlinejoin\n"
         "1.50 setmiterlimit\n" +
             rest},
        {"square ends", styles(1, 1, 2.25f),
         "/linecap 2 def\nlinecap setlinecap\n0 setlinejoin\n2.25 setmiterlimit\n" + rest},
        {"round ends", styles(2, 2, 10.0f),
         "/linecap 1 def\nlinecap setlinecap\n0 setlinejoin\n10.00 setmiterlimit\n" + rest},
        {"fourth styles", styles(3, 3, 1.0f),
         "/linecap 1 def\nlinecap setlinecap\n2 setlinejoin\n1.00 setmiterlimit\n" + rest},
        // A unit of 0.24 mm: the nominal width becomes 1 unit, the start position 42.
        {"accuracy", [](PSTestAction& a) { a.getPSVectorOutput()->setNumericAccuracyFactor(1); },
         "0.680315 0.680315 scale\n/linecap 0 def\nlinecap setlinecap\n2 setlinejoin\n"
         "1.50 setmiterlimit\n1 ps\n1 ep\n[] 0 tl\n42 42 translate\n"},
        {"an accuracy finer than the finest, refused",
         [](PSTestAction& a) {
             a.getPSVectorOutput()->setNumericAccuracyFactor(SoPSVectorOutput::kFinestAccuracy / 2);
         },
         rest},
        {"nominal width", [](PSTestAction& a) { a.setNominalWidth(0.5f); },
         "21 ps\n21 ep\n[] 0 tl\n417 417 translate\n"},
        {"a box wider than four digits",
         [](PSTestAction& a) { a.setDrawingDimensions(5000.0f, 5000.0f); }, rest, "2.0",
         "14173 14173"},
        {"start position", placed(2, true, false, false), "[] 0 tl\n833 208 translate\n", "2.0",
         " 425  283"},
        {"page position", placed(2, true, false, true), "[] 0 tl\n1250 1667 translate\n", "2.0",
         " 595  841"},
        // Only level-3 readers are told of a landscape drawing; the set-up turns it anyway.
        {"landscape", placed(2, true, true, false), turn, "2.0", " 425  283"},
        {"level 3 landscape", placed(3, true, true, false), turn, "3.0", " 425  283", turned},
        {"level 3 grey landscape", placed(3, false, true, false), turn, "3.0", " 425  283",
         "%%EndComments"},
        {"level 3 landscape page", placed(3, true, true, true),
         "1667 1250 translate\n90 rotate\n0 -12375 translate\n", "3.0", " 595  841", turned},
        {"level 0 is level 1", placed(0, true, false, false), "833 208 translate\n", "1.0",
         " 425  283"},
        {"level 9 is level 3", placed(9, true, false, false), "833 208 translate\n", "3.0",
         " 425  283"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PSTestAction action;
        c.setUp(action);
        action.writeHeader();
        const std::vector<std::string> lines = action.linesSinceMark();
        ASSERT_GT(lines.size(), 5u);
        EXPECT_EQ(lines[0], std::string("%!PS-Adobe-") + c.adobe);
        EXPECT_EQ(lines[3], std::string("%%BoundingBox: 0 0 ") + c.box);
        EXPECT_EQ(lines[4], c.afterBox);
        const std::string text = action.text();
        ASSERT_GT(text.size(), c.end.size());
        EXPECT_EQ(text.substr(text.size() - c.end.size()), c.end);
    }
}

/// The clip path of a rectangle in drawing units.
std::string clipPath(int x0, int y0, int x1, int y1) {
    auto xy = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y); };
    return "newpath\n" + xy(x0, y0) + " moveto\n" + xy(x1, y0) + " lineto\n" + xy(x1, y1) +
           " lineto\n" + xy(x0, y1) + " lineto\n" + xy(x0, y0) +
           " lineto\nclosepath\ngsave\nclip\n";
}

// The default drawing, 190 x 277 mm, is 7917 x 11542 units. Outside an apply no device clip
// is in force, so the border has no clip save to close first.
const std::string kClip = clipPath(0, 0, 7917, 11542);
const std::string kOutline = "0 0 0 11542 7917 11542 7917 0 0 0\n5 ppl\n";
const std::string kBackground = "0 0 7917 0 7917 11542 0 11542 4 pfa\n";

TEST_F(Frame, BorderAndBackgroundFollowTheSettings) {
    expectStatements({
        // Two nominal widths (29 units); the white border colour is swapped to black.
        {"default border", [](PSTestAction& a) { a.printBorder(); },
         kClip + "29 ep\n0 0 0 gc\n" + kOutline + "grestore\n"},
        // The nominal width is already in force: no width statement.
        {"border of one width in red",
         [](PSTestAction& a) {
             a.setBorder(1.0f, SbColor(1, 0, 0));
             a.printBorder();
         },
         kClip + "1 0 0 gc\n" + kOutline + "grestore\n"},
        // No background by default; the colour is translated too: black becomes white.
        {"backgrounds",
         [](PSTestAction& a) {
             a.printBackground();
             a.setBackgroundColor(1, SbColor(0, 0, 1));
             a.printBackground();
             a.setBackgroundColor(1, SbColor(0, 0, 0));
             a.printBackground();
         },
         "0 0 1 gc\n" + kBackground + "1 1 1 gc\n" + kBackground},
        {"inside a page the drawing is shifted and saved twice",
         [](PSTestAction& a) {
             a.beginPage(SbVec2f(0, 0), SbVec2f(210, 297));
             a.setBorder(0.0f);
             a.setBackgroundColor(1, SbColor(1, 0, 0));
             a.startDocument();
             a.printBackground();
             a.printBorder();
             a.endPage();
         },
         "gsave\n417 417 translate\n1 0 0 gc\n" + kBackground + kClip +
             "grestore\ngrestore\nshowpage\n"},
    });
}

// In an apply each viewport sets its clip. The font belongs to the saved graphics state, so
// a restore takes it away; the border closes the clip in force before it sets its own.
TEST_F(Frame, EachViewportChangeRestoresThePreviousClipAndTheFontGoesWithIt) {
    auto* font = new SoFont;
    font->size.setValue(10.0f);
    auto text = [](const char* string) {
        auto* node = new SoText2;
        node->string.setValue(string);
        return node;
    };
    // A camera that crops the viewport to half its width: x from 25 to 75 mm.
    auto* cropped = new SoSeparator;
    SoOrthographicCamera* narrow = sceneCamera();
    narrow->aspectRatio.setValue(0.5f);
    narrow->viewportMapping.setValue(SoCamera::CROP_VIEWPORT_NO_FRAME);
    cropped->addChild(narrow);
    cropped->addChild(text("b"));
    PSTestAction action;
    action.setBorder(0.0f);
    applyScene(action, {font, text("a"), cropped, text("c")});

    // 100 x 100 mm is 4167 units, the cropped viewport 1042 to 3125; 10 nominal widths are
    // 147 units. The first clip restores nothing.
    const std::string full = clipPath(0, 0, 4167, 4167), sets = "findfont 147 scalefont setfont\n";
    const std::string all = action.text();
    std::size_t at = 0;
    for (const std::string& part :
         {"417 417 translate\n" + full, sets, "grestore\n" + clipPath(1042, 0, 3125, 4167), sets,
          "grestore\n" + full, sets, "grestore\n" + full + "grestore\nshowpage\n"}) {
        at = all.find(part, at);
        ASSERT_NE(at, std::string::npos) << part;
    }
    const std::vector<std::string> lines = action.linesSinceMark();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "grestore"), 4);
}

}  // namespace
