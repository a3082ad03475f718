// Drawings printed with hidden surfaces removed (the painter's ordering, the raster's
// visibility), as real readers render them (Ghostscript the PostScript, poppler the PDF,
// Chromium the SVG), against the picture OpenGL draws of the same scene at the same size:
// where the print shows a face the screen does not (a back face through a front one, a piece
// in the wrong order, a seam between raster tiles or between fills), the pictures part. The
// PDF and SVG fills show no seams in those readers, which smooth edges.
// A face in the wrong order can hide in a share of agreeing pixels, not in the size of the
// largest region of wrong ones: both are bounded.

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoVectorizePDFAction.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <PlotWerk/SoVectorizeSVGAction.h>
#include <Tessara/actions/SoGLRenderAction.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plotwerk/support/OpenedBackend.h"
#include "plotwerk/support/SceneText.h"
#include "plotwerk/support/StreamReadBack.h"
#include "support/BrowserPicture.h"
#include "support/DebugErrorRecorder.h"
#include "support/PdfPicture.h"

namespace {

constexpr int kInches = 3;
constexpr int kDpi = 72;
constexpr int kPixels = kInches * kDpi;
constexpr int kTolerance = 24;  // per channel, out of 255

/// RGB pictures of kPixels x kPixels, rows from the top.
using Picture = std::vector<unsigned char>;

enum class Format { POSTSCRIPT, PDF, SVG };

std::unique_ptr<SoVectorizeAction> backendFor(Format format) {
    if (format == Format::PDF) return std::make_unique<SoVectorizePDFAction>();
    if (format == Format::SVG) return std::make_unique<SoVectorizeSVGAction>();
    auto postScript = std::make_unique<SoVectorizePSAction>();
    postScript->getPSVectorOutput()->setLevel(3);
    return postScript;
}

/// The document as its reader renders it, kPixels square.
GhostscriptResult::Image rendered(const std::string& document, Format format) {
    if (format == Format::PDF) return renderPdfPage(document, kDpi);
    if (format == Format::SVG) return renderSvgInBrowser(document, kPixels, kPixels);
    GhostscriptOptions options;
    options.dpi = kDpi;
    options.widthPoints = options.heightPoints = kInches * 72;
    const GhostscriptResult page = renderPostScript(document, options);
    EXPECT_TRUE(page.ok()) << page.messages;
    return page.image;
}

/// tile: the raster mode's tile size, 0 for the action's own.
Picture printed(SoSeparator* root, SoVectorizeAction::HLHSRMode mode, bool smooth,
                unsigned short tile = 0, int caching = 1, Format format = Format::POSTSCRIPT,
                std::optional<float> seamWidth = {}) {
    std::FILE* file = std::tmpfile();
    std::unique_ptr<SoVectorizeAction> action = backendFor(format);
    if (auto* cairo = dynamic_cast<SoVectorizeCairoAction*>(action.get()); cairo && seamWidth)
        cairo->setSeamWidth(*seamWidth);
    action->getVectorOutput()->setFilePointer(file);
    action->setDrawingDimensions(kInches, kInches, SoVectorizeAction::INCH);
    action->setStartPosition(0, 0);
    action->setBorder(0.0f);
    action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    action->setHLHSRMode(mode);
    if (smooth) action->setShadeModel(SoVectorizeAction::SMOOTH);
    if (tile) action->setHLHSRRasterTileSize(tile);
    action->setHLHSRRasterCaching(caching);
    action->apply(root);
    const GhostscriptResult::Image page = rendered(StreamReadBack::all(file), format);
    if (page.width != kPixels || page.height != kPixels) return {};
    return page.rgb;
}

Picture onScreen(SoSeparator* root, bool smooth) {
    SbViewportRegion region(kPixels, kPixels);
    region.setPixelsPerInch(kDpi);
    SoOffscreenRenderer renderer(region);
    renderer.setBackgroundColor(SbColor(1, 1, 1));
    renderer.getGLRenderAction().setSmoothShading(smooth);
    if (!renderer.render(root)) return {};
    const unsigned char* rgba = renderer.getBuffer();
    Picture rgb(3 * kPixels * kPixels);
    for (int y = 0; y < kPixels; ++y)
        for (int x = 0; x < kPixels; ++x)
            for (int c = 0; c < 3; ++c)
                rgb[3 * (y * kPixels + x) + c] = rgba[4 * ((kPixels - 1 - y) * kPixels + x) + c];
    return rgb;
}

bool near(const unsigned char* a, const unsigned char* b) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(a[c] - b[c]) > kTolerance) return false;
    return true;
}

