// The frame around the drawing: background, device clips, border and trailer, written by
// direct calls and by whole applies.

#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoText2.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "plotwerk/ps/PSScene.h"

namespace {

using Lines = std::vector<std::string>;

/// The index where `block` starts in `lines` at or after `from`; -1 when absent.
int findBlock(const Lines& lines, const Lines& block, std::size_t from = 0) {
    if (block.empty() || lines.size() < block.size()) return -1;
    for (std::size_t i = from; i + block.size() <= lines.size(); ++i) {
        if (std::equal(block.begin(), block.end(), lines.begin() + i)) return static_cast<int>(i);
    }
    return -1;
}

int countLines(const Lines& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

/// The clip path of a rectangle in drawing units, as setHardwareClip and printBorder write it.
Lines clipPath(int x0, int y0, int x1, int y1) {
    auto xy = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y); };
    return {"newpath",
            xy(x0, y0) + " moveto",
            xy(x1, y0) + " lineto",
            xy(x1, y1) + " lineto",
            xy(x0, y1) + " lineto",
            xy(x0, y0) + " lineto",
            "closepath",
            "gsave",
            "clip"};
}

Lines concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The default drawing, 190 x 277 mm, is 7917 x 11542 units. Outside an apply no device clip
// is in force, so the border has no clip save to close first.
const Lines kDefaultBorderClip = clipPath(0, 0, 7917, 11542);

using DocumentFrame = PSTest;

TEST_F(DocumentFrame, BorderClipsToTheDrawingAndStrokesItsOutline) {
    startDocument();
    action->printBorder();
    // Width 2 nominal widths (29 units); the white border colour is swapped to black.
    const Lines expected =
        concat(kDefaultBorderClip,
               {"29 ep", "0 0 0 gc", "0 0 0 11542 7917 11542 7917 0 0 0", "5 ppl", "grestore"});
    expectSameLines(lines(), expected);
}

TEST_F(DocumentFrame, BorderWidthAndColourFollowTheSettings) {
    // The nominal width is already in force: no width statement.
    action->setBorder(1.0f, SbColor(1, 0, 0));
    startDocument();
    action->printBorder();
    expectSameLines(lines(),
                    concat(kDefaultBorderClip,
                           {"1 0 0 gc", "0 0 0 11542 7917 11542 7917 0 0 0", "5 ppl", "grestore"}));
    // No width: only the clip.
    action->setBorder(0.0f);
    action->mark();
    action->printBorder();
    expectSameLines(lines(), concat(kDefaultBorderClip, {"grestore"}));
}

TEST_F(DocumentFrame, BackgroundIsAFilledRectangleOverTheDrawing) {
    action->printBackground();
    EXPECT_EQ(action->text(), "") << "disabled by default";

    action->setBackgroundColor(1, SbColor(0, 0, 1));
    startDocument();
    action->printBackground();
    expectSameLines(lines(), {"0 0 1 gc", "0 0 7917 0 7917 11542 0 11542 4 pfa"});

    // The background colour goes through the colour translation: black becomes white.
    action->setBackgroundColor(1, SbColor(0, 0, 0));
    action->mark();
    action->printBackground();
    expectSameLines(lines(), {"1 1 1 gc", "0 0 7917 0 7917 11542 0 11542 4 pfa"});
}

TEST_F(DocumentFrame, InsideAPageTheDrawingIsShiftedAndSavedTwice) {
    action->beginPage(SbVec2f(0, 0), SbVec2f(210, 297));
    action->setBorder(0.0f);
    startDocument();
    action->printBackground();
    EXPECT_EQ(action->sinceMark(), "gsave\n417 417 translate\n");

    action->setBackgroundColor(1, SbColor(1, 0, 0));
    action->mark();
    action->printBackground();
    expectSameLines(
        lines(), {"gsave", "417 417 translate", "1 0 0 gc", "0 0 7917 0 7917 11542 0 11542 4 pfa"});

    action->mark();
    action->printBorder();
    expectSameLines(lines(), concat(kDefaultBorderClip, {"grestore", "grestore"}));
    action->endPage();
}

