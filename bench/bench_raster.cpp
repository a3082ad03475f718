// Raster hidden-surface removal (--hidden raster) on lit spheres of about 10,000 and 100,000
// triangles, printed as PostScript on the default page (output discarded), at raster
// quality 0.5 (300 pixels per inch), for the larger sphere also smooth-shaded and at 0.99
// (600). Each iteration
// is one whole apply: traversal, raster run and printing. Counters split the raster run
// into drawing the tiles (render), reading them back, tracing and printing, in seconds,
// and count the tiles, the stored records that left a pixel (visible) and the records
// printed; peak RSS covers the whole process.

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

#include "../libPlotWerk/src/hlhsr/raster/SoHLHSRImageVectorizer.h"
#include "BenchGrid.h"
#include "BenchSphere.h"

namespace {

void printSphere(benchmark::State& state, int rings, int sectors, float quality,
                 bool smooth = false) {
    SoPlotWerk::init();
    SoSeparator* root = bench::sphereScene(rings, sectors, smooth);
    {
        // The output object closes the stream it is given.
        std::FILE* sink = std::fopen("/dev/null", "w");
        SoVectorizePSAction action;
        action.getPSVectorOutput()->setFilePointer(sink);
        action.setHLHSRRasterQuality(quality);
        if (smooth) action.setShadeModel(SoVectorizeAction::SMOOTH);
        for (auto _ : state) {
            // An apply leaves the action without hidden-surface removal: set it every time.
            action.setHLHSRMode(SoVectorizeAction::HLHSR_RASTER);
            action.apply(root);
        }
        const SoHLHSRImageVectorizer::Timings& t = SoHLHSRImageVectorizer::getLastTimings();
        state.counters["triangles"] = 2.0 * rings * sectors - 2 * sectors;
        state.counters["render_s"] = t.render;
        state.counters["readback_s"] = t.readBack;
        state.counters["tracing_s"] = t.tracing;
        state.counters["printing_s"] = t.printing;
        state.counters["tiles"] = t.tiles;
        state.counters["visible"] = t.visible;
        state.counters["printed"] = t.printed;
        state.counters["peak_rss_kB"] = static_cast<double>(bench::peakRssKb());
    }
    root->unref();
    SoPlotWerk::finish();
}

}  // namespace

BENCHMARK_CAPTURE(printSphere, Sphere10kQuality050, 50, 100, 0.5f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(printSphere, Sphere100kQuality050, 158, 316, 0.5f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(printSphere, Sphere100kSmoothQuality050, 158, 316, 0.5f, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(printSphere, Sphere100kQuality099, 158, 316, 0.99f)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

BENCHMARK_MAIN();
