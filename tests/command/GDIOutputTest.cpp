// The enhanced metafile and the printed page against the PostScript print of the same page:
// the metafile as an office suite draws it (LibreOffice's own metafile reader, exporting a
// PDF) and the page the print service printed (a private print server's PDF), both rendered
// by poppler, put their ink where Ghostscript puts the print's, and nowhere else.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandRun.h"
#include "PrintComparison.h"
#include "support/EMFReader.h"
#include "support/PrintServer.h"

namespace {

using namespace print_comparison;

TEST(GDIOutput, MetafileAsAnOfficeSuiteDrawsIt) {
    ScratchDir dir;
    // The office suite centres a drawing on its A4 page: drawn from the sheet's corner, the
    // drawing lands where the print puts it.
    const CommandResult run = runCommand({"-o", "demo.emf", "--position", "0x0"}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    // It names itself by the name it is saved under, not by its temporary's.
    const std::string name =
        EMFReader::utf8(EMFReader::read(dir.read("demo.emf")).header.description);
    EXPECT_NE(name.find("demo.emf"), std::string::npos) << name;
    if (std::system("soffice --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no LibreOffice";
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
