// HP-GL/2 from the command: the format by name and by extension, the pens, and the demo plot
// read back by the decoder and laid over the PostScript print of the same page, where every
// line and every filled area of the plot must find the print's ink.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "PrintRun.h"
#include "support/HPGLDecoder.h"

namespace {

constexpr double kMmPerUnit = 0.025;

bool isPlot(const std::string& bytes) {
    return bytes.rfind("\x1b%-1B\nIN;", 0) == 0;
}

TEST(PlotterOutput, TheFormatIsChosenByNameOrByExtension) {
    const ScratchDir dir;
    for (const std::string name : {"a.plt", "b.hpgl", "c.HPG"}) {
        const PrintRun run = PrintRun::unrendered(dir, {}, name);
        EXPECT_EQ(run.command.status, 0) << name << ": " << run.command.err;
        EXPECT_TRUE(isPlot(run.document)) << name;
    }
    const PrintRun named = PrintRun::unrendered(dir, {"-f", "hpgl"}, "plot.txt");
    EXPECT_TRUE(isPlot(named.document));
    const CommandResult piped = CommandRunner::run({"-f", "hpgl"}, dir.path());
    EXPECT_EQ(piped.status, 0);
    EXPECT_TRUE(isPlot(piped.out));
    EXPECT_EQ(piped.out, named.document);
}

TEST(PlotterOutput, PensReplaceThePalette) {
    const ScratchDir dir;
    const PrintRun run =
        PrintRun::unrendered(dir, {"--pens", "black,red@0.5mm,#0000ff@0.7mm"}, "pens.plt");
    ASSERT_EQ(run.command.status, 0) << run.command.err;
    const HPGLPlot plot = HPGLDecoder::decode(run.document);
    ASSERT_TRUE(plot.clean()) << plot.errors.front();
    EXPECT_EQ(plot.pens, 3);
    ASSERT_EQ(plot.palette.size(), 3u);
    EXPECT_EQ(plot.palette.at(1).r, 255);
    EXPECT_EQ(plot.palette.at(2).b, 255);
    for (const HPGLPolyline& line : plot.polylines) {
        EXPECT_GE(line.pen.number, 0);
        EXPECT_LT(line.pen.number, 3);
    }
    for (const HPGLPolygon& polygon : plot.polygons) EXPECT_LT(polygon.pen.number, 3);
}

/// The demo printed both ways on the default page; the print rendered at 72 dpi.
struct DemoPair {
    PrintRun print;
    PrintRun plot;
    HPGLPlot decoded;

    static const DemoPair& get() {
        static const ScratchDir dir;
        static const DemoPair pair = [] {
            DemoPair made;
            GhostscriptOptions fine;
            fine.dpi = 72;
            made.print = PrintRun::of(dir, {}, "demo.ps", fine);
            made.plot = PrintRun::unrendered(dir, {}, "demo.plt");
            made.decoded = HPGLDecoder::decode(made.plot.document);
            return made;
        }();
        return pair;
    }
};

// Ink of the print within `radius` millimetres of a plot position.
bool inkNear(const PageProbe& page, const HPGLPoint& p, double radius) {
    const double x = p.x * kMmPerUnit, y = p.y * kMmPerUnit;
    return page.ink(x - radius, y - radius, x + radius, y + radius) > 0;
}

TEST(PlotterOutput, TheDemoPlotDecodesWithoutError) {
    const DemoPair& demo = DemoPair::get();
    ASSERT_EQ(demo.plot.command.status, 0) << demo.plot.command.err;
    EXPECT_TRUE(demo.decoded.clean()) << demo.decoded.errors.front();
    EXPECT_EQ(demo.decoded.pages, 1);
    EXPECT_GT(demo.decoded.polylines.size(), 10u);
    EXPECT_GT(demo.decoded.polygons.size(), 1000u);
    EXPECT_GT(demo.decoded.symbols.size(), 10u);
    EXPECT_GT(demo.decoded.labels.size(), 5u);
}

TEST(PlotterOutput, TheDemoPlotsLinesLandOnThePrintsInk) {
    const DemoPair& demo = DemoPair::get();
    ASSERT_TRUE(demo.print.succeeded());
    const PageProbe page = demo.print.probe();
    int samples = 0, inked = 0;
    for (const HPGLPolyline& line : demo.decoded.polylines) {
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            const HPGLPoint& a = line.points[i - 1];
            const HPGLPoint& b = line.points[i];
            const int steps = 1 + static_cast<int>(std::hypot(b.x - a.x, b.y - a.y) / 40.0);
            for (int s = 0; s <= steps; ++s) {
                const double t = static_cast<double>(s) / steps;
                ++samples;
                inked += inkNear(page, HPGLPoint{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}, 0.5)
                             ? 1
                             : 0;
            }
        }
    }
    ASSERT_GT(samples, 1000);
    EXPECT_GE(inked, samples * 99 / 100) << inked << " of " << samples << " samples";
}

TEST(PlotterOutput, TheDemoPlotsFillsAndDotsLandOnThePrintsInk) {
    const DemoPair& demo = DemoPair::get();
    ASSERT_TRUE(demo.print.succeeded());
    const PageProbe page = demo.print.probe();
    int filled = 0, inked = 0;
    for (const HPGLPolygon& polygon : demo.decoded.polygons) {
        HPGLPoint centre;
        const std::vector<HPGLPoint>& points = polygon.subpaths.at(0).points;
        for (const HPGLPoint& p : points) {
            centre.x += p.x / points.size();
            centre.y += p.y / points.size();
        }
        ++filled;
        inked += inkNear(page, centre, 0.5) ? 1 : 0;
    }
    EXPECT_GE(inked, filled * 99 / 100) << inked << " of " << filled << " fills";
    int dots = 0;
    for (const HPGLSymbol& symbol : demo.decoded.symbols) dots += inkNear(page, symbol.at, 0.5);
    EXPECT_EQ(dots, static_cast<int>(demo.decoded.symbols.size()));
}

TEST(PlotterOutput, NothingOfThePlotLiesWhereThePrintHasNoInk) {
    // The converse at the page's scale: away from every mark of the plot, the print is blank,
    // so the two drawings cover the same part of the sheet.
    const DemoPair& demo = DemoPair::get();
    ASSERT_TRUE(demo.print.succeeded());
    double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
    auto extend = [&](const HPGLPoint& p) {
        left = std::min(left, p.x * kMmPerUnit);
        right = std::max(right, p.x * kMmPerUnit);
        bottom = std::min(bottom, p.y * kMmPerUnit);
        top = std::max(top, p.y * kMmPerUnit);
    };
    for (const HPGLPolyline& line : demo.decoded.polylines)
        for (const HPGLPoint& p : line.points) extend(p);
    for (const HPGLPolygon& polygon : demo.decoded.polygons)
        for (const HPGLPoint& p : polygon.subpaths.at(0).points) extend(p);
    const PageProbe page = demo.print.probe();
    EXPECT_EQ(page.ink(0, 0, left - 1.0, page.heightMm()), 0);
    EXPECT_EQ(page.ink(right + 1.0, 0, page.widthMm(), page.heightMm()), 0);
    EXPECT_EQ(page.ink(0, 0, page.widthMm(), bottom - 1.0), 0);
    EXPECT_EQ(page.ink(0, top + 1.0, page.widthMm(), page.heightMm()), 0);
}

}  // namespace
