// Raster hidden-surface removal (--hidden raster) on lit spheres of about 10,000 and 100,000
// triangles, printed as PostScript on the default page (output discarded), at raster
// quality 0.5 (300 pixels per inch), for the larger sphere also smooth-shaded and at 0.99
// (600); and hidden-line drawings of the same spheres (--hidden lines, feature edges on and
// in a plotter's order, as plotwerk prints them). Each iteration is one whole apply.
// Counters split the raster run into drawing the tiles (render), reading them back, tracing
// and printing, and the hidden-line computation into cutting (crossings and piercings),
// visibility and joining (with the ordering), in seconds; they count the tiles, the stored records
// that left a pixel (visible) and the records printed, or the pieces tested. Peak RSS covers the
// whole process.

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoShapeHints.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

#include "../libPlotWerk/src/hlhsr/lines/SoHiddenLines.h"
#include "../libPlotWerk/src/hlhsr/raster/SoHLHSRImageVectorizer.h"
#include "BenchGrid.h"

namespace {

/// A unit sphere of rings x sectors quads, two triangles each (one at the poles); with
/// smooth normals, each corner is lit for itself.
SoSeparator* sphereScene(int rings, int sectors, bool smoothNormals) {
    auto* root = new SoSeparator;
    root->ref();
    auto* camera = new SoPerspectiveCamera;
    camera->position.setValue(SbVec3f(0, 0, 3.2f));
    root->addChild(camera);
    auto* light = new SoDirectionalLight;
    light->direction.setValue(SbVec3f(-0.4f, -0.5f, -1));
    root->addChild(light);
    auto* material = new SoMaterial;
    material->diffuseColor.setValue(SbColor(0.3f, 0.5f, 0.9f));
    root->addChild(material);
    if (smoothNormals) {
        auto* hints = new SoShapeHints;
        hints->creaseAngle.setValue(1.0f);
        root->addChild(hints);
    }
    auto* coords = new SoCoordinate3;
    auto* faces = new SoIndexedFaceSet;
    int next = 0;
    for (int r = 0; r <= rings; ++r) {
        for (int s = 0; s <= sectors; ++s) {
            const double theta = M_PI * r / rings, phi = 2 * M_PI * s / sectors;
            coords->point.set1Value(
                next++, SbVec3f(float(std::sin(theta) * std::cos(phi)), float(std::cos(theta)),
                                float(std::sin(theta) * std::sin(phi))));
        }
    }
    int index = 0;
    auto corner = [&](int r, int s) { return r * (sectors + 1) + s; };
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < sectors; ++s) {
            const int a = corner(r, s), b = corner(r + 1, s), c = corner(r + 1, s + 1),
                      d = corner(r, s + 1);
            if (r < rings - 1) {
                const int32_t t[4] = {a, b, c, -1};
                faces->coordIndex.setValues(index, 4, t);
                index += 4;
            }
            if (r > 0) {
                const int32_t t[4] = {a, c, d, -1};
                faces->coordIndex.setValues(index, 4, t);
                index += 4;
            }
        }
    }
    root->addChild(coords);
    root->addChild(faces);
    return root;
}

void reportRaster(benchmark::State& state) {
    const SoHLHSRImageVectorizer::Timings& t = SoHLHSRImageVectorizer::getLastTimings();
    state.counters["render_s"] = t.render;
    state.counters["readback_s"] = t.readBack;
    state.counters["tracing_s"] = t.tracing;
    state.counters["printing_s"] = t.printing;
    state.counters["tiles"] = t.tiles;
    state.counters["visible"] = t.visible;
    state.counters["printed"] = t.printed;
}

void reportLines(benchmark::State& state) {
    const SoHiddenLines::Timings& t = SoHiddenLines::getLastTimings();
    state.counters["cutting_s"] = t.cutting;
    state.counters["visibility_s"] = t.visibility;
    state.counters["joining_s"] = t.joining;
    state.counters["pieces"] = static_cast<double>(t.pieces);
}

void printSphere(benchmark::State& state, int rings, int sectors, SoVectorizeAction::HLHSRMode mode,
                 float quality = 0.5f, bool smooth = false) {
    SoPlotWerk::init();
    SoSeparator* root = sphereScene(rings, sectors, smooth);
    {
        // The output object closes the stream it is given.
        std::FILE* sink = std::fopen("/dev/null", "w");
        SoVectorizePSAction action;
        action.getPSVectorOutput()->setFilePointer(sink);
        action.setHLHSRRasterQuality(quality);
        if (smooth) action.setShadeModel(SoVectorizeAction::SMOOTH);
        action.setHiddenLineFeatureEdges(1, 1.0f);
        action.setHiddenLinePenTravelOrder(1);
        for (auto _ : state) {
            // An apply leaves the action without hidden-surface removal: set it every time.
            action.setHLHSRMode(mode);
            action.apply(root);
        }
        state.counters["triangles"] = 2.0 * rings * sectors - 2 * sectors;
        (mode == SoVectorizeAction::HLHSR_RASTER ? reportRaster : reportLines)(state);
        state.counters["peak_rss_kB"] = static_cast<double>(bench::peakRssKb());
    }
    root->unref();
    SoPlotWerk::finish();
}

}  // namespace

constexpr auto kRaster = SoVectorizeAction::HLHSR_RASTER;
constexpr auto kLines = SoVectorizeAction::HIDDEN_LINES_REMOVAL;

BENCHMARK_CAPTURE(printSphere, Sphere10kQuality050, 50, 100, kRaster)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(printSphere, Sphere100kQuality050, 158, 316, kRaster)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(printSphere, Sphere100kSmoothQuality050, 158, 316, kRaster, 0.5f, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(printSphere, Sphere100kQuality099, 158, 316, kRaster, 0.99f)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(printSphere, Sphere10kLines, 50, 100, kLines)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(printSphere, Sphere100kLines, 158, 316, kLines)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
