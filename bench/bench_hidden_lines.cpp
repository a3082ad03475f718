// Hidden-line drawings (--hidden lines, feature edges on as plotwerk prints them) of lit
// spheres of about 10,000 and 100,000 triangles, printed as PostScript on the default page
// (output discarded). Each iteration is one whole apply. Counters split the hidden-line
// computation into cutting (crossings and piercings), visibility and joining, in seconds,
// and count the pieces tested; peak RSS covers the whole process.

#include <benchmark/benchmark.h>

#include "../libPlotWerk/src/hlhsr/lines/SoHiddenLines.h"
#include "BenchGrid.h"
#include "BenchSphere.h"

namespace {

void drawSphere(benchmark::State& state, int rings, int sectors) {
    auto configure = [](SoVectorizeAction& action) { action.setHiddenLineFeatureEdges(1, 1.0f); };
    auto report = [](benchmark::State& s) {
        const SoHiddenLines::Timings& t = SoHiddenLines::getLastTimings();
        s.counters["cutting_s"] = t.cutting;
        s.counters["visibility_s"] = t.visibility;
        s.counters["joining_s"] = t.joining;
        s.counters["pieces"] = static_cast<double>(t.pieces);
    };
    bench::printSphereEach(state, rings, sectors, false, SoVectorizeAction::HIDDEN_LINES_REMOVAL,
                           configure, report);
}

}  // namespace

BENCHMARK_CAPTURE(drawSphere, Sphere10k, 50, 100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(drawSphere, Sphere100k, 158, 316)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
