// A printer context prints through a private print service: a job the service refuses fails
// and leaves no spool file behind, and the print dialog finds the queue or none. Where the
// printed page's ink lands is checked against the PostScript print by the command's tests.

#include <PlotWerk/SoGDIPlatform.h>
#include <Tessara/misc/SoPreferences.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/DebugErrorRecorder.h"
#include "support/PdfPicture.h"
#include "support/PrintServer.h"

namespace {

class Printer : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!server.available()) GTEST_SKIP() << server.reason();
        unsetenv("VXN_PWGDI_PRINTER");
        SoPreferences::removeValue("VXN_PWGDI_PRINTER");
        setenv("TMPDIR", spoolDir.path.c_str(), 1);  // where the spool file goes
        server.clearOutput();
    }
    void TearDown() override {
        previousTmp.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", previousTmp.c_str(), 1);
    }

    PrintServer& server = PrintServer::shared();
    const std::string previousTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    const ghostscript_detail::TempDir spoolDir;
};

// A geometric pen is as wide as its width in logical units says: 2 mm in 0.01 mm units.
TEST_F(Printer, PenWidthIsInLogicalUnitsAndInkStopsWhereThePrintableAreaEnds) {
    const HDC dc = CreateDCA("WINSPOOL", server.queue().c_str(), nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    const double pixelsPerDot = 254.0 / GetDeviceCaps(dc, LOGPIXELSY);
    const int end = GetDeviceCaps(dc, PHYSICALOFFSETY) + GetDeviceCaps(dc, VERTRES);
    ASSERT_LT(end, GetDeviceCaps(dc, PHYSICALHEIGHT));
    const DOCINFOA doc{sizeof(DOCINFOA), "pen width", nullptr, nullptr, 0};
    StartDocA(dc, &doc);
    StartPage(dc);
    SetMapMode(dc, MM_HIMETRIC);
    const LOGBRUSH black{BS_SOLID, 0, 0};
    const HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT, 200, &black, 0, nullptr);
    DeleteObject(SelectObject(dc, pen));
    const POINT line[] = {{1000, -5000}, {15000, -5000}};  // 50 mm below the printable top
    Polyline(dc, line, 2);
    const POINT down[] = {{1000, -6000}, {1000, -1000000}};  // past the foot: ink stops at the end
    Polyline(dc, down, 2);
    EndPage(dc);
    EndDoc(dc);
    DeleteDC(dc);
    DeleteObject(pen);
    const auto page = renderPdfPage(server.waitForOutput(), 254);  // 10 pixels a millimetre
    ASSERT_FALSE(page.empty()) << server.log();
    int thickness = 0;
    for (int y = 0; y < page.height; ++y) thickness += !page.pixel(page.width / 2, y).isWhite();
    EXPECT_NEAR(thickness, 20, 1);
    int lowest = -1;
    for (int y = 0; y < page.height; ++y)  // the line run down is the lowest ink
        for (int x = 0; x < page.width; ++x) lowest = page.pixel(x, y).isWhite() ? lowest : y;
    EXPECT_NEAR(lowest, end * pixelsPerDot, 2);
    EXPECT_TRUE(std::filesystem::is_empty(spoolDir.path)) << "the spool file stays";
}

TEST_F(Printer, RefusedJobFailsAndLeavesNoSpoolFile) {
    ASSERT_TRUE(server.setAccepting(false));
    const HDC dc = CreateDCA("WINSPOOL", server.queue().c_str(), nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    const DOCINFOA doc{sizeof(DOCINFOA), "refused", nullptr, nullptr, 0};
    DebugErrorRecorder errors;
    StartDocA(dc, &doc);
    StartPage(dc);
    EndPage(dc);
    EXPECT_EQ(EndDoc(dc), 0);
    EXPECT_TRUE(errors.contains("", server.queue())) << errors.dump();
    DeleteDC(dc);
    EXPECT_TRUE(server.setAccepting(true));
    EXPECT_TRUE(std::filesystem::is_empty(spoolDir.path));
}

TEST_F(Printer, DialogTakesTheNamedQueueOrNone) {
    const std::string missing = "plotwerk-no-such-queue", queue = server.queue();
    // The setting, then the environment's PRINTER; no default queue exists.
    const std::string cases[][2] = {{"", queue}, {"", missing}, {queue, missing}, {missing, queue}};
    for (const auto& [setting, printer] : cases) {
        SCOPED_TRACE(setting + " / " + printer);
        SoPreferences::setValue("VXN_PWGDI_PRINTER", setting.c_str());
        setenv("PRINTER", printer.c_str(), 1);
        const bool found = (setting.empty() ? printer : setting) == queue;
        DebugErrorRecorder errors;
        PRINTDLGA dialog{};
        dialog.lStructSize = sizeof(dialog);
        dialog.Flags = PD_RETURNDC;
        EXPECT_EQ(PrintDlgA(&dialog), found ? 1 : 0);
        EXPECT_EQ(dialog.hDC ? GetDeviceCaps(dialog.hDC, TECHNOLOGY) : -1,
                  found ? DT_RASPRINTER : -1);
        EXPECT_EQ(errors.contains("", missing), !found) << errors.dump();
        DeleteDC(dialog.hDC);
    }
    SoPreferences::removeValue("VXN_PWGDI_PRINTER");
    unsetenv("PRINTER");
}

}  // namespace
