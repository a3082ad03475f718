// The default print operations write a readable trace: its points and colours must be what
// the traversal handed them, whatever the process locale.

#include <clocale>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "plotwerk/frame/FrameTestAction.h"
#include "plotwerk/support/SceneText.h"

namespace {

const char kSmallScene[] = R"(
  OrthographicCamera { position 0 0 5  height 2  nearDistance 1  farDistance 10 }
  LightModel { model BASE_COLOR }
  BaseColor { rgb 1 0 0 }
  Coordinate3 { point [ -0.5 -0.5 0, 0.5 -0.5 0, 0.1234 0.5 0 ] }
  FaceSet { }
  BaseColor { rgb 0 0 1 }
  DrawStyle { lineWidth 2 }
  Coordinate3 { point [ -1 0 0, 0.0124 0.5 0, 1 0 0 ] }
  LineSet { }
  PointSet { }
  MaterialBinding { value PER_VERTEX }
  BaseColor { rgb [ 1 1 0, 0 1 1 ] }
  Coordinate3 { point [ -1 -0.8 0, 1 -0.8 0 ] }
  LineSet { }
  Translation { translation 0.5 0.5 0 }
  Font { name "Helvetica"  size 12 }
  Text2 { string [ "hi", "there" ]  spacing 2 }
)";

std::string traceOf(SoSeparator* root) {
    FrameTestAction action;  // keeps every default print operation: its output is the trace
    action.setDrawingDimensions(100, 100);
    ::testing::internal::CaptureStdout();
    action.apply(root);
    std::fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
}

/// The points and colours of a trace, in order, as "x y" and "color RRGGBB".
std::vector<std::string> tokensOf(const std::string& trace) {
    static const std::regex token("([-0-9.]+) - ([-0-9.]+)|color [=:] (\\w+)");
    std::vector<std::string> tokens;
    for (std::sregex_iterator m(trace.begin(), trace.end(), token), end; m != end; ++m)
        tokens.push_back((*m)[3].matched ? "color " + (*m)[3].str()
                                         : (*m)[1].str() + " " + (*m)[2].str());
    return tokens;
}

using TraceOutputTest = PrintTest;

TEST_F(TraceOutputTest, TraceShowsThePointsAndColoursOfThePage) {
    SoSeparator* root = readScene(kSmallScene);
    ASSERT_NE(root, nullptr);
    const std::string trace = traceOf(root);
    const bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    const std::string german = traceOf(root);
    std::setlocale(LC_NUMERIC, "C");
    root->unref();
    // 100 x 100 mm: normalised x, y land at (x + 1) × 50 mm. The second text line sits
    // 12 × (25.4 / 72) × 2 mm lower.
    const std::vector<std::string> expected = {
        "color FF0000", "25.00 25.00",  "75.00 25.00",  "56.17 75.00",   // the triangle
        "color 0000FF", "0.00 50.00",   "50.62 75.00",  "100.00 50.00",  // the polyline
        "color 0000FF", "0.00 50.00",   "50.62 75.00",  "100.00 50.00",  // its points
        "0.00 10.00",   "color FFFF00", "100.00 10.00", "color 00FFFF",  // two colours
        "color FFFF00", "75.00 75.00",  "color FFFF00", "75.00 66.53"};  // two text lines
    EXPECT_EQ(tokensOf(trace), expected) << trace;
    EXPECT_NE(trace.find("string=there"), std::string::npos) << trace;
    EXPECT_TRUE(!switched || german == trace) << german;
}

}  // namespace
