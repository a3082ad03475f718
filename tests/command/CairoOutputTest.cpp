// The PDF and SVG drawings of the command against its PostScript print of the same scene: the
// PDF rendered by the print's own renderer (poppler renders it in the picture tests), the SVG
// as Chromium shows it, each example scene and the demo in both orientations. The PDF is well
// formed as qpdf checks it and carries its fonts, and its smooth meshes are compact.

#include <gtest/gtest.h>

#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "CommandRun.h"
#include "PrintComparison.h"
#include "support/BrowserPicture.h"

namespace {

using namespace print_comparison;

// A millimetre: fill patterns start their cells from other origins in PostScript, and a
// browser's smoothing fades the ends of thin dashes.
constexpr int kReach = 2;

const std::vector<std::string> kLandscape = {"--landscape"};
std::vector<std::vector<std::string>> drawings() {
    std::vector<std::vector<std::string>> all = {{}, kLandscape};
    // Not the text scene: its PostScript fonts lack glyphs that the PDF and SVG fonts have.
    for (const char* scene : {"fills_and_patterns", "image", "lines_and_markers"})
        all.push_back({std::string(TESSARA_EXAMPLES_DIR) + "/" + scene + ".tsc"});
    all.push_back(
        {std::string(TESSARA_EXAMPLES_DIR) + "/lit_shapes.tsc", "--hidden", "painter", "--smooth"});
    return all;
}

/// The drawing made with `arguments` in `file`, whose extension chooses the format.
std::string drawn(std::vector<std::string> arguments, const ScratchDir& dir,
                  const std::string& file) {
    arguments.insert(arguments.end(), {"-o", file});
    const CommandResult run = runCommand(arguments, dir.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    return dir.read(file);
}

TEST(CairoOutput, PdfIsThePrint) {
    for (const std::vector<std::string>& arguments : drawings()) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        ScratchDir dir;
        const std::string pdf = drawn(arguments, dir, "drawing.pdf");
        EXPECT_EQ(std::system(("qpdf --check " + dir.file("drawing.pdf") + " >/dev/null").c_str()),
                  0);
        // The print's own rasteriser, so that what differs is the drawing, and poppler.
        GhostscriptOptions options;
        options.dpi = kDpi;
        if (arguments == kLandscape) std::swap(options.widthPoints, options.heightPoints);
        const GhostscriptResult page = renderPostScript(pdf, options);
        EXPECT_TRUE(page.ok()) << page.messages;
        expectLikeThePrint(page.image, arguments, "PDF in Ghostscript", kReach);
        expectLikeThePrint(renderPdfPage(pdf, kDpi), arguments, "PDF in poppler", kReach);
    }
}

TEST(CairoOutput, SvgInABrowserIsThePrint) {
    for (const std::vector<std::string>& arguments : drawings()) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        ScratchDir dir;
        const std::string svg = drawn(arguments, dir, "drawing.svg");
        // The A4 sheet at the comparison's resolution, as Ghostscript renders the print.
        int width = int(595 * kDpi / 72), height = int(842 * kDpi / 72);
        if (arguments == kLandscape) std::swap(width, height);
        expectLikeThePrint(renderSvgInBrowser(svg, width, height), arguments, "SVG", kReach);
    }
}

TEST(CairoOutput, TitleKeepsItsCharacters) {
    ScratchDir dir;
    drawn({"--title", "Ωμέγα €"}, dir, "d.pdf");
    ASSERT_EQ(std::system(("pdftotext " + dir.file("d.pdf") + " " + dir.file("t")).c_str()), 0);
    EXPECT_NE(dir.read("t").find("Ωμέγα €"), std::string::npos) << dir.read("t");
    std::FILE* info = popen(("pdfinfo " + dir.file("d.pdf")).c_str(), "r");
    ASSERT_NE(info, nullptr);
    const std::string described = contentsOf(info);
    pclose(info);
    EXPECT_TRUE(std::regex_search(described, std::regex("Title: +Ωμέγα €\n"))) << described;
    drawn({"--title", "Ωμέγα & €"}, dir, "d.svg");
    EXPECT_NE(dir.read("d.svg").find("<title>Ωμέγα &amp; €</title>"), std::string::npos);
}

// Widths and dashes far beyond any sheet (the longest nominal width, times a line's width)
// are said and written as numbers that readers take.
TEST(CairoOutput, AbsurdWidthsStayReadable) {
    ScratchDir dir;
    const CommandResult run =
        runCommand({std::string(TESSARA_EXAMPLES_DIR) + "/lines_and_markers.tsc", "--line-width",
                    "1000m", "-o", "drawing.pdf"},
                   dir.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(std::system(("qpdf --check " + dir.file("drawing.pdf") + " >/dev/null").c_str()), 0);
}

// Every font of the demo is in the document, as pdffonts lists them: "emb" says yes.
TEST(CairoOutput, PdfCarriesItsFonts) {
    ScratchDir dir;
    drawn({}, dir, "demo.pdf");
    std::FILE* listing = popen(("pdffonts " + dir.file("demo.pdf")).c_str(), "r");
    ASSERT_NE(listing, nullptr);
    const std::string fonts = contentsOf(listing);
    ASSERT_EQ(pclose(listing), 0) << fonts;
    std::istringstream lines(fonts);
    std::string line;
    int listed = 0, embedded = 0;
    for (int row = 0; std::getline(lines, line); ++row) {
        if (row < 2) continue;  // the heading and its rule
        std::istringstream words(line);
        std::vector<std::string> word{std::istream_iterator<std::string>(words), {}};
        ++listed;
        // name, type (one word or two), encoding, then emb, sub, uni, object and generation
        if (word.size() >= 7 && word[word.size() - 5] == "yes") ++embedded;
    }
    EXPECT_GE(listed, 1) << fonts;
    EXPECT_EQ(embedded, listed) << fonts;
}

}  // namespace

// Gouraud triangles take less room in the PDF, compressed, than in PostScript, which shades
// them too.
TEST(CairoOutput, SmoothMeshesTakeLessRoomThanInPostScript) {
    const std::vector<std::string> smooth = {std::string(TESSARA_EXAMPLES_DIR) + "/lit_shapes.tsc",
                                             "--smooth"};
    std::vector<std::string> level3 = smooth;
    level3.insert(level3.end(), {"--ps-level", "3"});
    ScratchDir dir;
    EXPECT_LT(drawn(smooth, dir, "drawing.pdf").size(), drawn(level3, dir, "drawing.ps").size());
}
