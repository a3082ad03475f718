// Each backend on the million-triangle lit mesh: traversal, lighting, clipping and the
// writing of every triangle as a statement of the output format, into a temporary file that
// is emptied after every run (so it stays in the page cache and the disk does not set the
// pace). Reports triangles per second, the output size and how much the peak resident
// memory grew over the timed iterations.

#include <PlotWerk/SoCGMVectorOutput.h>
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

/// Times whole documents of an Action on the lit mesh.
template <class Action>
void BM_LitMesh(benchmark::State& state) {
    SoPlotWerk::init();
    SoSeparator* root = bench::litMeshScene();
    root->ref();
    {
        Action action;
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
        state.SetItemsProcessed(state.iterations() * bench::kTriangles);
        state.counters["document_MB"] = bytes / 1.0e6 / static_cast<double>(state.iterations());
        state.counters["peak_rss_growth_kB"] = static_cast<double>(bench::peakRssKb() - before);
    }
    root->unref();
    SoPlotWerk::finish();
}

struct BinaryCGMAction : SoVectorizeCGMAction {
    BinaryCGMAction() { getCGMVectorOutput()->setBinary(1); }
};

void asDocuments(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

BENCHMARK_TEMPLATE(BM_LitMesh, SoVectorizePSAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitMesh, SoVectorizeHPGLAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitMesh, SoVectorizeCGMAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitMesh, BinaryCGMAction)->Apply(asDocuments);

BENCHMARK_MAIN();
