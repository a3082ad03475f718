// The default print operations: the trace they write, byte for byte, and a real scene
// file printed through them.

#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeAction.h>

#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

namespace {

/// A backend that keeps every default print operation: its whole output is the trace.
class TraceAction : public SoVectorizeAction {
protected:
    void writeHeader() override {}
    void writeFooter() override {}
    void setHardwareClip() override {}
    void printBorder() override {}
    void printBackground() override {}
};

class TraceOutputTest : public ::testing::Test {
protected:
    void SetUp() override { SoPlotWerk::init(); }
    void TearDown() override { SoPlotWerk::finish(); }

    static SoSeparator* read(SoInput& in) {
        SoSeparator* root = SoDB::readAll(&in);
        if (root) root->ref();
        return root;
    }
    static std::string traceOf(SoSeparator* root, float width, float height) {
        TraceAction action;
        action.setDrawingDimensions(width, height);
        ::testing::internal::CaptureStdout();
        action.apply(root);
        std::fflush(stdout);
        return ::testing::internal::GetCapturedStdout();
    }
};

const char kSmallScene[] = R"(#Tessara V1.0 ascii
Separator {
  OrthographicCamera { position 0 0 5  height 2  nearDistance 1  farDistance 10 }
  LightModel { model BASE_COLOR }
  BaseColor { rgb 1 0 0 }
  Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0 0.5 0 ] }
  FaceSet { }
  BaseColor { rgb 0 0 1 }
  DrawStyle { lineWidth 2 }
  Coordinate3 { point [ -1 0 0, 0 0.5 0, 1 0 0 ] }
  LineSet { }
  PointSet { }
  Translation { translation 0.5 0.5 0 }
  Font { name "Helvetica"  size 12 }
  Text2 { string [ "hi", "there" ]  spacing 2 }
}
)";

// 100 x 100 mm: normalised x, y land at (x + 1) × 50 mm.
const char kExpectedTrace[] =
    "Unicolor Polygon drawing  (color = FF0000)\n"
    "(25.00 - 25.00)\n"
    "(75.00 - 25.00)\n"
    "(50.00 - 75.00)\n"
    "Unicolor Line drawing  (thickness : 2.000000 , pattern : FFFF , color = 0000FF)\n"
    "      (0.00 - 50.00)\n"
    "      (50.00 - 75.00)\n"
    "      (100.00 - 50.00)\n"
    "Unicolor Point drawing  (size : 0.000000, color = 0000FF)\n"
    "      (0.00 - 50.00)\n"
    "      (50.00 - 75.00)\n"
    "      (100.00 - 50.00)\n"
    "Text 2D color : 0000FF\n"
    "Text origin = 75.00 - 75.00\n"
    "font_name=Helvetica font_size=12.000000 string=hi justif=1 angle=0.000000\n"
    "Text 2D color : 0000FF\n"
    // The second line sits 12 × (25.4 / 72) × 2 mm lower.
    "Text origin = 75.00 - 66.53\n"
    "font_name=Helvetica font_size=12.000000 string=there justif=1 angle=0.000000\n";

TEST_F(TraceOutputTest, SmallSceneTraceIsExact) {
    SoInput in;
    in.setBuffer(kSmallScene, std::strlen(kSmallScene));
    SoSeparator* root = read(in);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(traceOf(root, 100, 100), kExpectedTrace);
    root->unref();
}

TEST_F(TraceOutputTest, TraceNumbersIgnoreTheProcessLocale) {
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    SoInput in;
    in.setBuffer(kSmallScene, std::strlen(kSmallScene));
    SoSeparator* root = read(in);
    ASSERT_NE(root, nullptr);
    const std::string trace = traceOf(root, 100, 100);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(trace, kExpectedTrace);
    root->unref();
}

TEST_F(TraceOutputTest, ExampleSceneStaysOnTheDrawingArea) {
    SoInput in;
    ASSERT_TRUE(in.openFile(TESSARA_EXAMPLES_DIR "/lit_shapes.tsc"));
    SoSeparator* root = read(in);
    ASSERT_NE(root, nullptr);
    const std::string trace = traceOf(root, 190, 277);
    root->unref();

    int polygons = 0, points = 0;
    std::istringstream lines(trace);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("Unicolor Polygon drawing", 0) == 0) ++polygons;
        float x = 0, y = 0;
        if (std::sscanf(line.c_str(), " (%f - %f)", &x, &y) == 2) {
            ++points;
            EXPECT_GE(x, -0.005f);
            EXPECT_LE(x, 190.005f);
            EXPECT_GE(y, -0.005f);
            EXPECT_LE(y, 277.005f);
        }
    }
    // Four lit solids and a pyramid: hundreds of facets, every one on the page.
    EXPECT_GT(polygons, 200);
    EXPECT_GE(points, 3 * polygons);
}

}  // namespace
