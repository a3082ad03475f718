// Hidden-line drawings (--hidden lines, feature edges on as plotwerk prints them) of lit
// spheres of about 10,000 and 100,000 triangles, printed as PostScript on the default page
// (output discarded). Each iteration is one whole apply. Counters split the hidden-line
// computation into cutting (crossings and piercings), visibility and joining, in seconds,
// and count the pieces tested; peak RSS covers the whole process.

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <benchmark/benchmark.h>

#include <cstdio>

#include "../libPlotWerk/src/hlhsr/lines/SoHiddenLines.h"
#include "BenchGrid.h"
#include "BenchSphere.h"

namespace {

void drawSphere(benchmark::State& state, int rings, int sectors) {
    SoPlotWerk::init();
    SoSeparator* root = bench::sphereScene(rings, sectors, false);
    {
        // The output object closes the stream it is given.
        SoVectorizePSAction action;
        action.getPSVectorOutput()->setFilePointer(std::fopen("/dev/null", "w"));
        action.setHiddenLineFeatureEdges(1, 1.0f);
        for (auto _ : state) {
            // An apply leaves the action without hidden-line removal: set it every time.
            action.setHLHSRMode(SoVectorizeAction::HIDDEN_LINES_REMOVAL);
            action.apply(root);
        }
        const SoHiddenLines::Timings& t = SoHiddenLines::getLastTimings();
        state.counters["triangles"] = 2.0 * rings * sectors - 2 * sectors;
        state.counters["cutting_s"] = t.cutting;
        state.counters["visibility_s"] = t.visibility;
        state.counters["joining_s"] = t.joining;
        state.counters["pieces"] = static_cast<double>(t.pieces);
        state.counters["peak_rss_kB"] = static_cast<double>(bench::peakRssKb());
    }
    root->unref();
    SoPlotWerk::finish();
}

}  // namespace

BENCHMARK_CAPTURE(drawSphere, Sphere10k, 50, 100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(drawSphere, Sphere100k, 158, 316)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
