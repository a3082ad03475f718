// The hidden-line print against OpenGL's hidden-line picture of the same scene: faces filled
// in the paper's colour and pushed back by a polygon offset, then the edges of the same
// triangles drawn over them in black. The depth buffer lets through exactly the edges no
// nearer face covers, and both sides outline the same triangles (shapes reach the print and
// the screen as triangles), so a printed line where the picture has no ink is a hidden edge
// printed, and ink that no printed line comes near is a visible edge lost. Rasters round a
// line a pixel either way and the offset lets a piercing edge through a pixel early, so a
// pixel agrees when what it looks for lies within a pixel around it.

#include <PlotWerk/SoVectorizeHPGLAction.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "plotwerk/support/OpenedBackend.h"
#include "plotwerk/support/SceneText.h"
#include "support/HPGLDecoder.h"
#include "support/PdfPicture.h"

namespace {

constexpr int kPixels = 400;  // across the square drawing of 4 inches
// A hidden edge printed or a visible one lost is a run of wrong pixels as long as the edge;
// where edges pierce or cross, rounding leaves runs of up to 26.
constexpr int kLargestWrong = 30;

using Image = GhostscriptResult::Image;

Image blankPicture() {
    return {kPixels, kPixels, kPixels / 4.0,
            std::vector<unsigned char>(kPixels * kPixels * 3, 255)};
}

void ink(Image& image, int x, int y) {
    if (x >= 0 && y >= 0 && x < kPixels && y < kPixels)
        std::fill_n(image.rgb.begin() + (std::size_t(y) * kPixels + x) * 3, 3, 0);
}

Image hiddenLinePicture(const std::string& camera, const std::string& shapes) {
    SoSeparator* root = readScene(camera + " LightModel { model BASE_COLOR } Separator {" +
                                  " BaseColor { rgb 1 1 1 } PolygonOffset { } DEF shapes" +
                                  " Separator { " + shapes + " } } BaseColor { rgb 0 0 0 }" +
                                  " DrawStyle { style LINES } USE shapes");
    SoOffscreenRenderer renderer(SbViewportRegion(kPixels, kPixels));
    renderer.setBackgroundColor(SbColor(1, 1, 1));
    Image picture = blankPicture();
    if (root && renderer.render(root))
        for (int i = 0; i < kPixels * kPixels; ++i)  // rows from the bottom there
            if (renderer.getBuffer()[4 * i] < 128)
                ink(picture, i % kPixels, kPixels - 1 - i / kPixels);
    if (root) root->unref();
    return picture;
}

/// The picture with ink added where faces of different colours meet on the screen: where
/// one face passes through another, and along the visible outlines.
Image withMeetings(Image picture, const std::string& camera, const std::string& shapes) {
    SoSeparator* root = readScene(camera + " LightModel { model BASE_COLOR } " + shapes);
    SoOffscreenRenderer renderer(SbViewportRegion(kPixels, kPixels));
    if (root && renderer.render(root)) {
        const unsigned char* rgba = renderer.getBuffer();
        auto differs = [&](int i, int j) { return std::memcmp(rgba + 4 * i, rgba + 4 * j, 3); };
        for (int i = 0; i < kPixels * (kPixels - 1); ++i)
            if (differs(i, i + 1) || differs(i, i + kPixels))
                ink(picture, i % kPixels, kPixels - 1 - i / kPixels);
    }
    if (root) root->unref();
    return picture;
}

/// The share of a's ink with b's ink within a pixel.
double nearInk(const Image& a, const Image& b) {
    std::vector<char> wrong(a.rgb.size(), 0);
    return inkNear(a, b, wrong);
}

// Triangles about random centres, in random directions: they pierce and cover one another.
std::string randomTriangles(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> centre(-0.6f, 0.6f), corner(-0.45f, 0.45f);
    std::ostringstream points, sizes;
    for (int i = 0; i < count; ++i) {
        const float c[3] = {centre(random), centre(random), centre(random)};
        for (int k = 0; k < 9; ++k) points << c[k % 3] + corner(random) << (k % 3 < 2 ? " " : ",");
        sizes << "3 ";
    }
    return "Coordinate3 { point [ " + points.str() + "] } FaceSet { numVertices [ " + sizes.str() +
           "] }";
}

// A colour for each of 50 faces.
std::string eachFaceItsColour() {
    std::ostringstream colours;
    for (int i = 0; i < 50; ++i) colours << (i % 5) * 0.2 << " " << (i / 5) * 0.1 << " 0.5,";
    return "MaterialBinding { value PER_FACE } BaseColor { rgb [ " + colours.str() + "] } ";
}

/// A backend's print of the scene on a drawing of 4 inches at the sheet's corner.
template <class Backend>
std::string printOf(const std::string& text, SoVectorizeAction::HLHSRMode mode, bool feature,
                    unsigned short hiddenPattern = 0, bool penOrder = true) {
    OpenedBackend<Backend> action;
    action.setDrawingDimensions(4, 4, SoVectorizeAction::INCH);
    action.setStartPosition(0, 0);
    action.setBorder(0.0f);
    action.setHLHSRMode(mode);
    action.setHiddenLineFeatureEdges(feature);
    action.setHiddenLinePenTravelOrder(feature && penOrder);  // as the command draws them
    action.setHiddenLineHiddenPattern(hiddenPattern);
    SoSeparator* root = readScene(text);
    action.apply(root);
    root->unref();
    return action.text();
}

/// A plotted segment by its ends in plotter units.
using Segment = std::pair<SbVec2f, SbVec2f>;

/// How far the pen moves up between the polylines of the hidden-line plot with feature edges,
/// in plotter units.
double penUpTravel(const std::string& text, bool penOrder) {
    const HPGLPlot plot = HPGLDecoder::decode(printOf<SoVectorizeHPGLAction>(
        text, SoVectorizeAction::HIDDEN_LINES_REMOVAL, true, 0, penOrder));
    double travel = 0;
    for (size_t k = 1; k < plot.polylines.size(); ++k) {
        const auto &from = plot.polylines[k - 1].points.back(), &to = plot.polylines[k].points[0];
        travel += std::hypot(to.x - from.x, to.y - from.y);
    }
    return travel;
}

/// The segments of the HP-GL/2 plot of the scene as its reader decodes it.
std::vector<Segment> plotted(const std::string& text, SoVectorizeAction::HLHSRMode mode,
                             bool feature = false, unsigned short hiddenPattern = 0) {
    const HPGLPlot plot =
        HPGLDecoder::decode(printOf<SoVectorizeHPGLAction>(text, mode, feature, hiddenPattern));
    EXPECT_TRUE(plot.clean()) << plot.errors.front();
    EXPECT_TRUE(plot.polygons.empty()) << "only lines are printed";
    std::vector<Segment> segments;
    for (const HPGLPolyline& line : plot.polylines)
        for (size_t i = 1; i < line.points.size(); ++i)
            segments.emplace_back(SbVec2f(line.points[i - 1].x, line.points[i - 1].y),
                                  SbVec2f(line.points[i].x, line.points[i].y));
    return segments;
}

/// The pixels the segments pass, every half pixel.
Image inkOf(const std::vector<Segment>& segments) {
    const float pixelsPerUnit = kPixels / (4 * 25.4f * 40);  // 40 plotter units a millimetre
    Image plot = blankPicture();
    for (const auto& [a, b] : segments) {
        const int n = 2 * int(std::ceil((b - a).length() * pixelsPerUnit)) + 1;
        for (int k = 0; k <= n; ++k) {
            const SbVec2f p = (a + (b - a) * (float(k) / n)) * pixelsPerUnit;
            ink(plot, int(p[0]), kPixels - 1 - int(p[1]));
        }
    }
    return plot;
}

/// How many segments have no earlier one with the same ends, either way round; ends agree
/// within the unit or two a plot's relative moves round them off.
size_t distinct(const std::vector<Segment>& segments) {
    auto same = [](const Segment& s, const Segment& t) {
        auto near = [](const SbVec2f& p, const SbVec2f& q) { return (p - q).length() < 3; };
        return (near(s.first, t.first) && near(s.second, t.second)) ||
               (near(s.first, t.second) && near(s.second, t.first));
    };
    size_t count = 0;
    for (auto s = segments.begin(); s != segments.end(); ++s)
        count += std::none_of(segments.begin(), s, [&](const Segment& t) { return same(*s, t); });
    return count;
}

using HiddenLineReference = PrintTest;

// Each scene plotted with hidden lines removed agrees with the picture on both sides, and
// with feature edges only it plots no line the picture lacks; all its edges
// plotted without removal must not agree, or the agreement would prove nothing. Printed as
// PostScript, its lines, a little wider, lie within two pixels of the picture's. Seen at an
// angle, a cube shows 9 edges and the diagonals of its 3 faces; with feature edges, the 9,
// each once, and the 3 hidden ones too when those are dashed.
TEST_F(HiddenLineReference, PrintShowsTheEdgesTheScreenShows) {
    const std::string flat = "OrthographicCamera { position 0 0 5  height 2.6 }";
    const struct {
        std::string name, camera, shapes;
        std::pair<size_t, size_t> edges = {};  // every outline, feature edges; 0 unchecked
    } scenes[] = {
        {"cube",
         "OrthographicCamera { position 0 0 5  height 4 }",
         "Rotation { rotation 1 0 0 0.5 } Rotation { rotation 0 1 0 0.6 } Cube { }",
         {12, 9}},
        {"20 triangles", flat, randomTriangles(7, 20)},
        {"32 triangles", flat, randomTriangles(20260, 32)},
        {"40 triangles", flat, randomTriangles(4242, 40)},
        {"sphere", "OrthographicCamera { position 0.6 0 5  height 2.6 }",
         "Rotation { rotation 1 0 0 0.5 } Complexity { value 0.4 } Sphere { }"},
        {"torus knot", "PerspectiveCamera { position 0 0 11  nearDistance 5  farDistance 20 }",
         "Rotation { rotation 1 0 0 0.6 } " + exampleMesh("torus_knot.obj")},
    };
    constexpr auto kHidden = SoVectorizeAction::HIDDEN_LINES_REMOVAL;
    for (const auto& scene : scenes) {
        SCOPED_TRACE(scene.name);
        const Image picture = hiddenLinePicture(scene.camera, scene.shapes);
        const std::string text = scene.camera + " LightModel { model BASE_COLOR } " + scene.shapes;
        const std::vector<Segment> lines = plotted(text, kHidden),
                                   features = plotted(text, kHidden, true);
        expectSameInk(inkOf(lines), picture, "plotted", kLargestWrong);
        // Triangles that pass through one another meet where no edge runs: a drafter's
        // drawing shows that line too.
        if (scene.name.find("triangles") != std::string::npos)
            expectSameInk(inkOf(features),
                          withMeetings(picture, scene.camera, eachFaceItsColour() + scene.shapes),
                          "feature edges and where faces meet", kLargestWrong);
        else
            EXPECT_GE(nearInk(inkOf(features), picture), 0.99) << "feature edges on visible ones";
        // Smooth by its normals, the sphere plots as its outline, cut by the drawing's
        // border, of radius 1 in the view's 2.6 on 4064 plotter units, 0.6 left of its centre.
        const SbVec2f centre(4064 * (0.5f - 0.6f / 2.6f), 2032);
        for (const auto& [a, b] : features)
            EXPECT_TRUE(scene.name != "sphere" || ((a + b) / 2 - centre).length() > 0.9f * 1563);
        if (scene.edges.first) {
            EXPECT_EQ(distinct(lines), scene.edges.first) << "every outline";
            EXPECT_EQ(distinct(features), scene.edges.second) << "feature edges";
            EXPECT_EQ(features.size(), scene.edges.second) << "feature edges plotted once";
            const auto dashed = plotted(text, kHidden, true, 0xF0F0);
            EXPECT_EQ(distinct(dashed), dashed.size()) << "each edge once";
            EXPECT_EQ(dashed.size(), scene.edges.first) << "with the hidden ones";
        }
        if (scene.name == "torus knot") {
            EXPECT_LT(penUpTravel(text, true), penUpTravel(text, false) / 2) << "in pen order";
        }
        const auto all = plotted(scene.camera + " DrawStyle { style LINES } " + scene.shapes,
                                 SoVectorizeAction::HLHSR_OFF);
        EXPECT_LT(nearInk(inkOf(all), picture), 0.99) << "all edges, hidden ones too";
    }
}

}  // namespace
