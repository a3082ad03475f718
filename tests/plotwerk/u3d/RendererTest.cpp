// The 3D export's draw-style layer against the recording engine: the renderer that the draw
// style and settings choose, what it sends and announces, and the pseudo lighting. A vertex is
// named by its x coordinate (the quad renderers send copies); a call by its kind: "L01" is a line.

#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoToU3DAction.h>
#include <PlotWerk/SoU3DShapeDispatcher.h>
#include <Tessara/details/SoFaceDetail.h>
#include <Tessara/misc/SoLibPdf.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoShape.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "../../../libPlotWerk/src/u3d/SoU3DExportSettings.h"
#include "../../engine/RecordingEngine.h"
#include "support/ReadScene.h"

namespace {

using P = SoToU3DActionPrivate;
using Renderer = P::ISoRenderPrimitivesUsingDrawStyle;
using Cb = SoCallbackAction*;
using N = const SoNode*;
namespace Setting = SoU3DExportSettings;

/// What the engine was sent, each primitive by its kind and its vertices' names: "T012 L01".
std::string sent() {
    std::string text;
    for (const std::string& line : recording_engine::log()) {
        std::istringstream call(line);
        std::string slot, name, word;
        call >> slot >> name;
        if (name.rfind("add", 0) != 0) continue;
        text += (text.empty() ? "" : " ") + name.substr(3, 1);
        // "x y z | x y z": every fourth word is an x.
        for (int i = 0; call >> word; ++i)
            if (i % 4 == 0) text += std::to_string(std::lround(std::stof(word)));
    }
    return text;
}

/// The action the renderers reach the engine through; the engine is the test's, not a module's.
struct TestAction : SoToU3DAction {
    explicit TestAction(P* engine) { setImpl(engine); }
    ~TestAction() override { setImpl(nullptr); }
};

class U3DRendererTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SoPlotWerk::init();
        SoPreferences::setValue("VXN_U3D_ENGINE", RECORDING_ENGINE);
    }
    static void TearDownTestSuite() {
        SoLibPdf::release();
        SoPlotWerk::finish();
    }
};

/// Only this layer's settings: other tests of the program keep theirs.
void forgetSettings() {
    for (const char* name :
         {Setting::kWithDrawStyle, Setting::kUsePseudoLighting, Setting::kWireframeNormalOffset})
        SoPreferences::removeValue(name);
}

/// A triangle ("012") or a line ("03"), and its face; a negative face: no face detail.
using Input = std::pair<const char*, int>;

/// A shape drawn in `style` under the settings (-1: unset) making `inputs`, what the engine is
/// to be sent, and the counts the renderer is to rewrite and their rewriting.
struct Case {
    const char* style;
    int withStyle;
    float offset, normalOffset;
    std::vector<Input> inputs;
    const char* sent;
    std::vector<std::uint32_t> counts, adjusted;
};

using Shape = std::pair<SoU3DShapeDispatcher*, const Case*>;

// The vertices are rewritten in place for each input, so a renderer that kept pointers
// instead of copies would send the later names.
void send(Renderer* renderer, const Input& in) {
    const char* ids = in.first;
    SoFaceDetail face;
    face.setFaceIndex(in.second);
    SoPrimitiveVertex v[3];
    for (int i = 0; ids[i] != '\0'; ++i) {
        v[i].setPoint(SbVec3f(ids[i] - '0', 0, 0));
        v[i].setDetail(in.second < 0 ? nullptr : &face);
    }
    ids[2] != '\0' ? renderer->triangle(&v[0], &v[1], &v[2]) : renderer->line(&v[0], &v[1]);
}

// Asks what the engine would, and begins the shape twice, as a shape inside a shape does: the
// inner one must share the renderer.
SoCallbackAction::Response drawShape(void* data, Cb cb, N) {
    SoU3DShapeDispatcher* dispatcher = static_cast<Shape*>(data)->first;
    const Case& c = *static_cast<Shape*>(data)->second;
    dispatcher->beginShape(cb);
    Renderer* renderer = dispatcher->getRenderer();
    std::vector<std::uint32_t> n = c.counts;
    renderer->adjustCounts(&n[0], &n[1], &n[2], &n[3]);
    EXPECT_EQ(n, c.adjusted);
    EXPECT_EQ(renderer->getNormalOffset(), c.normalOffset);
    renderer->begin(cb);
    dispatcher->beginShape(cb);
    EXPECT_EQ(dispatcher->getRenderer(), renderer);
    for (const Input& in : c.inputs) send(renderer, in);
    dispatcher->endShape();
    EXPECT_EQ(dispatcher->getRenderer(), renderer);
    renderer->end();
    dispatcher->endShape();
    EXPECT_EQ(dispatcher->getRenderer(), nullptr);
    return SoCallbackAction::PRUNE;
}