const unsigned char* at(const Picture& p, int x, int y) {
    return &p[3 * (y * kPixels + x)];
}

// Edges are where the two rasterisers may round a pixel either way: a pixel next to a colour
// change on screen is not compared.
bool onAnEdge(const Picture& screen, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (!near(at(screen, x, y), at(screen, x + dx, y + dy))) return true;
    return false;
}

bool isPaper(const unsigned char* p) {
    return p[0] > 250 && p[1] > 250 && p[2] > 250;
}

/// The share of the drawing's pixels (inked in either picture, off the edges) on which
/// print and screen agree; wrong marks the others.
double agreement(const Picture& print, const Picture& screen, int& compared,
                 std::vector<char>& wrong) {
    int same = 0;
    compared = 0;
    for (int y = 1; y < kPixels - 1; ++y)
        for (int x = 1; x < kPixels - 1; ++x) {
            if (onAnEdge(screen, x, y)) continue;
            if (isPaper(at(print, x, y)) && isPaper(at(screen, x, y))) continue;
            ++compared;
            if (near(at(print, x, y), at(screen, x, y)))
                ++same;
            else
                wrong[y * kPixels + x] = 1;
        }
    return compared ? static_cast<double>(same) / compared : 0.0;
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

struct PictureCase {
    const char* name;
    std::string text;
    bool smooth;
    /// Whether printing in traversal order shows something the screen does not.
    bool orderMatters = true;
};

const PictureCase kScenes[] = {
    // Three quads, each turned a third from the last, each lying in front of the next.
    {"three_cyclic_quads",
     R"(
  OrthographicCamera { position 0 0 5  height 3.2 }
  LightModel { model BASE_COLOR }
  BaseColor { rgb 1 0 0 }
  DEF quad Separator {
    Coordinate3 { point [ -1.2 0.55 0.2, 1.2 0.55 -0.2, 1.2 0.85 -0.2, -1.2 0.85 0.2 ] }
    FaceSet { numVertices 4 }
  }
  Rotation { rotation 0 0 1 2.0944 }  BaseColor { rgb 0 0.7 0 }  USE quad
  Rotation { rotation 0 0 1 2.0944 }  BaseColor { rgb 0 0 1 }  USE quad
)",
     false},
    {"crossing_slabs_and_box",
     R"(
  PerspectiveCamera { position 0 2 5  orientation 1 0 0 -0.38  heightAngle 0.6 }
  DirectionalLight { direction -0.3 -0.6 -0.75 }
  Rotation { rotation 0 1 0 0.5 }
  Separator { Rotation { rotation 0 1 0 0.6 }  Material { diffuseColor 0.95 0.8 0.2 }  Cube { } }
  Separator { Rotation { rotation 0 0 1 0.35 }  Material { diffuseColor 0.9 0.2 0.2 }  Cube { width 3  height 0.12  depth 1.6 } }
  Separator { Rotation { rotation 1 0.3 0 -0.5 }  Material { diffuseColor 0.2 0.5 0.95 }  Cube { width 1.6  height 0.12  depth 3 } }
  Separator { Rotation { rotation 0 1 0.2 0.9 }  Material { diffuseColor 0.2 0.8 0.3 }  Cube { width 0.12  height 2.2  depth 2.4 } }
)",
     false},
    {"lit_sphere",
     R"(
  PerspectiveCamera { position 0 0 4  nearDistance 1  farDistance 10 }
  DirectionalLight { direction -0.5 -0.5 -1 }
  Material { diffuseColor 0.2 0.5 0.9  ambientColor 0 0 0  specularColor 0 0 0 }
  Complexity { value 0.8 }
  Sphere { radius 1.2 }
)",
     true, false},
    // Colours given per corner: printed smooth, the gradient must survive the tracing.
    {"gradient_quad",
     R"(
  OrthographicCamera { position 0 0 5  height 2.4 }
  LightModel { model BASE_COLOR }
  MaterialBinding { value PER_VERTEX }
  BaseColor { rgb [ 1 0 0, 0 0.8 0, 0 0 1, 1 1 0 ] }
  Coordinate3 { point [ -1 -1 0, 1 -1 0, 1 1 0, -1 1 0 ] }
  FaceSet { numVertices 4 }
)",
     true, false},
    // One colour all round a hole: drawn as one region, the frame must not fill the hole.
    {"flat_frame",
     R"(
  OrthographicCamera { position 0 0 5  height 2.4 }
  LightModel { model BASE_COLOR }
  BaseColor { rgb 0.2 0.4 0.8 }
  Coordinate3 { point [ -1 -1 0, 1 -1 0, 1 1 0, -1 1 0, -0.5 -0.5 0, 0.5 -0.5 0, 0.5 0.5 0, -0.5 0.5 0 ] }
  IndexedFaceSet { coordIndex [ 0 1 5 4 -1  1 2 6 5 -1  2 3 7 6 -1  3 0 4 7 -1 ] }
)",
     false, false},
    // Faces of one grey cube, lit from aside: each face its own shade, cut into triangles.
    {"grey_cube",
     R"(
  OrthographicCamera { position 0 0 5  height 2.6 }
  DirectionalLight { direction -0.3 -0.5 -0.8 }
  Material { diffuseColor 0.55 0.55 0.55  ambientColor 0 0 0  specularColor 0 0 0 }
  Rotation { rotation 1 1 0 0.6 }
  Cube { }
)",
     false, false},
    {"height_field", heightField(), false, false},
    // Pixels wider than high, stretched: an image read with the wrong row length or drawn
    // the wrong way round parts from the screen's.
    {"stretched_image",
     R"(
  OrthographicCamera { position 0 0 5  height 2.4 }
  Image {
    image 4 2 3  0xFF0000 0x00C000 0x0000FF 0xFFC000  0x00C0C0 0xC000C0 0x404040 0xFF8080
    width 160  height 80
    horAlignment CENTER  vertAlignment HALF
  }
)",
     false, false},
    {"torus_knot",
     R"(
  PerspectiveCamera { position 0 0 11  nearDistance 5  farDistance 20 }
  DirectionalLight { direction -0.4 -0.5 -1 }
  Material { diffuseColor 0.9 0.5 0.2  ambientColor 0 0 0  specularColor 0 0 0 }
)" + exampleMesh("torus_knot.obj"),
     false},
};

