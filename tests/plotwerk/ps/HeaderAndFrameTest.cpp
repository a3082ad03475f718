// The start and frame of every document: header comments and page set-up as the settings
// patch them, background, device clips, border and trailer, by direct calls and by applies.

#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoText2.h>

#include <string>
#include <vector>

#include "plotwerk/ps/PSFixture.h"

namespace {

using Header = PSTest;
using Frame = PSTest;

TEST_F(Header, HeaderCommentsFollowTheLevelPageAndOrientation) {
    const std::string blank = "%%" + std::string(22, ' '), turned = "%%Orientation: Landscape",
                      end = "%%EndComments";
    struct Case {
        unsigned int level;
        bool colored, landscape, inPage;
        float width, height;
        const char* adobe;
        const char* box;
        const std::string& afterBox;
    };
    // One action writes all of them: each document patches a fresh copy of the header.
    const Case cases[] = {
        {3, true, true, false, 100, 50, "3.0", " 283  141", turned},
        {2, true, true, false, 100, 50, "2.0", " 283  141", blank},
        {1, true, true, false, 100, 50, "1.0", " 283  141", blank},
        {3, true, false, false, 5000, 5000, "3.0", "14173 14173", blank},
        {3, true, true, true, 100, 50, "3.0", " 595  841", turned},
        {3, false, true, false, 100, 50, "3.0", " 283  141", end},
        {0, true, false, false, 100, 50, "1.0", " 283  141", blank},
        {9, true, false, false, 100, 50, "3.0", " 283  141", blank},
    };
    PSTestAction action;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.adobe) + c.box);
        action.getPSVectorOutput()->setLevel(c.level);
        action.getPSVectorOutput()->setColored(c.colored);
        action.setOrientation(c.landscape ? SoVectorizeAction::LANDSCAPE
                                          : SoVectorizeAction::PORTRAIT);
        action.setDrawingDimensions(c.width, c.height);
        if (c.inPage) action.beginPage(SbVec2f(0, 0), SbVec2f(210, 297));
        action.mark();
        action.writeHeader();
        const std::vector<std::string> lines = action.linesSinceMark();
        ASSERT_GT(lines.size(), 5u);
        EXPECT_EQ(lines[0], std::string("%!PS-Adobe-") + c.adobe);
        EXPECT_EQ(lines[3], std::string("%%BoundingBox: 0 0 ") + c.box);
        EXPECT_EQ(lines[4], c.afterBox);
        if (c.inPage) action.endPage();
    }
}

TEST_F(Header, PageSetUpFollowsTheSettings) {
    auto styles = [](int end, int join, float miter) {
        return [=](PSTestAction& a) {
            a.setLineEndStyle(static_cast<SoVectorizeAction::EndLineStyle>(end));
            a.setLineJoinsStyle(static_cast<SoVectorizeAction::JoinLineStyle>(join));
            a.setMiterLimit(miter);
        };
    };
    auto placed = [](bool landscape, bool inPage) {
        return [=](PSTestAction& a) {
            a.setStartPosition(20.0f, 5.0f);
            a.setDrawingDimensions(150.0f, 100.0f);
            if (landscape) a.setOrientation(SoVectorizeAction::LANDSCAPE);
            if (inPage) a.beginPage(SbVec2f(30.0f, 40.0f), SbVec2f(210, 297));
        };
    };
    const std::string rest = "15 ps\n15 ep\n[] 0 tl\n417 417 translate\n";
    // Each case gives the end of the header: the last lines of the page set-up.
    const Statements cases[] = {
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
        {"nominal width", [](PSTestAction& a) { a.setNominalWidth(0.5f); },
         "21 ps\n21 ep\n[] 0 tl\n417 417 translate\n"},
        {"start position", placed(false, false), "[] 0 tl\n833 208 translate\n"},
        {"page position", placed(false, true), "[] 0 tl\n1250 1667 translate\n"},
        {"landscape", placed(true, false), "208 833 translate\n90 rotate\n0 -4167 translate\n"},
    };
    for (const Statements& c : cases) {
        SCOPED_TRACE(c.name);
        PSTestAction action;
        c.draw(action);
        action.writeHeader();
        const std::string text = action.text();
        ASSERT_GT(text.size(), c.expected.size());
        EXPECT_EQ(text.substr(text.size() - c.expected.size()), c.expected);
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
        {"no border width: only the clip",
         [](PSTestAction& a) {
             a.setBorder(0.0f);
             a.printBorder();
         },
         kClip + "grestore\n"},
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
    const std::string full = clipPath(0, 0, 4167, 4167), fonts = "findfont 147 scalefont setfont\n";
    const std::string all = action.text();
    const std::size_t first = all.find("417 417 translate\n" + full);
    const std::size_t second = all.find("grestore\n" + clipPath(1042, 0, 3125, 4167), first);
    const std::size_t third = all.find("grestore\n" + full, second);
    const std::size_t border = all.find("grestore\n" + full + "grestore\nshowpage\n", third + 1);
    EXPECT_TRUE(first < second && second < third && third < border && border != std::string::npos);
    EXPECT_EQ(count(all, fonts), 3u);
    EXPECT_EQ(count(all, "\ngrestore\n"), 4u);
}

}  // namespace
