// The 3D outputs of the command: the torus knot as an encrypted 3D PDF that qpdf accepts and
// whose page shows the knot's poster; the names and places those outputs refuse.

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "CommandRun.h"
#include "support/PdfPicture.h"

namespace {

const std::string kKnot = std::string(TESSARA_EXAMPLES_DIR) + "/../meshes/torus_knot.obj";

int run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

TEST(ModelExport, TheKnotAsAnEncrypted3DPdf) {
    ScratchDir dir;
    const CommandResult result =
        runCommand({kKnot, "-f", "pdf3d", "--title", "Knot", "--password", "u:o", "-o", "knot.pdf"},
                   dir.path());
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string pdf = dir.file("knot.pdf");
    EXPECT_EQ(run("qpdf --check --password=u " + pdf), 0);
    EXPECT_EQ(run("qpdf --requires-password " + pdf), 0);
    ASSERT_EQ(run("qpdf --decrypt --password=o " + pdf + " " + dir.file("open.pdf")), 0);
    // The knot is orange: its poster puts that colour on a good part of the page.
    const GhostscriptResult::Image page = renderPdfPage(dir.read("open.pdf"), 30);
    int orange = 0;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x) {
            const auto p = page.pixel(x, y);
            orange += p.r > 120 && p.r > p.g + 40 && p.g > p.b + 20;
        }
    EXPECT_GT(orange, page.width * page.height / 20);
}

// The model stands before the drawing's background: the 3D view's is --background's colour.
TEST(ModelExport, TheViewTakesTheBackground) {
    ScratchDir dir;
    const CommandResult result =
        runCommand({kKnot, "-f", "pdf3d", "--background", "#00ff00", "-o", "k.pdf"}, dir.path());
    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(run("qpdf --qdf " + dir.file("k.pdf") + " " + dir.file("k.qdf")), 0);
    const std::string qdf = dir.read("k.qdf");
    const std::size_t background = qdf.find("/BG");
    ASSERT_NE(background, std::string::npos);
    std::istringstream colour(qdf.substr(qdf.find('[', background) + 1));
    float r = -1, g = -1, b = -1;
    colour >> r >> g >> b;
    EXPECT_EQ(std::make_tuple(r, g, b), std::make_tuple(0.0f, 1.0f, 0.0f));
}

TEST(ModelExport, RefusedNamesAndPlaces) {
    ScratchDir dir;
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{"-f", "u3d"}, "-o"},
        {{"-f", "pdf3d", "-o", "missing/knot.pdf"}, "missing/knot.pdf"},
    };
    for (const auto& c : cases) {
        const CommandResult result = runCommand(c.arguments, dir.path());
        EXPECT_NE(result.status, 0);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
