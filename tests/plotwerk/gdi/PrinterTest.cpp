// A printer context prints through a private print service: the page that comes out, rendered
// by poppler, has its ink where the calls put it, and the print dialog finds the queue or none.

#include <PlotWerk/SoGDIPlatform.h>
#include <Tessara/misc/SoPreferences.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "support/DebugErrorRecorder.h"
#include "support/PdfPicture.h"
#include "support/PrintServer.h"

namespace {

enum Ink { WHITE, RED, BLUE, GREEN, OTHER, ANY };
constexpr int DPI = 50, LINE_WIDTH = 120, EM = 240;
// A thick line that begins in the left margin, a triangle without outline, a text's origin.
constexpr POINT LINE[] = {{-300, 400}, {1800, 400}, {1800, 1600}};
constexpr POINT TRIANGLE[] = {{2400, 500}, {4000, 500}, {3200, 1900}};
constexpr POINT TEXT{600, 2400};

Ink inkOf(const GhostscriptResult::Rgb& c) {
    if (c.isWhite()) return WHITE;
    if (c.r > 160 && c.g < 90 && c.b < 90) return RED;
    if (c.b > 160 && c.r < 90 && c.g < 90) return BLUE;
    return c.g > 80 && c.r < 60 && c.b < 60 ? GREEN : OTHER;
}

double segmentDistance(double x, double y, POINT a, POINT b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy), 0., 1.);
    return std::hypot(x - a.x - t * dx, y - a.y - t * dy);
}

/// The ink drawn at a point in device dots. The text's cell, from its top-left reference point,
/// may hold anything.
Ink drawn(double x, double y) {
    if (x > TEXT.x && y > TEXT.y && y < TEXT.y + 1.3 * EM && x < TEXT.x + 8 * EM) return ANY;
    if (x < 0 || y < 0) return WHITE;  // in the margin, which the printable area leaves out
    if (std::min(segmentDistance(x, y, LINE[0], LINE[1]),
                 segmentDistance(x, y, LINE[1], LINE[2])) <= LINE_WIDTH / 2.0)
        return RED;
    int sides = 0;
    for (int i = 0; i < 3; ++i) {
        const POINT a = TRIANGLE[i], b = TRIANGLE[(i + 1) % 3];
        sides += (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x) < 0 ? 1 : 0;
    }
    return sides == 0 || sides == 3 ? BLUE : WHITE;
}

/// The ink expected at a point, ANY where points `slack` away disagree.
Ink expected(double x, double y, double slack) {
    const Ink here = drawn(x - slack, y - slack);
    for (const auto& [dx, dy] : {std::pair{slack, -slack}, {-slack, slack}, {slack, slack}})
        if (drawn(x + dx, y + dy) != here) return ANY;
    return here;
}

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

TEST_F(Printer, InkLandsWhereTheCallsPutIt) {
    if (!pdftoppmAvailable()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const HDC dc = CreateDCA("WINSPOOL", server.queue().c_str(), nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    const DOCINFOA doc{sizeof(DOCINFOA), "printer test", nullptr, nullptr, 0};
    ASSERT_GT(StartDocA(dc, &doc), 0);
    ASSERT_GT(StartPage(dc), 0);
    const HGDIOBJ objects[] = {CreatePen(PS_SOLID, LINE_WIDTH, 0x0000FF), CreatePen(PS_NULL, 0, 0),
                               CreateSolidBrush(0xFF0000),
                               CreateFontA(-EM, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0,
                                           PROOF_QUALITY, DEFAULT_PITCH, "DejaVu Sans")};
    SelectObject(dc, objects[0]);
    Polyline(dc, LINE, 3);
    SelectObject(dc, objects[1]);
    SelectObject(dc, objects[2]);
    Polygon(dc, TRIANGLE, 3);
    SelectObject(dc, objects[3]);
    SetTextColor(dc, 0x008000);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, TEXT.x, TEXT.y, "PlotWerk", 8);
    const int dots = GetDeviceCaps(dc, LOGPIXELSX), left = GetDeviceCaps(dc, PHYSICALOFFSETX),
              top = GetDeviceCaps(dc, PHYSICALOFFSETY), width = GetDeviceCaps(dc, PHYSICALWIDTH);
    EXPECT_GT(EndPage(dc), 0);
    EXPECT_GT(EndDoc(dc), 0);
    EXPECT_TRUE(DeleteDC(dc));
    for (HGDIOBJ object : objects) DeleteObject(object);
    EXPECT_TRUE(std::filesystem::is_empty(spoolDir.path)) << "the spool file stays";

    const auto page = renderPdfPage(server.waitForOutput(), DPI);
    ASSERT_FALSE(page.empty()) << server.log();
    EXPECT_NEAR(page.width, width * DPI / dots, 1);
    EXPECT_GT(left, 0);  // the queue's sheet has margins
    const auto device = [&](int pixel, int offset) { return (pixel + 0.5) * dots / DPI - offset; };
    std::vector<char> wrong(std::size_t(page.width) * page.height);
    int green = 0;
    for (int py = 0; py < page.height; ++py)
        for (int px = 0; px < page.width; ++px) {
            const Ink seen = inkOf(page.pixel(px, py));
            const Ink want = expected(device(px, left), device(py, top), 0.75 * dots / DPI);
            wrong[std::size_t(py) * page.width + px] = want != ANY && want != seen;
            green += seen == GREEN;
        }
    EXPECT_LE(largestMarkedRegion(wrong, page.width), 2);
    EXPECT_GT(green, 20) << "no text";
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
