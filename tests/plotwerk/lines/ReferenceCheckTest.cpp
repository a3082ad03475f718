// The hidden-line print against OpenGL's hidden-line picture of the same scene: faces filled
// in the paper's colour and pushed back by a polygon offset, then the edges of the same
// triangles drawn over them in black. The depth buffer lets through exactly the edges no
// nearer face covers, and both sides outline the same triangles (shapes reach the print and
// the screen as triangles), so a printed line where the picture has no ink is a hidden edge
// printed, and ink that no printed line comes near is a visible edge lost. Rasters round a
// line a pixel either way and the offset lets a piercing edge through a pixel early, so a
// point agrees when what it looks for lies within a pixel around it.

#include <PlotWerk/SoVectorOutput.h>
#include <PlotWerk/SoVectorizeHPGLAction.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "plotwerk/lines/LineScenes.h"
#include "plotwerk/support/OpenedBackend.h"
#include "plotwerk/support/SceneText.h"
#include "support/GhostscriptRender.h"
#include "support/HPGLDecoder.h"

namespace {

constexpr float kPage = 100.0f;  // millimetres; the view square -1 .. 1 spans it
constexpr int kPixels = 400;
constexpr double kTarget = 0.99;  // share of points that must agree, on each side

using Ink = std::vector<char>;  // kPixels x kPixels, rows from the bottom as OpenGL has them

bool inkNear(const Ink& ink, int x, int y, int reach = 1) {  // within reach pixels
    for (int v = std::max(y - reach, 0); v <= std::min(y + reach, kPixels - 1); ++v)
        for (int u = std::max(x - reach, 0); u <= std::min(x + reach, kPixels - 1); ++u)
            if (ink[v * kPixels + u]) return true;
    return false;
}

Ink hiddenLinePicture(const std::string& camera, const std::string& shapes) {
    SoSeparator* root = readScene(camera + " LightModel { model BASE_COLOR } Separator {" +
                                  " BaseColor { rgb 1 1 1 } PolygonOffset { } DEF shapes" +
                                  " Separator { " + shapes + " } } BaseColor { rgb 0 0 0 }" +
                                  " DrawStyle { style LINES } USE shapes");
    SoOffscreenRenderer renderer(SbViewportRegion(kPixels, kPixels));
    renderer.setBackgroundColor(SbColor(1, 1, 1));
    Ink ink(kPixels * kPixels, 0);
    if (root && renderer.render(root))
        for (int i = 0; i < kPixels * kPixels; ++i) ink[i] = renderer.getBuffer()[4 * i] < 128;
    if (root) root->unref();
    return ink;
}

/// The shares of points every pixel along the printed lines with ink around them, and of
/// the picture's ink (off its border) with a printed line around it.
std::pair<double, double> agreement(const std::vector<RecordedCall>& lines, const Ink& picture) {
    Ink printed(kPixels * kPixels, 0);
    int samples = 0, onInk = 0, ink = 0, inkPrinted = 0;
    for (const RecordedCall& line : lines)
        for (size_t i = 0; i + 1 < line.points.size(); ++i) {
            const SbVec4f a = line.points[i] * (kPixels / kPage),
                          b = line.points[i + 1] * (kPixels / kPage);
            const int n = 2 * int(std::ceil(std::hypot(b[0] - a[0], b[1] - a[1])));
            for (int k = 0; k <= n; ++k) {  // every half pixel; every other one is a sample
                const SbVec4f p = a + (b - a) * (n ? float(k) / n : 0.0f);
                const int x = int(std::lround(p[0] - 0.5f)), y = int(std::lround(p[1] - 0.5f));
                if (k % 2 == 0) ++samples, onInk += inkNear(picture, x, y);
                if (x >= 0 && y >= 0 && x < kPixels && y < kPixels) printed[y * kPixels + x] = 1;
            }
        }
    for (int y = 2; y < kPixels - 2; ++y)
        for (int x = 2; x < kPixels - 2; ++x)
            if (picture[y * kPixels + x]) ++ink, inkPrinted += inkNear(printed, x, y);
    return {samples ? double(onInk) / samples : 0.0, ink ? double(inkPrinted) / ink : 0.0};
}

std::vector<RecordedCall> printedLines(const std::string& text, SoVectorizeAction::HLHSRMode mode) {
    auto action = makeAction(kPage);
    action->setHLHSRMode(mode);
    print(*action, text);
    EXPECT_EQ(action->count(RecordedCall::POLYGON), 0u) << "only lines are printed";
    return action->ofKind(RecordedCall::POLYLINE);
}

using HiddenLineReference = PrintTest;

// Each scene printed with hidden lines removed agrees with the picture on both sides; all
// its edges printed without removal must not, or the agreement would prove nothing.
TEST_F(HiddenLineReference, PrintShowsTheEdgesTheScreenShows) {
    const std::string flat = "OrthographicCamera { position 0 0 5  height 2.6 }";
    const struct {
        std::string name, camera, shapes;
    } scenes[] = {
        {"20 triangles", flat, randomTriangles(7, 20)},
        {"32 triangles", flat, randomTriangles(20260, 32)},
        {"40 triangles", flat, randomTriangles(4242, 40)},
        {"sphere", "PerspectiveCamera { position 0 0 4 }",
         "Rotation { rotation 1 0 0 0.5 } Complexity { value 0.4 } Sphere { }"},
        {"torus knot", "PerspectiveCamera { position 0 0 11  nearDistance 5  farDistance 20 }",
         torusKnot()},
    };
    for (const auto& scene : scenes) {
        SCOPED_TRACE(scene.name);
        const Ink picture = hiddenLinePicture(scene.camera, scene.shapes);
        const auto [onInk, inkPrinted] =
            agreement(printedLines(scene.camera + " " + scene.shapes,
                                   SoVectorizeAction::HIDDEN_LINES_REMOVAL),
                      picture);
        EXPECT_GE(onInk, kTarget) << "printed lines on visible edges";
        EXPECT_GE(inkPrinted, kTarget) << "visible edges printed";
        const auto all = printedLines(scene.camera + " DrawStyle { style LINES } " + scene.shapes,
                                      SoVectorizeAction::HLHSR_OFF);
        EXPECT_LT(agreement(all, picture).first, kTarget) << "all edges, hidden ones too";
    }
}

/// Both backends print a hidden-line cube on a drawing of 4 inches at the sheet's corner;
/// the picture is 400 pixels across it.
template <class Backend>
std::string cubePrint(const std::string& text) {
    OpenedBackend<Backend> action;
    action.setDrawingDimensions(4, 4, SoVectorizeAction::INCH);
    action.setStartPosition(0, 0);
    action.setBorder(0.0f);
    action.setHLHSRMode(SoVectorizeAction::HIDDEN_LINES_REMOVAL);
    SoSeparator* root = readScene(text);
    action.apply(root);
    root->unref();
    return action.text();
}

/// The share of a's ink with b's ink within two pixels.
double nearInk(const Ink& a, const Ink& b) {
    int ink = 0, near = 0;
    for (int i = 0; i < kPixels * kPixels; ++i)
        if (a[i]) ++ink, near += inkNear(b, i % kPixels, i / kPixels, 2);
    return ink ? double(near) / ink : 0.0;
}

// The PostScript print as Ghostscript renders it and the HP-GL/2 plot as its reader decodes
// it put their lines where the screen's hidden-line picture has them.
TEST_F(HiddenLineReference, CubePrintsDrawWhereTheScreenDoes) {
    const std::string camera = "OrthographicCamera { position 0 0 5  height 2.6 }";
    const std::string cube =
        "Rotation { rotation 1 0 0 0.5 } Rotation { rotation 0 1 0 0.6 } Cube { }";
    const Ink picture = hiddenLinePicture(camera, cube);
    const std::string text = camera + " LightModel { model BASE_COLOR } " + cube;
    GhostscriptOptions options;
    options.dpi = kPixels / 4;
    options.widthPoints = options.heightPoints = 4 * 72;
    const GhostscriptResult page = renderPostScript(cubePrint<SoVectorizePSAction>(text), options);
    ASSERT_TRUE(page.ok()) << page.messages;
    Ink ps(kPixels * kPixels, 0), plot(kPixels * kPixels, 0);
    for (int i = 0; i < kPixels * kPixels; ++i)  // rows from the top there
        ps[(kPixels - 1 - i / kPixels) * kPixels + i % kPixels] =
            !page.image.pixel(i % kPixels, i / kPixels).isWhite();
    const HPGLPlot decoded = HPGLDecoder::decode(cubePrint<SoVectorizeHPGLAction>(text));
    ASSERT_TRUE(decoded.clean()) << decoded.errors.front();
    const double pixelsPerUnit = kPixels / (4 * 25.4 * 40);  // 40 plotter units a millimetre
    for (const HPGLPolyline& line : decoded.polylines)
        for (size_t i = 1; i < line.points.size(); ++i)
            for (double t = 0; t <= 1; t += 0.002) {
                const int x =
                    int((line.points[i - 1].x * (1 - t) + line.points[i].x * t) * pixelsPerUnit);
                const int y =
                    int((line.points[i - 1].y * (1 - t) + line.points[i].y * t) * pixelsPerUnit);
                if (x >= 0 && y >= 0 && x < kPixels && y < kPixels) plot[y * kPixels + x] = 1;
            }
    for (const auto& [name, print] : {std::pair{"PostScript", &ps}, {"HP-GL/2", &plot}}) {
        EXPECT_GE(nearInk(*print, picture), kTarget) << name << " lines on the picture's";
        EXPECT_GE(nearInk(picture, *print), kTarget) << name << " covers the picture's lines";
    }
}

}  // namespace
