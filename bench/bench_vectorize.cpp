// The whole vectorizing path, traversal to print call, for the lit and smoothly shaded mesh
// of a million triangles under a perspective camera. The backend prints nothing, so what is
// measured is capture, lighting, clipping and projection. Besides items_per_second
// (triangles), the run reports how much the peak resident memory grew over its timed
// iterations: it must not grow with the triangles delivered.

#include <PlotWerk/SoPlotWerk.h>
#include <benchmark/benchmark.h>

#include "BenchGrid.h"

namespace {

void BM_LitSmoothMesh(benchmark::State& state) {
    SoPlotWerk::init();
    SoSeparator* root = bench::litMeshScene();
    root->ref();
    {
        bench::NullAction action;
        action.setDrawingDimensions(200.0f, 100.0f);
        action.enableLighting(1);
        action.setShadeModel(SoVectorizeAction::SMOOTH);
        action.apply(root);  // warms the normal cache and grows the capture buffers once
        if (action.polygons != bench::kTriangles) state.SkipWithError("triangles went missing");
        const long before = bench::peakRssKb();
        for (auto _ : state) {
            action.apply(root);
            benchmark::DoNotOptimize(action.points);
        }
        const long after = bench::peakRssKb();
        state.SetItemsProcessed(state.iterations() * bench::kTriangles);
        state.counters["peak_rss_kB"] = static_cast<double>(after);
        state.counters["peak_rss_growth_kB"] = static_cast<double>(after - before);
    }
    root->unref();
    SoPlotWerk::finish();
}

}  // namespace

BENCHMARK(BM_LitSmoothMesh)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

BENCHMARK_MAIN();
