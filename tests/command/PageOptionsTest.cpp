// Options that change the page: layout (landscape, size, position), frame and background,
// colours, line width, lighting and shading, hidden-line modes and the PostScript settings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PrintRun.h"

namespace {

using namespace default_page;

const char* const kEmptyScene = "#Tessara V1.0 ascii\nSeparator { }\n";

// An orthographic view 10 units wide (portrait) with a red square near its upper-left
// corner, at x -5..-4 and y 4..5, and nothing else.
const char* const kCornerMark =
    "#Tessara V1.0 ascii\nSeparator {\n"
    "  OrthographicCamera { position 0 0 5  height 10 }\n"
    "  LightModel { model BASE_COLOR }  BaseColor { rgb 0.9 0.1 0.1 }\n"
    "  Coordinate3 { point [ -5 4 0, -4 4 0, -4 5 0, -5 5 0 ] }\n"
    "  FaceSet { numVertices 4 }\n}\n";

bool isRed(const GhostscriptResult::Rgb& p) {
    return p.r > 180 && p.g < 80 && p.b < 80;
}

TEST(Layout, PortraitPutsTheDrawingsTopLeftAtTheTopLeftOfThePage) {
    ScratchDir dir;
    dir.write("mark.tsc", kCornerMark);
    const PrintRun run = PrintRun::of(dir, {"mark.tsc"});
    ASSERT_TRUE(run.succeeded());
    const PageProbe page = run.probe();
    EXPECT_GT(page.count(12, 226, 27, 241, isRed), 50);
    EXPECT_EQ(page.count(12, 55, 27, 71, isRed), 0);
}

TEST(Layout, LandscapeTurnsTheDrawingAcrossTheSameArea) {
    ScratchDir dir;
    dir.write("mark.tsc", kCornerMark);
    const PrintRun run = PrintRun::of(dir, {"mark.tsc", "--landscape"});
    ASSERT_TRUE(run.succeeded());
    const PageProbe page = run.probe();
    // The drawing, 277 wide and 190 high, lies turned a quarter: its top-left corner is
    // now at the bottom-left of the page.
    EXPECT_GT(page.count(12, 55, 27, 71, isRed), 50);
    EXPECT_EQ(page.count(12, 226, 27, 241, isRed), 0);
    // The frame still runs along the page's usual drawing area, not off the sheet.
    EXPECT_GT(page.ink(kRight - 1, kCentreY - 20, kRight + 1, kCentreY + 20), 10);
    EXPECT_EQ(page.ink(kRight + 2, 0, page.widthMm(), page.heightMm()), 0);
}

TEST(Layout, SizeSetsTheDrawingAreaInAnyUnit) {
    ScratchDir dir;
    for (const char* size : {"100x50", "3.937x1.9685in"}) {
        SCOPED_TRACE(size);
        const PrintRun run = PrintRun::of(dir, {"--size", size});
        ASSERT_TRUE(run.succeeded());
        const PageProbe page = run.probe();
        // The frame's right and top edges, and nothing beyond them.
        EXPECT_GT(page.ink(109, 20, 111, 50), 10);
        EXPECT_GT(page.ink(20, 59, 100, 61), 10);
        EXPECT_EQ(page.ink(113, 0, page.widthMm(), page.heightMm()), 0);
        EXPECT_EQ(page.ink(0, 63, page.widthMm(), page.heightMm()), 0);
    }
    // Millimetres are the default unit; metres say the same in other numbers.
    const std::string plain = PrintRun::unrendered(dir, {"--size", "100x50"}).document;
    EXPECT_EQ(PrintRun::unrendered(dir, {"--size", "100x50mm"}).document, plain);
    EXPECT_EQ(PrintRun::unrendered(dir, {"--size=0.1x0.05m"}).document, plain);
}

TEST(Layout, PositionMovesTheDrawingOnThePage) {
    ScratchDir dir;
    const PrintRun run = PrintRun::of(dir, {"--size", "100x100", "--position", "50x60"});
    ASSERT_TRUE(run.succeeded());
    const PageProbe page = run.probe();
    EXPECT_GT(page.ink(49, 80, 51, 140), 10);
    EXPECT_GT(page.ink(149, 80, 151, 140), 10);
    EXPECT_EQ(page.ink(0, 0, 47, page.heightMm()), 0);
    EXPECT_EQ(page.ink(0, 0, page.widthMm(), 57), 0);
    EXPECT_EQ(page.ink(153, 0, page.widthMm(), page.heightMm()), 0);
}

TEST(Frame, DefaultBorderIsDarkAndZeroWidthRemovesIt) {
    ScratchDir dir;
    dir.write("mark.tsc", kCornerMark);
    // Fine enough to see a frame of two nominal widths (0.7 mm), half of it clipped away.
    GhostscriptOptions fine;
    fine.dpi = 100;
    const PrintRun framed = PrintRun::of(dir, {"mark.tsc"}, "page.ps", fine);
    ASSERT_TRUE(framed.succeeded());
    EXPECT_GT(framed.probe().ink(kLeft - 1, 50, kLeft + 1, 200), 100);
    const PrintRun bare = PrintRun::of(dir, {"mark.tsc", "--border", "0"}, "page.ps", fine);
    ASSERT_TRUE(bare.succeeded());
    EXPECT_EQ(bare.probe().ink(kLeft - 1, 50, kLeft + 1, 200), 0);
}

TEST(Frame, AnEmptySceneGivesAnEmptyFramedDrawing) {
    ScratchDir dir;
    dir.write("empty.tsc", kEmptyScene);
    GhostscriptOptions fine;
    fine.dpi = 100;
    const PrintRun run = PrintRun::of(dir, {"empty.tsc"}, "page.ps", fine);
    ASSERT_TRUE(run.succeeded());
    const PageProbe page = run.probe();
    EXPECT_GT(page.ink(kLeft - 1, 50, kLeft + 1, 200), 100);
    EXPECT_EQ(page.ink(kLeft + 2, kBottom + 2, kRight - 2, kTop - 2), 0);
    EXPECT_EQ(page.ink(0, 0, kLeft - 2, page.heightMm()), 0);
}

TEST(Frame, BorderTakesAWidthAndAColour) {
    ScratchDir dir;
    dir.write("mark.tsc", kCornerMark);
    const PrintRun thin = PrintRun::of(dir, {"mark.tsc", "--border", "2,red"});
    const PrintRun thick = PrintRun::of(dir, {"mark.tsc", "--border=12,#ff0000"});
    ASSERT_TRUE(thin.succeeded());
    ASSERT_TRUE(thick.succeeded());
    const int thinRed = thin.probe().count(0, 50, 30, 200, isRed);
    const int thickRed = thick.probe().count(0, 50, 30, 200, isRed);
    EXPECT_GT(thinRed, 50);
    EXPECT_GT(thickRed, 3 * thinRed);
}

TEST(Frame, BackgroundFillsTheDrawingAreaOnly) {
    ScratchDir dir;
    dir.write("mark.tsc", kCornerMark);
    const auto isYellow = [](const GhostscriptResult::Rgb& p) {
        return p.r > 200 && p.g > 200 && p.b < 60;
    };
    const PrintRun run = PrintRun::of(dir, {"mark.tsc", "--background", "yellow"});
    ASSERT_TRUE(run.succeeded());
    const PageProbe page = run.probe();
    EXPECT_GT(page.count(kCentreX - 20, kCentreY - 20, kCentreX + 20, kCentreY + 20, isYellow),
              500);
    EXPECT_EQ(page.ink(0, 0, kLeft - 2, page.heightMm()), 0);
    EXPECT_EQ(page.ink(0, 0, page.widthMm(), kBottom - 2), 0);
    // The other ways to write the same colour.
    for (const char* colour : {"#ffff00", "#FFFF00", "1:1:0"}) {
        SCOPED_TRACE(colour);
        EXPECT_EQ(PrintRun::unrendered(dir, {"mark.tsc", "--background", colour}).document,
                  run.document);
    }
    EXPECT_NE(PrintRun::unrendered(dir, {"mark.tsc"}).document, run.document);
}

// A thick black line and a red square, unlit.
const char* const kBlackAndRed =
    "#Tessara V1.0 ascii\nSeparator {\n"
    "  OrthographicCamera { position 0 0 5  height 10 }\n"
    "  LightModel { model BASE_COLOR }\n"
    "  Separator { BaseColor { rgb 0 0 0 }  DrawStyle { lineWidth 8 }\n"
    "    Coordinate3 { point [ -4 -3 0, 4 -3 0 ] }  LineSet { } }\n"
    "  BaseColor { rgb 0.9 0.1 0.1 }\n"
    "  Coordinate3 { point [ -2 0 0, 2 0 0, 2 3 0, -2 3 0 ] }  FaceSet { numVertices 4 }\n}\n";

// Around the line (drawing y = -3 of 7.29: page y = 10 + 4.29 / 14.58 * 277) and the square.
int lineInk(const PrintRun& run) {
    return run.probe().ink(40, 85, 170, 100);
}
GhostscriptResult::Rgb squareColour(const PrintRun& run) {
    return run.probe().meanInk(kCentreX - 10, kCentreY + 10, kCentreX + 10, kCentreY + 30);
}

TEST(Colours, BlackIsSwappedToWhiteByDefaultAndKeptOnRequest) {
    ScratchDir dir;
    dir.write("scene.tsc", kBlackAndRed);
    const PrintRun swapped = PrintRun::of(dir, {"scene.tsc"});
    const PrintRun kept = PrintRun::of(dir, {"scene.tsc", "--colors", "keep"});
    ASSERT_TRUE(swapped.succeeded());
    ASSERT_TRUE(kept.succeeded());
    EXPECT_EQ(lineInk(swapped), 0);
    EXPECT_GT(lineInk(kept), 200);
    EXPECT_TRUE(isRed(squareColour(swapped)));
    EXPECT_TRUE(isRed(squareColour(kept)));
}

TEST(Colours, InvertTurnsRedToCyan) {
    ScratchDir dir;
    dir.write("scene.tsc", kBlackAndRed);
    const PrintRun run = PrintRun::of(dir, {"scene.tsc", "--colors", "invert"});
    ASSERT_TRUE(run.succeeded());
    const GhostscriptResult::Rgb c = squareColour(run);
    EXPECT_TRUE(c.r < 60 && c.g > 200 && c.b > 200) << c.r << " " << c.g << " " << c.b;
    EXPECT_EQ(lineInk(run), 0) << "black inverted is white";
}

TEST(Colours, BlackAndWhitePrintsEveryColourBlack) {
    ScratchDir dir;
    const PrintRun run = PrintRun::of(dir, {"--bw"});
    ASSERT_TRUE(run.succeeded());
    const PageProbe page = run.probe();
    const auto isGreyOrColour = [](const GhostscriptResult::Rgb& p) {
        return !p.isWhite() && (p.r > 40 || p.g > 40 || p.b > 40);
    };
    // Everything drawn as vectors; the image (the colour key at the right) keeps its pixels.
    EXPECT_EQ(page.count(0, 0, 172, page.heightMm(), isGreyOrColour), 0);
    EXPECT_GT(page.ink(kLeft, 195, kRight, 245), 1000) << "the solids, now black";
}

TEST(Colours, GrayWritesGreyLevelsOnly) {
    ScratchDir dir;
    const PrintRun& colour = PrintRun::demo();
    const PrintRun grey = PrintRun::of(dir, {"--gray"});
    ASSERT_TRUE(colour.succeeded());
    ASSERT_TRUE(grey.succeeded());
    const PageProbe page = grey.probe();
    EXPECT_GT(colour.probe().coloured(0, 0, page.widthMm(), page.heightMm()), 1000);
    EXPECT_EQ(page.coloured(0, 0, page.widthMm(), page.heightMm()), 0);
    EXPECT_GT(page.ink(kLeft, 195, kRight, 245), 1000) << "the solids, in grey";
}

// One horizontal line of the nominal width across the view.
const char* const kOneLine =
    "#Tessara V1.0 ascii\nSeparator {\n"
    "  OrthographicCamera { position 0 0 5  height 10 }\n"
    "  BaseColor { rgb 0.1 0.1 0.1 }\n"
    "  Coordinate3 { point [ -4 0 0, 4 0 0 ] }  LineSet { }\n}\n";

TEST(Lines, LineWidthSetsTheNominalWidth) {
    ScratchDir dir;
    dir.write("line.tsc", kOneLine);
    const PrintRun nominal = PrintRun::of(dir, {"line.tsc"});
    const PrintRun wide = PrintRun::of(dir, {"line.tsc", "--line-width", "3.175mm"});
    ASSERT_TRUE(nominal.succeeded());
    ASSERT_TRUE(wide.succeeded());
    const auto inkAcross = [](const PrintRun& run) {
        return run.probe().ink(kCentreX - 5, kCentreY - 10, kCentreX + 5, kCentreY + 10);
    };
    EXPECT_GT(inkAcross(nominal), 0);
    EXPECT_GT(inkAcross(wide), 4 * inkAcross(nominal));
    EXPECT_EQ(PrintRun::unrendered(dir, {"line.tsc", "--line-width=0.125in"}).document,
              wide.document);
}

// A red square lit from 60 degrees off its normal; the light model asks for per-pixel
// lighting, which the printer only evaluates with --lighting.
const char* const kPerPixelLit =
    "#Tessara V1.0 ascii\nSeparator {\n"
    "  OrthographicCamera { position 0 0 5  height 10 }\n"
    "  DirectionalLight { direction 0 -0.866 -0.5 }\n"
    "  LightModel { model PER_PIXEL_PHONG }\n"
    "  Material { diffuseColor 0.9 0.1 0.1 }\n"
    "  Coordinate3 { point [ -2 -2 0, 2 -2 0, 2 2 0, -2 2 0 ] }  FaceSet { numVertices 4 }\n}\n";

TEST(Shading, LightingOptionLightsPerPixelModels) {
    ScratchDir dir;
    dir.write("lit.tsc", kPerPixelLit);
    const PrintRun plain = PrintRun::of(dir, {"lit.tsc"});
    const PrintRun lit = PrintRun::of(dir, {"lit.tsc", "--lighting"});
    ASSERT_TRUE(plain.succeeded());
    ASSERT_TRUE(lit.succeeded());
    const GhostscriptResult::Rgb base = plain.centreColour();
    const GhostscriptResult::Rgb shaded = lit.centreColour();
    EXPECT_GT(base.r, 210) << "the diffuse colour as it is";
    EXPECT_LT(shaded.r, 160) << "half the light at 60 degrees, plus ambient";
    EXPECT_GT(shaded.r, 90);
}

TEST(Shading, SmoothGivesEachCornerItsOwnColour) {
    ScratchDir dir;
    dir.write("sphere.tsc",
              "#Tessara V1.0 ascii\nSeparator { DirectionalLight { direction -1 -1 -1 }"
              " Material { diffuseColor 0.2 0.4 0.9 } Sphere { } }\n");
    const PrintRun flat = PrintRun::unrendered(dir, {"sphere.tsc"});
    const PrintRun smooth = PrintRun::of(dir, {"sphere.tsc", "--smooth"});
    ASSERT_EQ(flat.command.status, 0);
    ASSERT_TRUE(smooth.succeeded());
    EXPECT_NE(flat.document, smooth.document);
    EXPECT_GT(smooth.probe().coloured(kLeft, kBottom, kRight, kTop), 1000);
}

TEST(HiddenLines, OrderingModesReorderSilentlyAndTheOthersSayTheyFallBack) {
    ScratchDir dir;
    const PrintRun direct = PrintRun::unrendered(dir, {"--hidden", "off"}, "direct.ps");
    ASSERT_EQ(direct.command.status, 0);
    for (const char* mode : {"sort", "painter", "visible"}) {
        SCOPED_TRACE(mode);
        const PrintRun run = PrintRun::of(dir, {"--hidden", mode});
        ASSERT_TRUE(run.succeeded());
        EXPECT_NE(run.document, direct.document) << "the faces are reordered";
    }
    // Stages the library does not have yet: one warning each, and the painter's order.
    const PrintRun painter = PrintRun::unrendered(dir, {"--hidden", "painter"}, "painter.ps");
    for (const char* mode : {"raster", "lines"}) {
        SCOPED_TRACE(mode);
        const PrintRun run = PrintRun::unrendered(dir, {"--hidden", mode});
        EXPECT_EQ(run.command.status, 0);
        ASSERT_EQ(run.command.errLines().size(), 1u) << run.command.err;
        EXPECT_EQ(run.command.err.rfind("plotwerk: warning: ", 0), 0u) << run.command.err;
        EXPECT_NE(run.command.err.find("not available yet"), std::string::npos);
    }
    EXPECT_EQ(painter.command.status, 0);
}

TEST(HiddenLines, PainterIsTheDefaultAndOffIsSilent) {
    ScratchDir dir;
    const PrintRun painter = PrintRun::unrendered(dir, {"--hidden", "painter"});
    EXPECT_EQ(painter.document, PrintRun::demo().document);
    const PrintRun off = PrintRun::unrendered(dir, {"--hidden", "off"});
    EXPECT_EQ(off.command.status, 0);
    EXPECT_TRUE(off.command.err.empty()) << off.command.err;
    EXPECT_NE(off.document, PrintRun::demo().document);
}

TEST(PostScript, LevelIsDeclaredAndEveryLevelRenders) {
    ScratchDir dir;
    EXPECT_EQ(PrintRun::demo().document.rfind("%!PS-Adobe-2.0", 0), 0u) << "the default";
    for (const char* level : {"1", "3"}) {
        SCOPED_TRACE(level);
        const PrintRun run = PrintRun::of(dir, {"--ps-level", level});
        ASSERT_TRUE(run.succeeded());
        EXPECT_EQ(run.document.rfind(std::string("%!PS-Adobe-") + level + ".0", 0), 0u);
        EXPECT_GT(run.probe().coloured(kLeft, 195, kRight, 245), 500);
    }
}

TEST(PostScript, AccuracySetsTheDrawingUnit) {
    ScratchDir dir;
    const PrintRun& fine = PrintRun::demo();
    const PrintRun coarse = PrintRun::of(dir, {"--accuracy", "1"});
    ASSERT_TRUE(fine.succeeded());
    ASSERT_TRUE(coarse.succeeded());
    // The unit is F x 0.24 mm, written as the scale from units to points.
    EXPECT_NE(fine.document.find("0.068031 0.068031 scale"), std::string::npos);
    EXPECT_NE(coarse.document.find("0.680315 0.680315 scale"), std::string::npos);
    EXPECT_LT(coarse.document.size(), fine.document.size()) << "shorter numbers";
    EXPECT_GT(coarse.probe().coloured(kLeft, 195, kRight, 245), 500);
}

}  // namespace
