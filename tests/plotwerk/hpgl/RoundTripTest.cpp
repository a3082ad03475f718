// Round trips: scenes printed as HP-GL/2 and read back by a decoder written from the command
// language, compared with the primitives the traversal handed to the backend. Positions must
// come back within a plotter unit (1/40 mm), pens as the colour cube maps the colours, labels
// with their text and direction.

#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>

#include <cmath>

#include "../../../libPlotWerk/src/frame/SoColorByte.h"
#include "../../../libPlotWerk/src/frame/SoColorCube.h"
#include "plotwerk/hpgl/HPGLFixture.h"
#include "plotwerk/support/RecordingAction.h"

namespace {

constexpr double kUnitsPerMm = 40.0;
constexpr double kDrawingAtMm = 10.0;  // where the default page puts the drawing
// The examples, and a label turned with its annotation, which none of them has.
const std::vector<std::string> kScenes = {
    "lines_and_markers.tsc", "fills_and_patterns.tsc", "lit_shapes.tsc", "text.tsc",
    "#Tessara V1.0 ascii\nOrthographicCamera { height 20 } Rotation { rotation 0 0 1 0.5 } "
    "AnnoText3 { string \"turned\" }"};

// An example by its file name, or a scene written out.
SoSeparator* readExample(const std::string& scene) {
    SoInput in;
    if (scene[0] == '#')
        in.setBuffer(scene.data(), scene.size());
    else if (!in.openFile((std::string(TESSARA_EXAMPLES_DIR) + "/" + scene).c_str()))
        return nullptr;
    return SoDB::readAll(&in);
}

int cubeIndex(const SbColor& c) {
    return SoColorCube::indexOf(SoColorByte::of(c[0]), SoColorByte::of(c[1]),
                                SoColorByte::of(c[2]));
}

HPGLPoint onSheet(const SbVec4f& p) {
    return HPGLPoint{(p[0] + kDrawingAtMm) * kUnitsPerMm, (p[1] + kDrawingAtMm) * kUnitsPerMm};
}

double distance(const HPGLPoint& a, const HPGLPoint& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Every point that came back lies within a unit of one of the drawn points, in order; every
// drawn point lies within a unit (two along a diagonal) of what came back; the ends agree.
::testing::AssertionResult sameTrack(const std::vector<SbVec4f>& drawn,
                                     const std::vector<HPGLPoint>& read) {
    const double tolerance = 1.5;
    std::size_t next = 0;
    for (const HPGLPoint& p : read) {
        while (next < drawn.size() && distance(onSheet(drawn[next]), p) > tolerance) ++next;
        if (next == drawn.size())
            return ::testing::AssertionFailure()
                   << "point (" << p.x << ", " << p.y << ") matches no drawn point in order";
    }
    for (const SbVec4f& d : drawn) {
        double nearest = 1e30;
        for (const HPGLPoint& p : read) nearest = std::min(nearest, distance(onSheet(d), p));
        if (nearest > 2.0 * tolerance)
            return ::testing::AssertionFailure() << "drawn point (" << d[0] << ", " << d[1]
                                                 << ") mm is " << nearest << " units from the plot";
    }
    if (read.empty() || distance(onSheet(drawn.back()), read.back()) > tolerance)
        return ::testing::AssertionFailure() << "the ends differ";
    return ::testing::AssertionSuccess();
}

// A drawn polyline shorter than a unit has no pen-down step and leaves no path.
bool spansAUnit(const std::vector<SbVec4f>& points) {
    for (const SbVec4f& p : points)
        if (std::fabs(p[0] - points[0][0]) * kUnitsPerMm >= 1.0 ||
            std::fabs(p[1] - points[0][1]) * kUnitsPerMm >= 1.0)
            return true;
    return false;
}

std::vector<RecordedCall> ofKind(const std::vector<RecordedCall>& calls, RecordedCall::Kind kind) {
    std::vector<RecordedCall> found;
    for (const RecordedCall& call : calls)
        if (call.kind == kind) found.push_back(call);
    return found;
}

// Both actions get the same page; the border is left out, its frame is not a primitive of the
// scene (it has its own test).
class HPGLRoundTrip : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        SoPlotWerk::init();
        root = readExample(GetParam());
        ASSERT_NE(root, nullptr);
        root->ref();
        RecordingAction recorder;
        recorder.setBorder(0.0f);
        recorder.apply(root);
        calls = recorder.getCalls();
        HPGLTestAction plotter;
        plotter.setBorder(0.0f);
        plotter.apply(root);
        plot = HPGLDecoder::decode(plotter.text());
        ASSERT_TRUE(plot.clean()) << plot.errors.front();
        EXPECT_EQ(plot.pages, 1);
    }
    void TearDown() override {
        if (root) root->unref();
        SoPlotWerk::finish();
    }

    SoSeparator* root = nullptr;
    std::vector<RecordedCall> calls;
    HPGLPlot plot;
};