class FramedApply : public PSScene {
  protected:
    SoSeparator* lineAt(float y) {
        return shape(SbColor(0, 0, 0), {SbVec3f(-0.5f, y, 0), SbVec3f(0.5f, y, 0)}, new SoLineSet);
    }
    /// A camera that crops the viewport to half its width (x from 25 to 75 mm).
    static SoSeparator* cropped(SoNode* child) {
        auto* sep = new SoSeparator;
        SoOrthographicCamera* narrow = camera();
        narrow->aspectRatio.setValue(0.5f);
        narrow->viewportMapping.setValue(SoCamera::CROP_VIEWPORT_NO_FRAME);
        sep->addChild(narrow);
        sep->addChild(child);
        return sep;
    }
};

TEST_F(FramedApply, EachViewportChangeRestoresThePreviousClip) {
    root->addChild(lineAt(0.5f));
    root->addChild(cropped(lineAt(0.0f)));
    root->addChild(lineAt(-0.5f));
    action->apply(root);
    const Lines all = splitLines(action->text());

    // 100 x 100 mm is 4167 units; the cropped viewport runs from 1042 to 3125.
    const Lines full = clipPath(0, 0, 4167, 4167);
    const int first = findBlock(all, full);
    ASSERT_GT(first, 0);
    EXPECT_EQ(all[first - 1], "417 417 translate") << "the first clip restores nothing";
    const int second = findBlock(all, concat({"grestore"}, clipPath(1042, 0, 3125, 4167)), first);
    EXPECT_GT(second, first);
    const int third = findBlock(all, concat({"grestore"}, full), second);
    EXPECT_GT(third, second);
    EXPECT_EQ(countLines(all, "grestore"), 4) << "two clip changes and the border's two";
}

TEST_F(FramedApply, TheFontIsWrittenAgainAfterAClipRestore) {
    auto* font = new SoFont;
    font->name.setValue("Helvetica");
    font->size.setValue(10.0f);
    root->addChild(font);
    auto* first = new SoText2;
    first->string.setValue("a");
    root->addChild(first);
    auto* second = new SoText2;
    second->string.setValue("b");
    root->addChild(cropped(second));
    action->apply(root);
    const Lines all = splitLines(action->text());
    // 10 nominal widths = 3.53 mm = 147 units, once per clip.
    EXPECT_EQ(countLines(all, "(/Helvetica) findfont 147 scalefont setfont"), 2);
}

TEST_F(FramedApply, AnEmptySceneIsAWholeDocument) {
    action->apply(root);
    const Lines all = splitLines(action->text());
    ASSERT_GT(all.size(), 20u);
    EXPECT_EQ(all.front(), "%!PS-Adobe-2.0");
    EXPECT_EQ(all[3], "%%BoundingBox: 0 0  283  283");
    // No viewport was met, so no clip was saved: the border follows the set-up directly,
    // without a restore that would undo the set-up. KEEP_COLORS leaves the border white.
    const Lines tail = concat(
        concat({"417 417 translate"}, clipPath(0, 0, 4167, 4167)),
        {"29 ep", "1 1 1 gc", "0 0 0 4167 4167 4167 4167 0 0 0", "5 ppl", "grestore", "showpage"});
    ASSERT_GE(all.size(), tail.size());
    expectSameLines(Lines(all.end() - static_cast<long>(tail.size()), all.end()), tail);
}

TEST_F(FramedApply, AppliesAreDocumentsOfTheirOwnUnlessInsideAPage) {
    root->addChild(lineAt(0.0f));
    action->apply(root);
    action->apply(root);
    Lines all = splitLines(action->text());
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(countLines(all, "%!PS-Adobe-2.0"), 2);
    EXPECT_EQ(countLines(all, "showpage"), 2);
    EXPECT_EQ(all.back(), "showpage");

    action->getPSVectorOutput()->setFilePointer(std::tmpfile());
    action->mark();
    action->beginPage(SbVec2f(0, 0), SbVec2f(210, 297));
    action->apply(root);
    action->apply(root);
    action->endPage();
    all = splitLines(action->text());
    ASSERT_GT(all.size(), 3u);
    EXPECT_EQ(countLines(all, "%!PS-Adobe-2.0"), 1);
    EXPECT_EQ(countLines(all, "showpage"), 1);
    EXPECT_EQ(all.back(), "showpage");
    EXPECT_EQ(all[3], "%%BoundingBox: 0 0  595  841");
    EXPECT_GT(findBlock(all, {"0 0 translate", "gsave", "417 417 translate"}), 0);
    // Per apply the border restores the clip, its own save and the background's save.
    EXPECT_EQ(countLines(all, "grestore"), 6);
}

}  // namespace
