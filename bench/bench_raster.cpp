// Raster hidden-surface removal (--hidden raster) on lit spheres of about 10,000 and 100,000
// triangles, printed as PostScript on the default page (output discarded), at raster
// quality 0.5 (300 pixels per inch), for the larger sphere also smooth-shaded and at 0.99
// (600). Each iteration is one whole apply: traversal, raster run and printing. Counters
// split the raster run into drawing the tiles (render), reading them back, tracing and
// printing, in seconds, and count the tiles, the stored records that left a pixel (visible)
// and the records printed; peak RSS covers the whole process.

#include <benchmark/benchmark.h>

#include "../libPlotWerk/src/hlhsr/raster/SoHLHSRImageVectorizer.h"
#include "BenchGrid.h"
#include "BenchSphere.h"

namespace {

void printSphere(benchmark::State& state, int rings, int sectors, float quality,
                 bool smooth = false) {
    auto configure = [&](SoVectorizeAction& action) {
        action.setHLHSRRasterQuality(quality);
        if (smooth) action.setShadeModel(SoVectorizeAction::SMOOTH);
    };
    auto report = [](benchmark::State& s) {
        const SoHLHSRImageVectorizer::Timings& t = SoHLHSRImageVectorizer::getLastTimings();
        s.counters["render_s"] = t.render;
        s.counters["readback_s"] = t.readBack;
        s.counters["tracing_s"] = t.tracing;
        s.counters["printing_s"] = t.printing;
        s.counters["tiles"] = t.tiles;
        s.counters["visible"] = t.visible;
        s.counters["printed"] = t.printed;
    };
    bench::printSphereEach(state, rings, sectors, smooth, SoVectorizeAction::HLHSR_RASTER,
                           configure, report);
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