/// Agreement of a print with the screen, as a failure message when they part.
void expectLikeTheScreen(const Picture& print, const Picture& screen, const char* what) {
    ASSERT_EQ(print.size(), screen.size()) << what;
    int compared = 0;
    std::vector<char> wrong(print.size() / 3, 0);
    const double share = agreement(print, screen, compared, wrong);
    EXPECT_GT(compared, kPixels * kPixels / 20) << what << ": the drawing covers the picture";
    EXPECT_LE(largestMarkedRegions(wrong, kPixels).across, 4) << what << ": wrong pixels across";
    EXPECT_GE(share, 0.999) << what << ": " << compared << " pixels compared";
}

class HiddenSurfacePicture : public PrintTest, public ::testing::WithParamInterface<PictureCase> {};

// Without removal the same print shows faces in traversal order: the comparison must
// notice, or its agreement with the removing prints proves nothing.
TEST_P(HiddenSurfacePicture, PrintMatchesTheScreenAndTraversalOrderDoesNot) {
    const PictureCase& scene = GetParam();
    SoSeparator* root = readScene(scene.text);
    ASSERT_NE(root, nullptr);
    const Picture screen = onScreen(root, scene.smooth);
    ASSERT_FALSE(screen.empty());
    for (const auto& [format, name] : {std::pair{Format::POSTSCRIPT, "PostScript"},
                                       {Format::PDF, "PDF"},
                                       {Format::SVG, "SVG"}}) {
        for (const auto mode : {SoVectorizeAction::HLHSR_PAINTER, SoVectorizeAction::HLHSR_RASTER})
            expectLikeTheScreen(
                printed(root, mode, scene.smooth, 0, 1, format), screen,
                (std::string(name) +
                 (mode == SoVectorizeAction::HLHSR_PAINTER ? " painter" : " raster"))
                    .c_str());
    }
    if (scene.orderMatters) {
        const Picture unordered = printed(root, SoVectorizeAction::HLHSR_OFF, scene.smooth);
        int compared = 0;
        std::vector<char> wrong(unordered.size() / 3, 0);
        EXPECT_LT(agreement(unordered, screen, compared, wrong), 0.99);
    }
    root->unref();
}

