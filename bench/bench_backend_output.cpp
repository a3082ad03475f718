// The backends on the million-triangle lit mesh: traversal, lighting, clipping and the
// writing of every triangle as a statement of the output format, into a temporary file that
// is emptied after every run (so it stays in the page cache and the disk does not set the
// pace). Reports triangles per second, the output size and how much the peak resident
// memory grew over the timed iterations.

#include <PlotWerk/SoCGMVectorOutput.h>
#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeCGMAction.h>
#include <PlotWerk/SoVectorizeHPGLAction.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>

#include "BenchGrid.h"

namespace {

bool empty(std::FILE* sink) {
    std::rewind(sink);
    return ftruncate(fileno(sink), 0) == 0;
}

/// Times whole documents of `action` (configured by the caller) on the lit mesh.
void timeDocuments(benchmark::State& state, SoVectorizeAction& action) {
    SoSeparator* root = bench::litMeshScene();
    root->ref();
    action.setDrawingDimensions(200.0f, 100.0f);
    action.enableLighting(1);
    std::FILE* sink = std::tmpfile();
    action.getVectorOutput()->setFilePointer(sink);
    action.apply(root);  // warms the normal cache
    if (!empty(sink)) state.SkipWithError("cannot empty the output");
    const long before = bench::peakRssKb();
    long bytes = 0;
    for (auto _ : state) {
        action.apply(root);
        std::fflush(sink);
        bytes += std::ftell(sink);
        if (!empty(sink)) state.SkipWithError("cannot empty the output");
    }
    const long after = bench::peakRssKb();
    state.SetItemsProcessed(state.iterations() * bench::kTriangles);
    state.counters["document_MB"] =
        static_cast<double>(bytes) / 1.0e6 / static_cast<double>(state.iterations());
    state.counters["peak_rss_growth_kB"] = static_cast<double>(after - before);
    root->unref();
}

void BM_PostScriptLitMesh(benchmark::State& state) {
    SoPlotWerk::init();
    {
        SoVectorizePSAction action;
        action.getPSVectorOutput()->setLevel(static_cast<unsigned int>(state.range(0)));
        timeDocuments(state, action);
    }
    SoPlotWerk::finish();
}

void BM_HPGLLitMesh(benchmark::State& state) {
    SoPlotWerk::init();
    {
        SoVectorizeHPGLAction action;
        timeDocuments(state, action);
    }
    SoPlotWerk::finish();
}

/// Argument 0: clear text; 1: binary.
void BM_CGMLitMesh(benchmark::State& state) {
    SoPlotWerk::init();
    {
        SoVectorizeCGMAction action;
        action.getCGMVectorOutput()->setBinary(static_cast<int>(state.range(0)));
        timeDocuments(state, action);
    }
    SoPlotWerk::finish();
}

}  // namespace

BENCHMARK(BM_PostScriptLitMesh)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_HPGLLitMesh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CGMLitMesh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
