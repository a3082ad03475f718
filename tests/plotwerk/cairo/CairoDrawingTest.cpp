// The PDF and SVG backends as their readers render them: fills that meet show no seam in
// anti-aliased renderings (poppler's and Chromium's), and several views on one sheet land
// where the PostScript backend puts them.

#include <PlotWerk/SoVectorizePDFAction.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <PlotWerk/SoVectorizeSVGAction.h>
#include <Tessara/actions/SoGLRenderAction.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "plotwerk/support/OpenedBackend.h"
#include "plotwerk/support/SceneText.h"
#include "support/BrowserPicture.h"
#include "support/PdfPicture.h"

namespace {

using Image = GhostscriptResult::Image;

constexpr int kPixels = 216;  // 3 inches at 72 dpi

// Faces of one grey cube, lit from aside: each face its own shade, each cut into triangles.
const char* const kGreyCube = R"(
  OrthographicCamera { position 0 0 5  height 2.6 }
  DirectionalLight { direction -0.3 -0.5 -0.8 }
  Material { diffuseColor 0.55 0.55 0.55  ambientColor 0 0 0  specularColor 0 0 0 }
  Rotation { rotation 1 1 0 0.6 }
  Cube { }
)";

Image screenOf(SoSeparator* root) {
    SoOffscreenRenderer renderer(SbViewportRegion(kPixels, kPixels));
    renderer.setBackgroundColor(SbColor(1, 1, 1));
    Image image;
    if (!renderer.render(root)) return image;
    image.width = image.height = kPixels;
    image.rgb.resize(3 * kPixels * kPixels);
    for (int y = 0; y < kPixels; ++y)
        for (int x = 0; x < kPixels * 3; ++x)
            image.rgb[y * kPixels * 3 + x] =
                renderer.getBuffer()[(kPixels - 1 - y) * kPixels * 4 + x / 3 * 4 + x % 3];
    return image;
}

template <class Backend>
Image printed(SoSeparator* root, float seamWidth) {
    OpenedBackend<Backend> action;
    action.setDrawingDimensions(3, 3, SoVectorizeAction::INCH);
    action.setStartPosition(0, 0);
    action.setBorder(0.0f);
    action.setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    action.setHLHSRMode(SoVectorizeAction::HLHSR_PAINTER);
    action.setSeamWidth(seamWidth);
    action.apply(root);
    if (std::is_same_v<Backend, SoVectorizeSVGAction>)
        return renderSvgInBrowser(action.text(), kPixels, kPixels);
    return renderPdfPage(action.text(), 72);
}

/// A lit height field of flat triangles seen from the front: each its own shade, and nothing
/// behind them to fill a gap.
std::string heightField() {
    const int n = 14;
    std::string points, faces;
    for (int k = 0; k < (n + 1) * (n + 1); ++k) {
        const float x = -1.2f + 2.4f * (k % (n + 1)) / n, y = -1.2f + 2.4f * (k / (n + 1)) / n;
        points += std::to_string(x) + " " + std::to_string(y) + " " +
                  std::to_string(0.25f * std::sin(2.5f * x) * std::cos(2 * y)) + ",";
    }
    for (int a = 0; a < n * (n + 1); ++a)
        if (a % (n + 1) != n)
            faces += std::to_string(a) + " " + std::to_string(a + 1) + " " +
                     std::to_string(a + n + 2) + " -1 " + std::to_string(a) + " " +
                     std::to_string(a + n + 2) + " " + std::to_string(a + n + 1) + " -1 ";
    return R"(
  OrthographicCamera { position 0 0 5  height 2.6 }
  DirectionalLight { direction -0.4 -0.3 -0.8 }
  Material { diffuseColor 0.6 0.6 0.6  ambientColor 0 0 0  specularColor 0 0 0 }
  Coordinate3 { point [ )" +
           points + " ] } IndexedFaceSet { coordIndex [ " + faces + "] }";
}

/// Pixels well inside the screen's silhouette (two pixels from paper) that the print shows
/// lighter than the screen shows them or any neighbour in every channel: paper showing
/// through between fills. Where edges of the screen's faces fall need not matter.
int seamPixels(const Image& print, const Image& screen) {
    int seams = 0;
    for (int y = 2; y < kPixels - 2; ++y)
        for (int x = 2; x < kPixels - 2; ++x) {
            bool inside = true;
            GhostscriptResult::Rgb light{0, 0, 0};
            for (int n = 0; n < 25; ++n) {
                const GhostscriptResult::Rgb s = screen.pixel(x + n % 5 - 2, y + n / 5 - 2);
                inside = inside && !s.isWhite();
                if (std::abs(n % 5 - 2) < 2 && std::abs(n / 5 - 2) < 2)
                    light = {std::max(light.r, s.r), std::max(light.g, s.g),
                             std::max(light.b, s.b)};
            }
            const GhostscriptResult::Rgb p = print.pixel(x, y);
            seams += inside && p.r > light.r + 12 && p.g > light.g + 12 && p.b > light.b + 12;
        }
    return seams;
}

class CairoDrawing : public PrintTest {};

// The field's seams show without the outlines: the measure sees them.
TEST_F(CairoDrawing, FillsMeetWithoutSeams) {
    for (const auto& [scene, seamsWithoutOutlines] :
         {std::pair{std::string(kGreyCube), 0}, {heightField(), 1000}}) {
        SoSeparator* root = readScene(scene);
        ASSERT_NE(root, nullptr);
        const Image screen = screenOf(root);
        ASSERT_FALSE(screen.empty());
        const float seam = SoVectorizePDFAction().getSeamWidth();
        for (const auto& [print, format] : {std::pair{&printed<SoVectorizePDFAction>, "PDF"},
                                            {&printed<SoVectorizeSVGAction>, "SVG"}}) {
            EXPECT_EQ(seamPixels(print(root, seam), screen), 0) << format;
            EXPECT_GE(seamPixels(print(root, 0.0f), screen), seamsWithoutOutlines) << format;
        }
        root->unref();
    }
}

// One layer of faces, so that no edge lets an earlier face show through its anti-aliasing.
TEST_F(CairoDrawing, ViewsShareASheetAsInPostScript) {
    SoSeparator* root = readScene(heightField());
    ASSERT_NE(root, nullptr);
    const auto twoViews = [root](auto& action) {
        action.setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
        printTwoViewsSideBySide(action, root);
        return action.text();
    };
    OpenedBackend<SoVectorizePSAction> postScript;
    GhostscriptOptions sheet;
    sheet.dpi = 72;
    sheet.widthPoints = 1191, sheet.heightPoints = 842;  // 420 x 297 mm
    const GhostscriptResult reference = renderPostScript(twoViews(postScript), sheet);
    ASSERT_TRUE(reference.ok()) << reference.messages;
    const Image& page = reference.image;
    OpenedBackend<SoVectorizePDFAction> pdf;
    expectSameInk(renderPdfPage(twoViews(pdf), sheet.dpi), page, "PDF", 4);
    OpenedBackend<SoVectorizeSVGAction> svg;
    expectSameInk(renderSvgInBrowser(twoViews(svg), page.width, page.height), page, "SVG", 4);
    root->unref();
}

}  // namespace
