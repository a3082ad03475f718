// The PostScript backend on the million-triangle lit mesh: traversal, lighting, clipping and
// the writing of every triangle as a document statement, into a temporary file that is
// emptied after every run (so it stays in the page cache and the disk does not set the pace). Reports triangles per second, the document size and how much the
// peak resident memory grew over the timed iterations.

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <benchmark/benchmark.h>

#include <cstdio>

#include <unistd.h>

#include "BenchGrid.h"

namespace {

void BM_PostScriptLitMesh(benchmark::State& state) {
    SoPlotWerk::init();
    SoSeparator* root = bench::litMeshScene();
    root->ref();
    {
        SoVectorizePSAction action;
        action.setDrawingDimensions(200.0f, 100.0f);
        action.enableLighting(1);
        action.getPSVectorOutput()->setLevel(static_cast<unsigned int>(state.range(0)));
        std::FILE* sink = std::tmpfile();
        action.getPSVectorOutput()->setFilePointer(sink);
        action.apply(root);  // warms the normal cache
        std::rewind(sink);
        if (ftruncate(fileno(sink), 0) != 0) state.SkipWithError("cannot empty the document");
        const long before = bench::peakRssKb();
        long bytes = 0;
        for (auto _ : state) {
            action.apply(root);
            std::fflush(sink);
            bytes += std::ftell(sink);
            std::rewind(sink);
            if (ftruncate(fileno(sink), 0) != 0) state.SkipWithError("cannot empty the document");
        }
        const long after = bench::peakRssKb();
        state.SetItemsProcessed(state.iterations() * bench::kTriangles);
        state.counters["document_MB"] =
            static_cast<double>(bytes) / 1.0e6 / static_cast<double>(state.iterations());
        state.counters["peak_rss_growth_kB"] = static_cast<double>(after - before);
    }
    root->unref();
    SoPlotWerk::finish();
}

}  // namespace

BENCHMARK(BM_PostScriptLitMesh)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