// Small tiles cut every face several times: where the tiles meet, the print must not show
// a seam, and it must draw what one tile draws.
TEST_F(PrintTest, RasterTilesMeetWithoutSeams) {
    SoSeparator* root = readScene(kScenes[1].text);
    ASSERT_NE(root, nullptr);
    const Picture whole = printed(root, SoVectorizeAction::HLHSR_RASTER, false);
    const Picture tiled = printed(root, SoVectorizeAction::HLHSR_RASTER, false, 256);
    expectLikeTheScreen(tiled, onScreen(root, false), "small tiles");
    EXPECT_EQ(tiled, printed(root, SoVectorizeAction::HLHSR_RASTER, false, 256, 0))
        << "drawn again for every tile or replayed, the tiles are the same";
    root->unref();
    int compared = 0;
    std::vector<char> wrong(whole.size() / 3, 0);
    ASSERT_EQ(whole.size(), tiled.size());
    agreement(tiled, whole, compared, wrong);
    EXPECT_LE(largestMarkedRegions(wrong, kPixels).across, 2)
        << "pixels that differ from one tile's drawing, across";
}

/// Pixels well inside the screen's silhouette (two pixels from paper) that the print shows
/// lighter than the screen shows them or any neighbour, in every channel by more than 12:
/// paper showing through between fills. Where the screen's faces meet need not matter.
int seamPixels(const Picture& print, const Picture& screen) {
    int seams = 0;
    for (int y = 2; y < kPixels - 2; ++y)
        for (int x = 2; x < kPixels - 2; ++x) {
            bool inside = true;
            int light[3] = {0, 0, 0};
            for (int n = 0; n < 25; ++n) {
                const unsigned char* s = at(screen, x + n % 5 - 2, y + n / 5 - 2);
                inside = inside && !isPaper(s);
                for (int c = 0; c < 3 && std::abs(n % 5 - 2) < 2 && std::abs(n / 5 - 2) < 2; ++c)
                    light[c] = std::max(light[c], int(s[c]));
            }
            const unsigned char* p = at(print, x, y);
            seams += inside && p[0] > light[0] + 12 && p[1] > light[1] + 12 && p[2] > light[2] + 12;
        }
    return seams;
}

// The field's seams show without grown fills: the measure sees them. Raster tiles leave
// none where they meet either.
TEST_F(PrintTest, FillsMeetWithoutSeams) {
    for (const auto& [name, seamsWithoutGrowing] :
         {std::pair{"grey_cube", 0}, {"height_field", 1000}}) {
        const PictureCase* scene =
            std::find_if(std::begin(kScenes), std::end(kScenes),
                         [&](const PictureCase& c) { return c.name == std::string(name); });
        SoSeparator* root = readScene(scene->text);
        ASSERT_NE(root, nullptr);
        const Picture screen = onScreen(root, false);
        for (const Format format : {Format::PDF, Format::SVG}) {
            const auto print = [&](std::optional<float> seam) {
                return printed(root, SoVectorizeAction::HLHSR_PAINTER, false, 0, 1, format, seam);
            };
            EXPECT_EQ(seamPixels(print({}), screen), 0) << scene->name;
            EXPECT_GE(seamPixels(print(0.0f), screen), seamsWithoutGrowing) << scene->name;
            const Picture tiled =
                printed(root, SoVectorizeAction::HLHSR_RASTER, false, 200, 1, format);
            EXPECT_EQ(seamPixels(tiled, screen), 0) << scene->name << " in raster tiles";
        }
        root->unref();
    }
}

// One layer of faces, so that no edge lets an earlier face show through its smoothing.
TEST_F(PrintTest, ViewsShareASheetAsInPostScript) {
    SoSeparator* root = readScene(heightField());
    ASSERT_NE(root, nullptr);
    const auto twoViews = [root](auto& action) {
        action.setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
        printTwoViewsSideBySide(action, root);
        return action.text();
    };
    OpenedBackend<SoVectorizePSAction> postScript;
    GhostscriptOptions sheet;
    sheet.dpi = kDpi;
    sheet.widthPoints = 1191, sheet.heightPoints = 842;  // 420 x 297 mm
    const GhostscriptResult reference = renderPostScript(twoViews(postScript), sheet);
    ASSERT_TRUE(reference.ok()) << reference.messages;
    const GhostscriptResult::Image& page = reference.image;
    OpenedBackend<SoVectorizePDFAction> pdf;
    expectSameInk(renderPdfPage(twoViews(pdf), kDpi), page, "PDF", 4);
    OpenedBackend<SoVectorizeSVGAction> svg;
    expectSameInk(renderSvgInBrowser(twoViews(svg), page.width, page.height), page, "SVG", 4);
    root->unref();
}