// Polylines come back with their pen, width and line type, inside the input window of their
// viewport; polygons as filled outlines in their pen; marks as dots and labels with their text
// and direction, both at truncated positions.
TEST_P(HPGLRoundTrip, EveryPrimitiveComesBackInItsPen) {
    std::vector<RecordedCall> lines;
    for (const RecordedCall& call : ofKind(calls, RecordedCall::POLYLINE))
        if (spansAUnit(call.points)) lines.push_back(call);
    ASSERT_EQ(plot.polylines.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const HPGLPolyline& read = plot.polylines[i];
        EXPECT_TRUE(sameTrack(lines[i].points, read.points)) << "polyline " << i;
        EXPECT_EQ(read.pen.number, cubeIndex(lines[i].colors[0])) << "polyline " << i;
        const float width = lines[i].lineWidth == 0.0f ? 1.0f : lines[i].lineWidth;
        EXPECT_NEAR(read.pen.width, width * 25.4 / 72.0, 1e-5);
        EXPECT_EQ(read.lineType.solid, lines[i].linePattern == 0xFFFF) << "polyline " << i;
        ASSERT_TRUE(read.window.set);
        for (const HPGLPoint& p : read.points) {
            EXPECT_GE(p.x, read.window.lowerLeft.x - 1.0);
            EXPECT_LE(p.x, read.window.upperRight.x + 1.0);
            EXPECT_GE(p.y, read.window.lowerLeft.y - 1.0);
            EXPECT_LE(p.y, read.window.upperRight.y + 1.0);
        }
    }

    const std::vector<RecordedCall> polygons = ofKind(calls, RecordedCall::POLYGON);
    ASSERT_EQ(plot.polygons.size(), polygons.size());
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const HPGLPolygon& read = plot.polygons[i];
        std::vector<SbVec4f> closed = polygons[i].points;
        closed.push_back(closed.front());
        EXPECT_TRUE(sameTrack(closed, read.points)) << "polygon " << i;
        EXPECT_EQ(read.pen.number, cubeIndex(polygons[i].colors[0])) << "polygon " << i;
    }

    const std::vector<HPGLSymbol>& symbols = plot.symbols;
    std::size_t k = 0;
    for (const RecordedCall& call : calls) {
        if (call.kind != RecordedCall::POLYMARK_DOTS && call.kind != RecordedCall::POLYMARK_MARKERS)
            continue;
        for (std::size_t i = 0; i < call.points.size(); ++i, ++k) {
            ASSERT_LT(k, symbols.size());
            const HPGLPoint p = onSheet(call.points[i]);
            EXPECT_EQ(xy({symbols[k].at}), (Points{{std::trunc(p.x), std::trunc(p.y)}})) << k;
            EXPECT_EQ(symbols[k].pen.number, cubeIndex(call.colors[call.multicolor ? i : 0])) << k;
            EXPECT_EQ(symbols[k].symbol, '.');
        }
    }
    EXPECT_EQ(k, symbols.size());

    const std::vector<RecordedCall> texts = ofKind(calls, RecordedCall::TEXT2);
    ASSERT_EQ(plot.labels.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const HPGLLabel& read = plot.labels[i];
        // Text that Latin-1 cannot hold is written as UTF-16 code units, high byte first.
        const SbString drawn(texts[i].string);
        std::string text = drawn.isUnicode() ? "" : drawn.toLatin1();
        for (const char16_t* unit = drawn.isUnicode() ? drawn.toUtf16() : u""; *unit; ++unit)
            text += {static_cast<char>(*unit >> 8), static_cast<char>(*unit & 0xFF)};
        EXPECT_EQ(read.bytes, text) << "label " << i;
        const HPGLPoint at = onSheet(texts[i].origin);
        EXPECT_EQ(xy({read.at}), (Points{{std::trunc(at.x), std::trunc(at.y)}})) << "label " << i;
        EXPECT_NEAR(read.run, std::cos(texts[i].angle), 1e-5);
        EXPECT_NEAR(read.rise, std::sin(texts[i].angle), 1e-5);
        EXPECT_EQ(read.pen.number, cubeIndex(texts[i].color)) << "label " << i;
        EXPECT_NEAR(read.height, texts[i].fontSize, 0.005) << "label " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, HPGLRoundTrip, ::testing::ValuesIn(kScenes));

// The second view is the first moved 200 mm to the right.
TEST_F(HPGLTest, TwoViewsShareOnePlotSideBySide) {
    SoSeparator* root = readExample("lines_and_markers.tsc");
    ASSERT_NE(root, nullptr);
    root->ref();
    printTwoViewsSideBySide(*action, root);
    root->unref();
    const HPGLPlot plot = decoded();
    EXPECT_EQ(plot.pages, 1);
    EXPECT_EQ(plot.plotSize, (std::vector<double>{16800, 11880}));
    ASSERT_FALSE(plot.polylines.empty());
    ASSERT_EQ(plot.polylines.size() % 2, 0u);
    const std::size_t half = plot.polylines.size() / 2;
    for (std::size_t i = 0; i < half; ++i) {
        const HPGLPoint& a = plot.polylines[i].points.front();
        const HPGLPoint& b = plot.polylines[half + i].points.front();
        EXPECT_NEAR(b.x - a.x, 8000.0, 1.0) << "polyline " << i;
        EXPECT_NEAR(b.y, a.y, 1.0) << "polyline " << i;
    }
}

}  // namespace