// A square 0-1-2-3 split along its diagonal 0-2, as shapes split quads. Counts are (quads,
// triangles, lines, points): an outlined triangle takes three lines, a quad four, a corner or
// line end a point.
TEST_F(U3DRendererTest, TheDrawStyleChoosesWhatAShapeSends) {
    // `rest` completes the square's face; `apart` is the same triangle on a face of its own.
    const Input tri{"012", 7}, rest{"023", 7}, apart{"023", 8}, ln{"03", 7};
    // One case a line, so that the table reads as one.
    // clang-format off
    const Case cases[] = {
        {"FILLED", -1, 0, 0, {tri, ln}, "T012 L03", {2, 4, 1, 1}, {2, 4, 1, 1}},
        {"POINTS", -1, 0, 0, {tri, ln}, "P0 P1 P2 P0 P3", {1, 2, 3, 4}, {1, 0, 0, 16}},
        {"INVISIBLE", 1, 0, 0, {tri, ln}, "", {1, 2, 3, 4}, {1, 0, 0, 0}},
        {"LINES", 1, .5, 0, {tri, rest}, "L01 L12 L20 L02 L23 L30", {0, 4, 0, 0}, {0, 0, 12, 0}},
        {"LINES", 1, 0, 0, {ln}, "L03", {0, 0, 2, 0}, {0, 0, 2, 0}},
        {"LINES", -1, 0, 0, {tri, rest, ln}, "L01 L12 L23 L30 L03", {2, 4, 0, 0}, {2, 0, 8, 0}},
        {"LINES", 2, 0, 0, {tri, apart}, "L01 L12 L20 L02 L23 L30", {0, 2, 3, 5}, {0, 0, 9, 5}},
        {"LINES", -1, 0, 0, {tri}, "L01 L12 L20", {1, 3, 0, 0}, {1, 0, 7, 0}},
        {"LINES", -1, 0, 0, {{"012", -1}}, "", {0, 1, 0, 0}, {0, 0, 3, 0}},
        {"LINES", -1, .5, .5, {tri, rest, ln}, "O01 O12 O23 O30 L03", {0, 4, 2, 0}, {0, 0, 14, 0}},
        {"LINES", -1, .5, .5, {tri, apart}, "O01 O12 O20 L02 L23 L30", {1, 2, 0, 0}, {1, 0, 4, 0}},
        {"LINES", 0, 0, 0, {tri, rest}, "T012 T023", {0, 2, 0, 0}, {0, 2, 0, 0}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.style) + " " + std::to_string(c.withStyle) + " " + c.sent);
        if (c.withStyle >= 0) SoPreferences::setInt(Setting::kWithDrawStyle, c.withStyle);
        SoPreferences::setFloat(Setting::kWireframeNormalOffset, c.offset);
        recording_engine::reset();
        P* engine = SoLibPdf::instance()->m_so_init_u3d();
        TestAction action(engine);
        SoU3DShapeDispatcher dispatcher(&action);
        Shape shape{&dispatcher, &c};
        forgetSettings();
        SoCallbackAction traversal;
        traversal.addPreCallback(SoShape::getClassTypeId(), drawShape, &shape);
        SoSeparator* root = readScene(std::string("DrawStyle { style ") + c.style + " } Cube {}");
        traversal.apply(root);
        root->unref();
        SoLibPdf::instance()->m_so_finish_u3d(engine);
        EXPECT_EQ(sent(), c.sent);
    }
}

// The light shines from (1, 1, 2) towards the origin: a normal along (1, 1, 2) faces it, one
// along (1, -1, 0) is perpendicular to it, one along (0, 0, -1) meets it at 2/sqrt(6). Each
// normal's intensities are those of the settings 0 (old), 1 (new), 2 and 5 (none).
TEST_F(U3DRendererTest, PseudoLightingBrightensByTheAngleToTheLight) {
    const float s = 1 / std::sqrt(6.0f);
    const std::pair<SbVec3f, std::vector<float>> cases[] = {{{1, -1, 0}, {.5, .5, 1, 1}},
                                                            {{1, 1, 2}, {.5, 1, 1, 1}},
                                                            {{-1, -1, -2}, {1, 1, 1, 1}},
                                                            {{0, 0, -1}, {.5f + s, .5f + s, 1, 1}}};
    const int settings[] = {0, 1, 2, 5};
    for (int i = 0; i < 4; ++i) {
        SoPreferences::setInt(Setting::kUsePseudoLighting, settings[i]);
        SoU3DShapeDispatcher dispatcher(nullptr);
        forgetSettings();
        for (auto [normal, expected] : cases) {
            normal.normalize();
            EXPECT_NEAR(dispatcher.getPseudoLighting()->intensity(normal), expected[i], 1e-6f)
                << settings[i] << ": " << normal[0] << " " << normal[1] << " " << normal[2];
        }
    }
}

}  // namespace
