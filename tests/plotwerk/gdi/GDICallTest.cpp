// The GDI backend's calls as a recorder sees them, on metafiles, application contexts and
// printers: how each target is set up and finished, and what the primitives ask of GDI.

#include <PlotWerk/SoGDIRecorder.h>
#include <PlotWerk/SoGDIVectorOutput.h>
#include <PlotWerk/SoVectorizeGDIAction.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoMarkerSet.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "../../../libPlotWerk/src/hlhsr/SoHLHSRVectorize.h"
#include "plotwerk/support/OpenedBackend.h"
#include "plotwerk/support/SceneText.h"
#include "support/PrintServer.h"

namespace {

using Backend = OpenedBackend<SoVectorizeGDIAction>;

/// "Name a b ..." of the recorded calls among `names`, all on a device context, which is
/// left out.
std::vector<std::string> shown(const SoGDIRecorder& recorder, const std::set<std::string>& names) {
    std::vector<std::string> lines;
    for (const SoGDICall& call : recorder.getCalls()) {
        if (!names.count(call.name)) continue;
        std::string line = call.name;
        for (size_t i = 1; i < call.args.size(); ++i) line += " " + std::to_string(call.args[i]);
        lines.push_back(line);
    }
    return lines;
}

class GDICalls : public PrintTest {
  protected:
    SoGDIRecorder recorder;
};

// Each target is set up by the header and finished by the footer; of two viewport clips,
// the second removes the first.
TEST_F(GDICalls, TargetsAreSetUpAndFinished) {
    const std::string dir = ::testing::TempDir();
    const struct {
        const char* name;
        int technology;  // of the application's context; -1 for a metafile
        std::vector<std::string> calls;
    } cases[] = {
        {"metafile", -1, {"SetMapMode 3", "SetWindowOrgEx -1000 -1000"}},
        {"display", DT_RASDISPLAY, {"SetWindowOrgEx -10 267"}},
        {"printer", DT_RASPRINTER, {"StartDocA 40 0", "StartPage", "SetMapMode 3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.clear();
        Backend action;
        HDC dc = c.technology < 0 ? nullptr : SoGDIRecorder::createDevice(c.technology, 600);
        if (dc)
            action.getGDIVectorOutput()->openFile(dc);
        else
            action.getGDIVectorOutput()->openFile((dir + "/plot").c_str());
        action.writeHeader();
        action.setHardwareClip();
        action.setHardwareClip();
        action.writeFooter();
        const std::vector<std::string> calls =
            shown(recorder, {"StartDocA", "StartPage", "SetMapMode", "SetWindowOrgEx"});
        for (const std::string& expected : c.calls)
            EXPECT_NE(std::find(calls.begin(), calls.end(), expected), calls.end()) << expected;
        const std::vector<SoGDICall> clips = recorder.getCalls("SelectClipRgn");
        ASSERT_EQ(clips.size(), 2u);
        EXPECT_NE(clips[0].args.at(1), 0);
        EXPECT_EQ(clips[1].args.at(1), 0);
        const bool printer = c.technology == DT_RASPRINTER;
        EXPECT_EQ(recorder.getCalls("EndDoc").size(), printer ? 1u : 0u);
        EXPECT_EQ(recorder.getCalls("DeleteDC").size(), printer ? 1u : 0u);
        EXPECT_EQ(action.hasPrinter(), printer ? 1 : 0);
        // Every target starts with a white brush selected.
        const SoGDICall brush = recorder.getCalls("CreateSolidBrush").at(0);
        EXPECT_EQ(brush.args.at(0), 0xFFFFFF);
        EXPECT_EQ(recorder.getCalls("SelectObject").at(0).args.at(1), brush.result);
        if (!dc) {
            EXPECT_EQ(recorder.getCalls("CreateEnhMetaFileA").at(0).points.at(0).y, -29700);
            EXPECT_EQ(recorder.getCalls("CreateEnhMetaFileA").at(0).points.at(1).x, 21000);
            EXPECT_TRUE(std::filesystem::exists(dir + "/plot.emf"));
        } else if (!printer) {
            DeleteDC(dc);
        }
    }
}

// Without a print queue the dialog gives no context, and nothing is drawn.
TEST_F(GDICalls, WithoutAPrinterNothingIsDrawn) {
    // The tests' own print service, before the print system is first asked: it remembers
    // the first server it reached.
    PrintServer::shared();
    SoPreferences::setValue("VXN_PWGDI_PRINTER", "plotwerk-no-such-queue");
    Backend action;
    action.getGDIVectorOutput()->openFile();
    print(action, "Cube { }");
    SoPreferences::removeValue("VXN_PWGDI_PRINTER");
    EXPECT_EQ(action.hasPrinter(), 0);
    EXPECT_EQ(recorder.getCalls("PrintDlgA").size(), 1u);
    EXPECT_TRUE(recorder.getCalls("Polygon").empty());
}

// A name ending in ".emf" in any case is kept; any other gets ".emf" appended.
TEST_F(GDICalls, MetafileNamesEndInEmf) {
    const std::string dir = ::testing::TempDir() + "/";
    for (const auto& [name, file] :
         {std::pair{"a", "a.emf"}, {"b.EMF", "b.EMF"}, {"c.wmf", "c.wmf.emf"}}) {
        Backend action;
        action.getGDIVectorOutput()->openFile((dir + name).c_str());
        action.writeHeader();
        action.writeFooter();
        EXPECT_TRUE(std::filesystem::exists(dir + file)) << file;
    }
}

// One metafile as large as the page, each view of 190 mm where it starts: at 10 and 210 mm.
TEST_F(GDICalls, ViewsOfAPageTakeTheirPlaces) {
    Backend action;
    action.getGDIVectorOutput()->openFile((::testing::TempDir() + "/page").c_str());
    SoSeparator* root = readScene("Cube { }");
    printTwoViewsSideBySide(action, root);
    root->unref();
    EXPECT_EQ(recorder.getCalls("CreateEnhMetaFileA").at(0).points.at(1).x, 42000);
    int inView[2] = {0, 0};
    for (const SoGDICall& fill : recorder.getCalls("Polygon")) {
        const int view = fill.points.at(0).x >= 21000;
        for (const auto& p : fill.points) EXPECT_NEAR(p.x, 10500 + 20000 * view, 9500);
        ++inView[view];
    }
    EXPECT_TRUE(inView[0] > 0 && inView[0] == inView[1]);
}

/// A printer context on the recorder, with the header written: 100 logical units a
/// millimetre, y upwards.
class GDIPrimitives : public GDICalls {
  protected:
    void SetUp() override {
        action.getGDIVectorOutput()->openFile(SoGDIRecorder::createDevice(DT_RASPRINTER, 600));
        action.startDocument();
        recorder.clear();
    }
    void TearDown() override { action.writeFooter(); }
    Backend action;
};

// Lines dashed in software restart the pattern at each segment and step along it: a
// segment of 100 logical units, by its drawn pieces. A piece of a longer line (1 mm = 100
// units) starts where the pattern had run to.
TEST_F(GDIPrimitives, PatternsAreDashedInSoftware) {
    const struct {
        unsigned short pattern;
        float phase;
        std::vector<std::string> calls;
    } cases[] = {
        {0xF0F0, 0.0f, {"MoveToEx 0 0", "LineTo 40 0", "MoveToEx 80 0", "LineTo 100 0"}},
        {0x0007, 0.0f, {"MoveToEx 0 0", "LineTo 30 0"}},
        {0x8001, 0.0f, {"MoveToEx 0 0", "LineTo 20 0"}},
        {0xF0F0, 0.4f, {"MoveToEx 0 0", "MoveToEx 40 0", "LineTo 80 0"}},
        {0xF0F0, 0.5f, {"MoveToEx 0 0", "MoveToEx 30 0", "LineTo 70 0"}},
        {0xF0F0, 1.7f, {"MoveToEx 0 0", "LineTo 30 0", "MoveToEx 70 0", "LineTo 100 0"}},
    };
    SoHLHSRVectorize engine(&action, 1);
    for (const auto& c : cases) {
        recorder.clear();
        const SbVec4f ends[2] = {SbVec4f(0, 0, 0, 1), SbVec4f(1, 0, 0, 1)};
        const SbColor black(0, 0, 0);
        engine.printPolyLine(ends, 2, &black, 0, 1.0f, c.pattern, 1, c.phase);
        EXPECT_EQ(shown(recorder, {"MoveToEx", "LineTo", "Polyline"}), c.calls) << c.pattern;
    }
}

// In landscape the page turns a quarter: a point (x, y) lands at (page height - y, x). A
// solid line's miter limit is given in logical units.
TEST_F(GDIPrimitives, LandscapeAndMiterLimit) {
    action.setOrientation(SoVectorizeAction::LANDSCAPE);
    action.line({SbVec4f(1, 2, 0, 1), SbVec4f(3, 2, 0, 1)}, SbColor(0, 0, 0));
    const LONG height = 100 * LONG(action.getDrawingDimensions()[1]);
    const std::vector<POINT> points = recorder.getCalls("Polyline").at(0).points;
    ASSERT_EQ(points.size(), 2u);
    EXPECT_TRUE(points[0].x == height - 200 && points[0].y == 100 && points[1].y == 300);
    EXPECT_EQ(recorder.getCalls("SetMiterLimit").at(0).args.at(1),
              std::lround(100 * action.getMiterLimit()));
}

// Pens and brushes are made only for a new colour, and the one replaced is deleted.
TEST_F(GDIPrimitives, PensAndBrushesAreMadeOncePerColour) {
    const std::vector<SbVec4f> triangle = {{0, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}};
    for (const SbColor& color : {SbColor(1, 0, 0), SbColor(1, 0, 0), SbColor(0, 0, 1)})
        action.fill(triangle, color);
    std::vector<std::string> names;
    for (const SoGDICall& call : recorder.getCalls()) names.push_back(call.name);
    const std::vector<std::string> newColour = {"CreatePen",        "SelectObject", "DeleteObject",
                                                "CreateSolidBrush", "SelectObject", "DeleteObject",
                                                "Polygon"};
    std::vector<std::string> expected = newColour;
    expected.push_back("Polygon");
    expected.insert(expected.end(), newColour.begin(), newColour.end());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(recorder.getCalls("CreateSolidBrush").at(1).args.at(0), 0xFF0000);
}

// A dot of even side leaves out one row and column; a "face : style" font name selects
// the face with the style's weight.
TEST_F(GDIPrimitives, DotsMarkersAndFonts) {
    Backend display;
    display.getGDIVectorOutput()->openFile(SoGDIRecorder::createDevice(DT_RASDISPLAY));
    display.setNominalWidth(1.0f);
    display.startDocument();
    display.dots({SbVec4f(100, 100, 0, 1)}, {SbColor(0, 0, 0)}, 4.0f);
    EXPECT_EQ(shown(recorder, {"Rectangle"}), std::vector<std::string>{"Rectangle 98 102 101 99"});
    display.printText2(SbVec4f(0, 0, 0, 1), SbColor(0, 0, 0), "Arial : Bold", 10.0f, "text", 1,
                       0.0f);
    const SoGDICall font = recorder.getCalls("CreateFontA").at(0);
    EXPECT_EQ(font.text, "Arial");
    EXPECT_EQ(font.args.at(4), FW_BOLD);
    display.writeFooter();
    // A bitmap marker is a square for each set bit.
    auto* marks = new SoMarkerSet;
    marks->ref();
    marks->markerIndex = SoMarkerSet::PLUS_9_9;
    const SbVec4f point(10, 10, 0, 1);
    const SbColor black(0, 0, 0);
    action.printPolyMark(&point, 1, &black, 0, marks);
    marks->unref();
    int set = 0;
    for (int bit = 0; bit < 81; ++bit)
        set += SoMarkerSet::isMarkerBitSet(SoMarkerSet::PLUS_9_9, bit);
    EXPECT_EQ(static_cast<int>(recorder.getCalls("Polygon").size()), set);
}

// Images go as 24-bit bitmaps, rows padded to 4 bytes; in landscape the bitmap is turned
// with the page: its rows are the source's columns.
TEST_F(GDIPrimitives, ImagesInBothOrientations) {
    const unsigned char pixels[] = {255, 0, 0, 0, 255, 0};  // red, green
    const struct {
        SoVectorizeAction::Orientation orientation;
        std::vector<long long> header;  // width, height
        std::vector<unsigned char> bits;
    } cases[] = {
        {SoVectorizeAction::PORTRAIT, {2, 1}, {0, 0, 255, 0, 255, 0, 0, 0}},
        {SoVectorizeAction::LANDSCAPE, {1, 2}, {0, 255, 0, 0, 0, 0, 255, 0}},
    };
    for (const auto& c : cases) {
        recorder.clear();
        action.setOrientation(c.orientation);
        SbVec2s size(2, 1);
        action.printImage(SbVec4f(10, 10, 0, 1), pixels, size, size, 3, SoImage::LEFT,
                          SoImage::BOTTOM);
        const SoGDICall call = recorder.getCalls("StretchDIBits").at(0);
        EXPECT_EQ(std::vector<long long>(call.args.begin() + 10, call.args.begin() + 12), c.header);
        EXPECT_EQ(call.bytes, c.bits);
        EXPECT_EQ(call.args.at(4) < 0, c.orientation == SoVectorizeAction::PORTRAIT);
    }
}

}  // namespace
