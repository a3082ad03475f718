// The enhanced metafile and the printed page against the PostScript print of the same page:
// the metafile as an office suite draws it (LibreOffice's own metafile reader, exporting a
// PDF) and the page the print service printed (a private print server's PDF), both rendered
// by poppler, put their ink where Ghostscript puts the print's, and nowhere else.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandRun.h"
#include "support/PdfPicture.h"
#include "support/PrintServer.h"

namespace {

constexpr int kDpi = 50;
// The renderers find different fonts: a stroke of the title's glyphs (up to 60 pixels here)
// may part; a face or a line out of place parts by thousands.
constexpr int kLargestWrong = 80;

using Image = GhostscriptResult::Image;

bool inked(const Image& image, int x, int y) {
    return !image.pixel(x, y).isWhite();
}

/// The share of a's ink with b's ink within a pixel; `wrong` marks a's pixels without.
double inkNear(const Image& a, const Image& b, std::vector<char>& wrong) {
    int ink = 0, near = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            if (!inked(a, x, y)) continue;
            bool found = false;
            for (int n = 0; n < 9 && !found; ++n) found = inked(b, x + n % 3 - 1, y + n / 3 - 1);
            ++ink, near += found;
            if (!found) wrong[std::size_t(y) * a.width + x] = 1;
        }
    return ink ? double(near) / ink : 0.0;
}

/// The page agrees with the demo's PostScript print (made with `arguments`) both ways, with
/// no large wrong area: a part drawn in the wrong place or left out shows as a region.
void expectLikeThePrint(const Image& page, std::vector<std::string> arguments, const char* what) {
    ScratchDir dir;
    arguments.insert(arguments.end(), {"-o", "demo.ps"});
    const CommandResult print = runCommand(arguments, dir.path());
    ASSERT_EQ(print.status, 0) << print.err;
    GhostscriptOptions options;
    options.dpi = kDpi;
    const GhostscriptResult reference = renderPostScript(dir.read("demo.ps"), options);
    ASSERT_TRUE(reference.ok()) << reference.messages;
    ASSERT_FALSE(page.empty()) << what;
    for (const auto& [a, b] : {std::pair{&page, &reference.image}, {&reference.image, &page}}) {
        std::vector<char> wrong(std::size_t(a->width) * a->height, 0);
        EXPECT_GE(inkNear(*a, *b, wrong), 0.99) << what;
        EXPECT_LE(largestMarkedRegion(wrong, a->width), kLargestWrong)
            << what << ": pixels in one region";
    }
}

TEST(GDIOutput, MetafileAsAnOfficeSuiteDrawsIt) {
    if (std::system("soffice --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no LibreOffice";
    ScratchDir dir;
    // The office suite centres a drawing on its A4 page: drawn from the sheet's corner, the
    // drawing lands where the print puts it.
    const CommandResult run = runCommand({"-o", "demo.emf", "--position", "0x0"}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    // A profile of its own, so that parallel conversions do not share one.
    const std::string convert = "cd '" + dir.path() + "' && soffice -env:UserInstallation=file://" +
                                dir.file("profile") +
                                " --headless --convert-to pdf demo.emf >/dev/null 2>&1";
    ASSERT_EQ(std::system(convert.c_str()), 0);
    expectLikeThePrint(renderPdfPage(dir.read("demo.pdf"), kDpi), {}, "metafile");
}

TEST(GDIOutput, PrintedPageIsThePrint) {
    PrintServer& server = PrintServer::shared();
    if (!server.available()) GTEST_SKIP() << server.reason();
    server.clearOutput();
    // A drawing inside the sheet's printable area, which leaves 12.7 mm at the top and bottom.
    const std::vector<std::string> page = {"--position", "15x15", "--size", "180x267"};
    std::vector<std::string> arguments = page;
    arguments.push_back("--print=" + server.queue());
    ScratchDir spool;
    setenv("TMPDIR", spool.path().c_str(), 1);
    const CommandResult run = runCommand(arguments);
    unsetenv("TMPDIR");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(spool.entries().empty()) << "the spool file stays";
    const std::string pdf = server.waitForOutput();
    ASSERT_FALSE(pdf.empty()) << server.log();
    expectLikeThePrint(renderPdfPage(pdf, kDpi), page, "printed page");
}

TEST(GDIOutput, WithoutAPrinterNothingIsDrawnAndTheCommandSaysSo) {
    const CommandResult run = runCommand({"--print=no-such-queue"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("no-such-queue"), std::string::npos) << run.err;
}

}  // namespace