// Each page as the document of its sheet alone shows it; a document written after another
// in one stream is reported.
TEST_F(PrintTest, SheetsOfADocumentAreItsPages) {
    SoSeparator* root = readScene(heightField());
    ASSERT_NE(root, nullptr);
    constexpr SoVectorizeAction::Orientation kSheets[] = {SoVectorizeAction::PORTRAIT,
                                                          SoVectorizeAction::LANDSCAPE};
    OpenedBackend<SoVectorizePDFAction> document;
    document.beginDocument();
    for (const auto orientation : kSheets)
        document.setOrientation(orientation), document.apply(root);
    document.endDocument();
    const std::string pages = document.text();
    for (int page = 1; page <= 2; ++page) {
        OpenedBackend<SoVectorizePDFAction> alone;
        alone.setOrientation(kSheets[page - 1]);
        alone.apply(root);
        const GhostscriptResult::Image expected = renderPdfPage(alone.text(), kDpi),
                                       got = renderPdfPage(pages, kDpi, page);
        ASSERT_FALSE(expected.empty()) << page;
        EXPECT_TRUE(got.rgb == expected.rgb) << page << ": the page differs, or its size";
    }
    EXPECT_TRUE(renderPdfPage(pages, kDpi, 3).empty());
    DebugErrorRecorder messages;
    document.apply(root);
    EXPECT_EQ(messages.countSeverity(SoDebugError::WARNING), 1u) << messages.dump();
    root->unref();
}

// The hidden-surface modes print a line segment by segment, and pieces of segments: a dashed
// circle of segments shorter than a dash keeps the dashes it has when printed whole. A white
// square in front hides where the circle starts, so that what is seen of it starts
// mid-pattern, and prints as nothing of its own in every mode.
TEST_F(PrintTest, DashesRunOnFromSegmentToSegment) {
    std::string scene =
        "OrthographicCamera { position 0 0 5  height 2 } "
        "LightModel { model BASE_COLOR } BaseColor { rgb 0.2 0.2 0.2 } "
        "DrawStyle { lineWidth 2  linePattern 0xFF00 } Coordinate3 { point [ ";
    constexpr int kSegments = 300;
    for (int i = 0; i <= kSegments; ++i) {
        const double angle = 2.0 * M_PI * i / kSegments;
        scene += std::to_string(0.8 * std::cos(angle)) + " " +
                 std::to_string(0.8 * std::sin(angle)) + " 0, ";
    }
    SoSeparator* root =
        readScene(scene +
                  "] } LineSet { } BaseColor { rgb 1 1 1 } Coordinate3 { point [ "
                  "0.6 -0.2 0.5, 1 -0.2 0.5, 1 0.2 0.5, 0.6 0.2 0.5 ] } FaceSet { }");
    ASSERT_NE(root, nullptr);
    const auto image = [](const Picture& picture) {
        GhostscriptResult::Image page;
        page.width = page.height = picture.empty() ? 0 : kPixels;
        page.dpi = kDpi;
        page.rgb = picture;
        return page;
    };
    for (const Format format : {Format::POSTSCRIPT, Format::PDF}) {
        const GhostscriptResult::Image whole =
            image(printed(root, SoVectorizeAction::HLHSR_OFF, false, 0, 1, format));
        for (const auto mode : {SoVectorizeAction::HLHSR_PAINTER, SoVectorizeAction::HLHSR_RASTER,
                                SoVectorizeAction::HIDDEN_LINES_REMOVAL})
            expectSameInk(
                image(printed(root, mode, false, 0, 1, format)), whole,
                "mode " + std::to_string(mode) + ", format " + std::to_string(int(format)), 4);
    }
    root->unref();
}

INSTANTIATE_TEST_SUITE_P(Scenes, HiddenSurfacePicture, ::testing::ValuesIn(kScenes),
                         [](const ::testing::TestParamInfo<PictureCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
